#include "attrgrid/SortGridRows.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "sorting/ExchangeSort.h"
#include "widgets/StringGrid.h"

namespace kalvex {

namespace {

struct Cell {
    QString text;
    int object = 0;
};

// The locale alone would also read "inf" and "nan" as numbers.
bool holdsOnlyNumberCharacters(const QString& text, const QLocale& locale) {
    const QString marks = locale.decimalPoint() + locale.negativeSign() + locale.positiveSign() +
                          locale.exponential() + QStringLiteral("eE");
    return std::all_of(text.begin(), text.end(), [&](QChar c) {
        return (c >= u'0' && c <= u'9') || c.isSpace() || marks.contains(c);
    });
}

QString rowKey(const StringGrid& grid, int row, int k1, int k2) {
    QString key;
    if (k1 >= 0)
        key += grid.cell(k1, row);
    if (k2 >= 0)
        key += grid.cell(k2, row);
    return key;
}

std::vector<std::size_t> rowOrder(const std::vector<QString>& keys, RowKey kind,
                                  const QLocale& locale) {
    if (kind == RowKey::Text) {
        std::vector<QStringView> views(keys.begin(), keys.end());
        return exchangeSortOrder(std::span<const QStringView>(views), SortOrder::Ascending);
    }
    std::vector<double> numbers;
    numbers.reserve(keys.size());
    for (const QString& key : keys)
        numbers.push_back(cellNumber(key, locale));
    return exchangeSortOrder(std::span<const double>(numbers), SortOrder::Ascending);
}

// Takes every data row out once and puts it back at its new position.
void moveRows(StringGrid& grid, const std::vector<std::size_t>& order) {
    const int first = grid.fixedRows();
    const int columns = grid.columnCount();
    std::vector<std::vector<Cell>> rows(order.size(), std::vector<Cell>(columns));
    for (std::size_t i = 0; i < order.size(); ++i)
        for (int col = 0; col < columns; ++col)
            rows[i][col] = {grid.cell(col, first + int(i)), grid.object(col, first + int(i))};
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] == i)
            continue;
        for (int col = 0; col < columns; ++col) {
            const Cell& cell = rows[order[i]][col];
            grid.setCell(col, first + int(i), cell.text);
            grid.setObject(col, first + int(i), cell.object);
        }
    }
}

} // namespace

const QLocale& startLocale() {
    static const QLocale locale = QLocale::system();
    return locale;
}

// Digit grouping is not part of a number here: "1,000" is no number. Neither is a value too
// large for a double.
double cellNumber(const QString& text, const QLocale& locale) {
    if (!holdsOnlyNumberCharacters(text, locale))
        return 0.0;
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text, &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

void SortGridRows(StringGrid& grid, int k1, int k2, RowKey kind, const QLocale& locale) {
    const int first = grid.fixedRows();
    if (grid.rowCount() - first < 2)
        return;
    std::vector<QString> keys;
    for (int row = first; row < grid.rowCount(); ++row)
        keys.push_back(rowKey(grid, row, k1, k2));
    moveRows(grid, rowOrder(keys, kind, locale));
}

} // namespace kalvex
