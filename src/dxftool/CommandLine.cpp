#include "dxftool/CommandLine.h"

#include <cstdint>
#include <map>
#include <string_view>

namespace kalvex::dxftool {

namespace {

// An option a command takes, and what its value is ("" for an option without one).
struct OptionSpec {
    std::string_view command;
    std::string_view name;
    std::string_view value;
};

constexpr OptionSpec kOptions[] = {
    {"export", "--bom", ""},
    {"attout", "--bom", ""},
    {"apply", "-o", "a file name"},
    {"attout", "--blocks", "a pattern"},
    {"attout", "--tags", "a list of tags"},
};

constexpr std::size_t kAny = SIZE_MAX;

struct Words {
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> options; // name → value
};

const OptionSpec* optionFor(std::string_view word, std::string_view command) {
    for (const OptionSpec& option : kOptions) {
        if (option.name == word && option.command == command)
            return &option;
    }
    return nullptr;
}

// Splits the words after the command into operands and options; "--" ends the options.
Words readWords(const std::vector<std::string>& arguments, const std::string& command) {
    Words words;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (optionsEnded || word.empty() || word[0] != '-' || word == "-") {
            words.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const OptionSpec* option = optionFor(word, command);
        if (!option)
            throw UsageError("unknown option " + word + " for " + command);
        if (words.options.contains(word))
            throw UsageError(word + " given twice");
        const bool needsValue = !option->value.empty();
        if (needsValue && (i + 1 == arguments.size() || arguments[i + 1].empty()))
            throw UsageError(word + " needs " + std::string(option->value));
        words.options[word] = needsValue ? arguments[++i] : "";
    }
    return words;
}

void expectOperands(const Words& words, std::size_t least, std::size_t most,
                    const std::string& command) {
    const std::size_t count = words.operands.size();
    if (count >= least && count <= most)
        return;
    const std::string wanted = most == least ? std::to_string(least)
                               : most == kAny
                                   ? "at least " + std::to_string(least)
                                   : std::to_string(least) + " or " + std::to_string(most);
    const bool plural = least != 1 || (most != least && most != kAny);
    throw UsageError(command + " takes " + wanted + " file name" + (plural ? "s" : "") + ", " +
                     std::to_string(count) + " given");
}

std::vector<std::string> splitTags(const std::string& list) {
    std::vector<std::string> tags;
    for (std::size_t start = 0;;) {
        const std::size_t comma = list.find(',', start);
        tags.push_back(list.substr(start, comma - start));
        if (tags.back().empty())
            throw UsageError("--tags holds an empty tag");
        if (comma == std::string::npos)
            return tags;
        start = comma + 1;
    }
}

std::string optionValue(const Words& words, const std::string& name, std::string fallback = {}) {
    const auto found = words.options.find(name);
    return found == words.options.end() ? fallback : found->second;
}

Command commandOf(CommandKind kind, const Words& words) {
    Command command;
    command.kind = kind;
    command.drawings = words.operands;
    command.bom = words.options.contains("--bom") ? ByteOrderMark::Write : ByteOrderMark::Omit;
    command.output = optionValue(words, "-o");
    command.blocks = optionValue(words, "--blocks", "*");
    if (words.options.contains("--tags"))
        command.tags = splitTags(optionValue(words, "--tags"));
    return command;
}

// Checks the number of operands and tells the table and the output from the drawings.
void placeOperands(Command& command, const Words& words, const std::string& name) {
    switch (command.kind) {
    case CommandKind::Apply:
        expectOperands(words, 1, 2, name);
        if (command.drawings.size() == 1 && !command.output.empty())
            throw UsageError("-o needs the drawing named: apply FILE TABLE -o OUT");
        command.table = command.drawings.back();
        command.drawings.pop_back();
        break;
    case CommandKind::Attin:
        expectOperands(words, 1, kAny, name);
        command.table = command.drawings.front();
        command.drawings.erase(command.drawings.begin());
        break;
    case CommandKind::Roundtrip:
        expectOperands(words, 2, 2, name);
        command.output = command.drawings.back();
        command.drawings.pop_back();
        break;
    default:
        expectOperands(words, 1, kAny, name);
    }
}

} // namespace

Command parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        throw UsageError("no command given");
    const std::string& name = arguments[0];
    if (name == "--help" || name == "-h" || name == "help")
        return Command{};
    const std::map<std::string, CommandKind> kinds = {{"export", CommandKind::Export},
                                                      {"apply", CommandKind::Apply},
                                                      {"attout", CommandKind::Attout},
                                                      {"attin", CommandKind::Attin},
                                                      {"roundtrip", CommandKind::Roundtrip}};
    const auto kind = kinds.find(name);
    if (kind == kinds.end())
        throw UsageError("unknown command " + name);
    const Words words = readWords(arguments, name);
    Command command = commandOf(kind->second, words);
    placeOperands(command, words, name);
    return command;
}

const char* usageText() {
    return "usage: kalvex-dxf export [--bom] FILE...\n"
           "       kalvex-dxf apply FILE TABLE [-o OUT]\n"
           "       kalvex-dxf apply TABLE\n"
           "       kalvex-dxf attout [--blocks PATTERN] [--tags TAG,...] [--bom] FILE...\n"
           "       kalvex-dxf attin TABLE [FILE...]\n"
           "       kalvex-dxf roundtrip IN OUT\n"
           "export writes the TEXTs and ATTRIBs of model space as a tab-separated table (with a\n"
           "first column \"file\" for several drawings); apply writes the texts of such a table\n"
           "back into the drawing, or into every drawing its file column names;\n"
           "attout writes one row per block reference with one column per attribute tag, attin\n"
           "writes such a table back. Nothing is written unless every row of every drawing is\n"
           "right; each drawing is saved in place (or to OUT) keeping the previous file as .bak.\n"
           "roundtrip loads IN and saves it as OUT.\n"
           "Exit status: 0 done, 1 wrong usage, 2 bad input.\n";
}

} // namespace kalvex::dxftool
