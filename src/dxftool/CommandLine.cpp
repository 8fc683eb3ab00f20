#include "dxftool/CommandLine.h"

namespace kalvex::dxftool {

namespace {

struct Words {
    std::vector<std::string> operands;
    bool bom = false;
    std::string output;
    bool hasOutput = false;
};

// Splits the words after the command into operands and options; "--" ends the options.
Words readWords(const std::vector<std::string>& arguments, const std::string& command) {
    Words words;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (optionsEnded || word.empty() || word[0] != '-' || word == "-") {
            words.operands.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (word == "--bom" && command == "export") {
            words.bom = true;
        } else if (word == "-o" && command == "apply") {
            if (words.hasOutput || i + 1 == arguments.size())
                throw UsageError(words.hasOutput ? "-o given twice" : "-o needs a file name");
            words.output = arguments[++i];
            words.hasOutput = true;
        } else {
            throw UsageError("unknown option " + word + " for " + command);
        }
    }
    return words;
}

void expectOperands(const Words& words, std::size_t count, const std::string& command) {
    if (words.operands.size() != count)
        throw UsageError(command + " takes " + std::to_string(count) + " file name" +
                         (count == 1 ? "" : "s") + ", " + std::to_string(words.operands.size()) +
                         " given");
}

} // namespace

Command parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        throw UsageError("no command given");
    const std::string& name = arguments[0];
    if (name == "--help" || name == "-h" || name == "help")
        return Command{};
    if (name != "export" && name != "apply" && name != "roundtrip")
        throw UsageError("unknown command " + name);
    const Words words = readWords(arguments, name);
    Command command;
    if (name == "export") {
        expectOperands(words, 1, name);
        command = {CommandKind::Export,
                   words.operands[0],
                   {},
                   {},
                   words.bom ? ByteOrderMark::Write : ByteOrderMark::Omit};
    } else if (name == "apply") {
        expectOperands(words, 2, name);
        command = {CommandKind::Apply, words.operands[0], words.operands[1], words.output,
                   ByteOrderMark::Omit};
        if (words.hasOutput && words.output.empty())
            throw UsageError("-o needs a file name");
    } else {
        expectOperands(words, 2, name);
        command = {
            CommandKind::Roundtrip, words.operands[0], {}, words.operands[1], ByteOrderMark::Omit};
    }
    return command;
}

const char* usageText() {
    return "usage: kalvex-dxf export [--bom] FILE\n"
           "       kalvex-dxf apply FILE TABLE [-o OUT]\n"
           "       kalvex-dxf roundtrip IN OUT\n"
           "export writes the TEXTs and ATTRIBs of model space as a tab-separated table;\n"
           "apply writes the texts of such a table back into the drawing and saves it\n"
           "(to OUT, or in place keeping the previous file as FILE.bak);\n"
           "roundtrip loads IN and saves it as OUT.\n"
           "Exit status: 0 done, 1 wrong usage, 2 bad input.\n";
}

} // namespace kalvex::dxftool
