#include "script/ScriptParser.h"

#include <sstream>

namespace kalvex::script {

namespace {

char unescape(char c, int lineNumber) {
    switch (c) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case '\\':
        return '\\';
    case '"':
        return '"';
    default:
        throw ScriptError(lineNumber, std::string("unknown escape \\") + c);
    }
}

// Reads a quoted string starting at line[pos] == '"'; leaves pos after the closing quote.
std::string readQuoted(const std::string& line, std::size_t& pos, int lineNumber) {
    std::string value;
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return value;
        }
        if (c == '\\') {
            if (++pos == line.size())
                break;
            value += unescape(line[pos], lineNumber);
        } else {
            value += c;
        }
    }
    throw ScriptError(lineNumber, "unterminated string");
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

} // namespace

std::vector<std::string> splitWords(const std::string& line, int lineNumber) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (isBlank(line[pos])) {
            ++pos;
        } else if (line[pos] == '#') {
            break;
        } else if (line[pos] == '"') {
            words.push_back(readQuoted(line, pos, lineNumber));
            if (pos < line.size() && !isBlank(line[pos]))
                throw ScriptError(lineNumber, "a string must be followed by a blank");
        } else {
            // A bare word may end in a string: NAME="a value" is one word.
            std::string word;
            while (pos < line.size() && !isBlank(line[pos])) {
                if (line[pos] == '"')
                    word += readQuoted(line, pos, lineNumber);
                else
                    word += line[pos++];
            }
            words.push_back(word);
        }
    }
    return words;
}

std::vector<ScriptCommand> parseScript(const std::string& text) {
    std::vector<ScriptCommand> commands;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::vector<std::string> words = splitWords(line, number);
        if (words.empty())
            continue;
        ScriptCommand command{number, words.front(), {words.begin() + 1, words.end()}};
        commands.push_back(std::move(command));
    }
    return commands;
}

} // namespace kalvex::script
