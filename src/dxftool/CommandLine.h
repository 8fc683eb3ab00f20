#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "dxftool/TextConversion.h"
#include "dxftool/TextTable.h"

namespace kalvex::dxftool {

enum class CommandKind { Help, Export, Apply, Attout, Attin, Roundtrip, Convert };

// What the command line asks for.
struct Command {
    CommandKind kind = CommandKind::Help;
    std::vector<std::string>
        drawings;       // FILE... of export, attout, attin, convert; FILE of apply, IN
    std::string table;  // TABLE of apply and attin
    std::string output; // OUT of roundtrip, -o OUT of apply (empty: in place)
    ByteOrderMark bom = ByteOrderMark::Omit;
    std::string blocks = "*";      // --blocks of attout and convert
    std::vector<std::string> tags; // --tags of attout, --attributes=TAG,... of convert (empty: all)
    ConversionRequest conversion;  // CONVERSION of convert, its operands and options
    bool texts = true;             // convert: TEXT strings (narrowed away by --attributes alone)
    bool attributes = true;        // convert: attribute values (narrowed away by --texts alone)
    std::string layers = "*";      // --layers of convert
    std::string match;             // --match of convert: the search text (empty: every string)
    bool dryRun = false;           // --dry-run of convert
    bool force = false;            // --force of apply and attin: write over stale rows
};

// A command line that does not say what to do; the message says what is wrong.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// Reads the arguments that follow the program name. Throws UsageError.
Command parseCommandLine(const std::vector<std::string>& arguments);

// The usage summary printed for --help and after a usage error.
const char* usageText();

} // namespace kalvex::dxftool
