#pragma once

#include <string_view>

#include "textaids/ConversionTables.h"

namespace kalvex {

// One item of the editor's conversion submenu: its item name and what it converts.
struct TableConversion {
    const char* item;
    ConversionTable table;
    Direction direction;
};

// The item of the given name, or null when it is none of the ten.
const TableConversion* findTableConversion(std::string_view item);

} // namespace kalvex
