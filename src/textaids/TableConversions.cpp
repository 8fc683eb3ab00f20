#include "textaids/TableConversions.h"

#include <array>

namespace kalvex {

namespace {

const std::array<TableConversion, 10> kTableConversions = {{
    {"N23", KanaTable, Direction::HalfToFull},
    {"N24", KanaTable, Direction::FullToHalf},
    {"N091", DigitTable, Direction::HalfToFull},
    {"N092", DigitTable, Direction::FullToHalf},
    {"N094", NumberTable, Direction::HalfToFull},
    {"N093", NumberTable, Direction::FullToHalf},
    {"AZ1", AlphabetTable, Direction::HalfToFull},
    {"AZ2", AlphabetTable, Direction::FullToHalf},
    {"N27", SymbolTable, Direction::HalfToFull},
    {"N26", SymbolTable, Direction::FullToHalf},
}};

} // namespace

const TableConversion* findTableConversion(std::string_view item) {
    for (const TableConversion& conversion : kTableConversions) {
        if (item == conversion.item)
            return &conversion;
    }
    return nullptr;
}

} // namespace kalvex
