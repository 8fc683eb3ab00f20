#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvex::dxftool {

// The conversion `convert` applies, as its command line names it.
struct ConversionRequest {
    std::string name;                  // full-width, kana-full, replace, add, ...
    std::vector<std::string> operands; // FROM TO of replace, ADDEND of add
    bool ignoreCase = false;           // --ignore-case of replace
    std::string radix = "dec";         // --radix of add: dec, hex or oct
    std::string number = "last";       // --number of add: first or last digit run (decimal)
    std::string width = "2";           // --width of add: the hexadecimal or octal field, 1 to 8
};

// A conversion name and the popup menu item of the editor or the grid that converts a string the
// same way.
struct ConversionName {
    std::string_view name;
    std::string_view menuItem;
};

// Every conversion `convert` knows, in the order the usage lists them.
std::vector<ConversionName> conversionNames();

// How many operands the named conversion takes after its name; nothing for an unknown name.
std::optional<std::size_t> operandCount(std::string_view name);

// One string's conversion, on the drawing engine's UTF-8 strings; the text aids work on UTF-16.
class TextConversion {
public:
    // Throws UsageError for an unknown name, a wrong number of operands or a bad option value.
    explicit TextConversion(const ConversionRequest& request);

    // The converted string; the string itself when the conversion leaves it as it is.
    std::string operator()(const std::string& text) const;

private:
    std::function<std::optional<std::u16string>(std::u16string_view)> m_convert;
};

} // namespace kalvex::dxftool
