#include "dxftool/TextConversion.h"

#include <charconv>

#include <QString>

#include "dxftool/CommandLine.h"
#include "textaids/AddToNumber.h"
#include "textaids/MenuConversions.h"
#include "textaids/ReplaceText.h"
#include "textaids/TableConversions.h"
#include "textaids/WidthMapping.h"

namespace kalvex::dxftool {

namespace {

enum class Kind { WholeString, Table, Replace, Add };

// A conversion of the command line and the menu item whose command it repeats: a whole-string
// conversion, one of the table conversions of the "convert all" submenu (looked up by its item),
// replace all or add to all.
struct NamedConversion {
    std::string_view name;
    std::string_view menuItem;
    Kind kind;
    std::u16string (*whole)(std::u16string_view) = nullptr;
};

constexpr NamedConversion kConversions[] = {
    {"full-width", "N1", Kind::WholeString, ToFullWidth},
    {"half-width", "N4", Kind::WholeString, ToHalfWidth},
    {"parens-full-width", "N28", Kind::WholeString, ParensToFullWidth},
    {"kana-full", "N23", Kind::Table},
    {"kana-half", "N24", Kind::Table},
    {"digits-full", "N091", Kind::Table},
    {"digits-half", "N092", Kind::Table},
    {"numbers-full", "N094", Kind::Table},
    {"numbers-half", "N093", Kind::Table},
    {"alphabet-full", "AZ1", Kind::Table},
    {"alphabet-half", "AZ2", Kind::Table},
    {"symbols-full", "N27", Kind::Table},
    {"symbols-half", "N26", Kind::Table},
    {"full-width-but-spaces", "N32", Kind::WholeString, ToFullWidthButSpaces},
    {"replace", "N7", Kind::Replace},
    {"add", "N14", Kind::Add},
};

const NamedConversion* findConversion(std::string_view name) {
    for (const NamedConversion& conversion : kConversions) {
        if (conversion.name == name)
            return &conversion;
    }
    return nullptr;
}

std::u16string utf16(std::string_view utf8) {
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

std::string utf8(std::u16string_view text) {
    return QStringView(text.data(), qsizetype(text.size())).toUtf8().toStdString();
}

std::optional<int> integerOf(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

template <class T>
T choose(std::string_view option, std::string_view value,
         std::initializer_list<std::pair<std::string_view, T>> choices) {
    std::string names;
    for (const auto& [name, choice] : choices) {
        if (name == value)
            return choice;
        names += (names.empty() ? "" : ", ") + std::string(name);
    }
    throw UsageError(std::string(option) + " takes " + names + ", not " + std::string(value));
}

NumberRule numberRule(const ConversionRequest& request) {
    NumberRule rule;
    rule.radix = choose<Radix>(
        "--radix", request.radix,
        {{"dec", Radix::Decimal}, {"hex", Radix::Hexadecimal}, {"oct", Radix::Octal}});
    rule.run = choose<RunEnd>("--number", request.number,
                              {{"first", RunEnd::First}, {"last", RunEnd::Last}});
    if (rule.run == RunEnd::First && rule.radix != Radix::Decimal)
        throw UsageError("--number=first is for decimal numbers only");
    const std::optional<int> width = integerOf(request.width);
    if (!width || *width < 1 || *width > 8)
        throw UsageError("--width takes a number from 1 to 8, not " + request.width);
    rule.width = *width;
    return rule;
}

// Add to every number: an addend of 0 leaves every string as it is (not even trimmed), as the
// dialog does.
auto addition(const ConversionRequest& request) {
    const NumberRule rule = numberRule(request);
    const std::optional<int> addend = integerOf(request.operands[0]);
    if (!addend)
        throw UsageError("add takes a decimal integer, not " + request.operands[0]);
    return [rule, addend = std::int32_t(*addend)](std::u16string_view text) {
        return addend == 0 ? std::nullopt : AddToNumber(text, rule, addend);
    };
}

auto replacement(const ConversionRequest& request) {
    if (request.operands[0].empty())
        throw UsageError("replace needs a non-empty text to replace");
    const CaseMatch match = request.ignoreCase ? CaseMatch::IgnoreCase : CaseMatch::Exact;
    return [from = utf16(request.operands[0]), to = utf16(request.operands[1]),
            match](std::u16string_view text) {
        return std::optional(ReplaceText(text, from, to, match));
    };
}

} // namespace

std::vector<ConversionName> conversionNames() {
    std::vector<ConversionName> names;
    for (const NamedConversion& conversion : kConversions)
        names.push_back({conversion.name, conversion.menuItem});
    return names;
}

std::optional<std::size_t> operandCount(std::string_view name) {
    const NamedConversion* conversion = findConversion(name);
    if (!conversion)
        return std::nullopt;
    return conversion->kind == Kind::Replace ? 2 : conversion->kind == Kind::Add ? 1 : 0;
}

TextConversion::TextConversion(const ConversionRequest& request) {
    const NamedConversion* conversion = findConversion(request.name);
    if (!conversion)
        throw UsageError("unknown conversion " + request.name);
    if (request.operands.size() != operandCount(request.name))
        throw UsageError(request.name + " takes " + std::to_string(*operandCount(request.name)) +
                         " operands");
    switch (conversion->kind) {
    case Kind::WholeString:
        m_convert = [whole = conversion->whole](std::u16string_view text) {
            return std::optional(whole(text));
        };
        break;
    case Kind::Table: {
        const TableConversion& table = *findTableConversion(conversion->menuItem);
        m_convert = [&table](std::u16string_view text) {
            return std::optional(
                ReplaceByTable(std::u16string(text), table.table, table.direction));
        };
        break;
    }
    case Kind::Replace:
        m_convert = replacement(request);
        break;
    case Kind::Add:
        m_convert = addition(request);
        break;
    }
}

std::string TextConversion::operator()(const std::string& text) const {
    const std::optional<std::u16string> converted = m_convert(utf16(text));
    return converted ? utf8(*converted) : text;
}

} // namespace kalvex::dxftool
