#pragma once

#include <QLocale>
#include <QString>

namespace kalvex {

class StringGrid;

enum class RowKey { Text, Number };

// The system's number format as found when the program started.
const QLocale& startLocale();

// A cell read as a number: a decimal number in the locale's format (digits, sign, decimal
// separator, exponent); anything else, an empty cell, "inf" or "nan" included, counts as 0.
double cellNumber(const QString& text, const QLocale& locale);

// Orders the data rows of the grid by the text of column k1 followed by that of column k2 (a
// negative column stands for none), as the exchange sort orders them. Every cell moves with
// its row, text and object slot, the fixed column included; the fixed row stays on top and
// the current cell and selection stay where they are.
void SortGridRows(StringGrid& grid, int k1, int k2, RowKey kind,
                  const QLocale& locale = startLocale());

} // namespace kalvex
