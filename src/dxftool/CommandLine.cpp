#include "dxftool/CommandLine.h"

#include <cstdint>
#include <map>
#include <string_view>

namespace kalvex::dxftool {

namespace {

// Whether an option takes a value: none, one (the next word, or after "=" in --name=value), or
// one that may be given after "=" and is otherwise left out.
enum class Value { None, Required, Optional };

// An option a command takes, and what its value is.
struct OptionSpec {
    std::string_view command;
    std::string_view name;
    std::string_view value;
    Value form = Value::Required;
};

constexpr OptionSpec kOptions[] = {
    {"export", "--bom", "", Value::None},
    {"attout", "--bom", "", Value::None},
    {"apply", "-o", "a file name"},
    {"apply", "--force", "", Value::None},
    {"attin", "--force", "", Value::None},
    {"attout", "--blocks", "a pattern"},
    {"attout", "--tags", "a list of tags"},
    {"convert", "--texts", "", Value::None},
    {"convert", "--attributes", "a list of tags", Value::Optional},
    {"convert", "--layers", "a pattern"},
    {"convert", "--blocks", "a pattern"},
    {"convert", "--match", "a search text"},
    {"convert", "--dry-run", "", Value::None},
    {"convert", "--ignore-case", "", Value::None},
    {"convert", "--radix", "dec, hex or oct"},
    {"convert", "--number", "first or last"},
    {"convert", "--width", "a number from 1 to 8"},
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

// A word that is an operand although it starts with "-": a negative number (an addend).
bool isNegativeNumber(const std::string& word) {
    return word.size() > 1 && word[0] == '-' && word[1] >= '0' && word[1] <= '9';
}

// Takes the value of the option `word` names: after "=" in the word, or the next argument.
std::string takeValue(const OptionSpec& option, const std::string& word, std::size_t equals,
                      const std::vector<std::string>& arguments, std::size_t& i) {
    if (equals != std::string::npos) {
        if (option.form == Value::None)
            throw UsageError(std::string(option.name) + " takes no value");
        return word.substr(equals + 1);
    }
    if (option.form != Value::Required)
        return "";
    if (i + 1 == arguments.size() || arguments[i + 1].empty())
        throw UsageError(word + " needs " + std::string(option.value));
    return arguments[++i];
}

// Splits the words after the command into operands and options; "--" ends the options.
Words readWords(const std::vector<std::string>& arguments, const std::string& command) {
    Words words;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (optionsEnded || word.empty() || word[0] != '-' || word == "-" ||
            isNegativeNumber(word)) {
            words.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = word.starts_with("--") ? word.find('=') : std::string::npos;
        const std::string name = word.substr(0, equals);
        const OptionSpec* option = optionFor(name, command);
        if (!option)
            throw UsageError("unknown option " + name + " for " + command);
        if (words.options.contains(name))
            throw UsageError(name + " given twice");
        words.options[name] = takeValue(*option, word, equals, arguments, i);
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

std::vector<std::string> splitTags(const std::string& list, const std::string& option) {
    std::vector<std::string> tags;
    for (std::size_t start = 0;;) {
        const std::size_t comma = list.find(',', start);
        tags.push_back(list.substr(start, comma - start));
        if (tags.back().empty())
            throw UsageError(option + " holds an empty tag");
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
    command.force = words.options.contains("--force");
    command.blocks = optionValue(words, "--blocks", "*");
    if (words.options.contains("--tags"))
        command.tags = splitTags(optionValue(words, "--tags"), "--tags");
    return command;
}

// The options of convert. --texts or --attributes alone narrows it to TEXT strings or to
// attribute values; both, or neither, take both.
void readConvertOptions(Command& command, const Words& words) {
    const bool texts = words.options.contains("--texts");
    const bool attributes = words.options.contains("--attributes");
    command.texts = texts || !attributes;
    command.attributes = attributes || !texts;
    if (const std::string tags = optionValue(words, "--attributes"); !tags.empty())
        command.tags = splitTags(tags, "--attributes");
    command.layers = optionValue(words, "--layers", "*");
    command.match = optionValue(words, "--match");
    command.dryRun = words.options.contains("--dry-run");
    ConversionRequest& conversion = command.conversion;
    conversion.ignoreCase = words.options.contains("--ignore-case");
    conversion.radix = optionValue(words, "--radix", conversion.radix);
    conversion.number = optionValue(words, "--number", conversion.number);
    conversion.width = optionValue(words, "--width", conversion.width);
}

// CONVERSION, its operands, then at least one drawing. The conversion is checked here, so that
// a wrong one is a usage error before any drawing is read.
void placeConversion(Command& command, const Words& words) {
    if (words.operands.empty())
        throw UsageError("convert needs a conversion");
    ConversionRequest& conversion = command.conversion;
    conversion.name = words.operands.front();
    const std::optional<std::size_t> count = operandCount(conversion.name);
    if (!count)
        throw UsageError("unknown conversion " + conversion.name);
    if (words.operands.size() < 2 + *count)
        throw UsageError("convert " + conversion.name + " takes " + std::to_string(*count) +
                         " operand" + (*count == 1 ? "" : "s") + " and at least 1 file name");
    const auto files = words.operands.begin() + std::ptrdiff_t(1 + *count);
    conversion.operands.assign(words.operands.begin() + 1, files);
    command.drawings.assign(files, words.operands.end());
    if (conversion.name != "replace" && conversion.ignoreCase)
        throw UsageError("--ignore-case is for replace only");
    TextConversion{conversion};
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
    case CommandKind::Convert:
        readConvertOptions(command, words);
        placeConversion(command, words);
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
    const std::map<std::string, CommandKind> kinds = {
        {"export", CommandKind::Export},       {"apply", CommandKind::Apply},
        {"attout", CommandKind::Attout},       {"attin", CommandKind::Attin},
        {"roundtrip", CommandKind::Roundtrip}, {"convert", CommandKind::Convert}};
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
           "       kalvex-dxf apply [--force] FILE TABLE [-o OUT]\n"
           "       kalvex-dxf apply [--force] TABLE\n"
           "       kalvex-dxf attout [--blocks PATTERN] [--tags TAG,...] [--bom] FILE...\n"
           "       kalvex-dxf attin [--force] TABLE [FILE...]\n"
           "       kalvex-dxf roundtrip IN OUT\n"
           "       kalvex-dxf convert CONVERSION [--texts] [--attributes[=TAG,...]]\n"
           "                  [--layers PATTERN] [--blocks PATTERN] [--match TEXT] [--dry-run] "
           "FILE...\n"
           "export writes the TEXTs and ATTRIBs of model space as a tab-separated table (with a\n"
           "first column \"file\" for several drawings); apply writes the texts of such a table\n"
           "back into the drawing, or into every drawing its file column names;\n"
           "attout writes one row per block reference with one column per attribute tag, attin\n"
           "writes such a table back. Nothing is written unless every row of every drawing is\n"
           "right; each drawing is saved in place (or to OUT) keeping the previous file as .bak.\n"
           "A row whose fingerprint shows that the drawing changed since the table was made is\n"
           "refused unless --force is given.\n"
           "roundtrip loads IN and saves it as OUT.\n"
           "convert converts the TEXT strings and attribute values of model space, all or none\n"
           "of the drawings; --dry-run prints the changes instead. CONVERSION is full-width,\n"
           "half-width, parens-full-width, full-width-but-spaces, kana-full, kana-half,\n"
           "digits-full, digits-half, numbers-full, numbers-half, alphabet-full,\n"
           "alphabet-half, symbols-full, symbols-half, replace FROM TO [--ignore-case] or\n"
           "add ADDEND [--radix=dec|hex|oct] [--number=first|last] [--width=1..8].\n"
           "Exit status: 0 done, 1 wrong usage, 2 bad input.\n";
}

} // namespace kalvex::dxftool
