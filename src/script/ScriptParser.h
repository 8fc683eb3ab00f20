#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace kalvex::script {

// One line of a script: the command word and its arguments, quotes and escapes resolved.
struct ScriptCommand {
    int line = 0;
    std::string name;
    std::vector<std::string> args;
};

// A script that cannot be run: unknown command or control, bad syntax. Carries the line.
class ScriptError : public std::runtime_error {
public:
    ScriptError(int line, const std::string& message) : std::runtime_error(message), m_line(line) {}
    int line() const { return m_line; }

private:
    int m_line;
};

// Splits a script into commands. `#` outside a string starts a comment; strings are in double
// quotes with \n, \r, \t, \\ and \" escapes; blank lines are skipped. Throws ScriptError.
std::vector<ScriptCommand> parseScript(const std::string& text);

// The words of one line, as parseScript splits them.
std::vector<std::string> splitWords(const std::string& line, int lineNumber);

} // namespace kalvex::script
