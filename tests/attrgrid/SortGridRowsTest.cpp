#include <gtest/gtest.h>

#include <random>

#include "attrgrid/SortGridRows.h"
#include "widgets/StringGrid.h"

namespace kalvex {
namespace {

// A grid with column 0 numbering the rows 1..N, column 1 holding the values and object slots
// 100 + the acquisition number.
void fill(StringGrid& grid, const QStringList& values) {
    grid.setColumnCount(2);
    grid.setRowCount(int(values.size()) + 1);
    grid.setFixed(1, 1);
    for (int i = 0; i < values.size(); ++i) {
        grid.setCell(0, i + 1, QString::number(i + 1));
        grid.setCell(1, i + 1, values[i]);
        grid.setObject(1, i + 1, 101 + i);
    }
}

QStringList column(const StringGrid& grid, int col) {
    QStringList texts;
    for (int row = 1; row < grid.rowCount(); ++row)
        texts << grid.cell(col, row);
    return texts;
}

TEST(SortGridRowsTest, TextAndNumberOrders) {
    const QLocale c(QLocale::C);
    struct Case {
        QStringList values;
        RowKey kind;
        QStringList expected;
    };
    const Case cases[] = {
        {{"9", "10", "a", "A"}, RowKey::Text, {"10", "9", "A", "a"}},
        {{"10", "9"}, RowKey::Number, {"9", "10"}},
        {{"0.5", "１２", "12A", "", "-1"}, RowKey::Number, {"-1", "12A", "", "１２", "0.5"}},
        {{"1e3", "2", "1,000"}, RowKey::Number, {"1,000", "2", "1e3"}},
        // Only digits, a sign, the decimal separator and an exponent make a number.
        {{"2", "inf", "1", "-inf", "infinity", "0.5", "1e999", "NaN", "-2.5E-1"},
         RowKey::Number,
         {"-2.5E-1", "-inf", "infinity", "1e999", "NaN", "inf", "0.5", "1", "2"}},
        {{"only"}, RowKey::Text, {"only"}},
    };
    for (const Case& t : cases) {
        StringGrid grid;
        fill(grid, t.values);
        SortGridRows(grid, 1, -1, t.kind, c);
        EXPECT_EQ(column(grid, 1), t.expected) << t.values.join('|').toStdString();
    }
}

TEST(SortGridRowsTest, NumbersUseTheLocaleDecimalSeparator) {
    StringGrid grid;
    fill(grid, {"1,5", "1,25", "1.0"});
    SortGridRows(grid, 1, -1, RowKey::Number, QLocale(QLocale::German));
    EXPECT_EQ(column(grid, 1), (QStringList{"1.0", "1,25", "1,5"}));
}

TEST(SortGridRowsTest, CellsMoveWithTheirObjectsAndAcquisitionOrderComesBack) {
    StringGrid grid;
    std::mt19937 random(7);
    QStringList values;
    for (int i = 0; i < 40; ++i)
        values << QString::number(random() % 10);
    fill(grid, values);
    grid.setCurrentCell(3, 1);
    SortGridRows(grid, 1, -1, RowKey::Text, QLocale::c());
    for (int row = 1; row < grid.rowCount(); ++row) {
        const int acquired = grid.cell(0, row).toInt();
        EXPECT_EQ(grid.object(1, row), 100 + acquired);
        EXPECT_EQ(grid.cell(1, row), values[acquired - 1]);
        if (row > 1) {
            EXPECT_LE(grid.cell(1, row - 1), grid.cell(1, row));
        }
    }
    SortGridRows(grid, 1, 0, RowKey::Number, QLocale::c());
    SortGridRows(grid, 0, -1, RowKey::Number, QLocale::c());
    EXPECT_EQ(column(grid, 1), values);
    EXPECT_EQ(grid.currentRow(), 3);
}

TEST(SortGridRowsTest, TwoKeyColumnsAreJoined) {
    StringGrid grid;
    fill(grid, {"b", "a", "a"});
    grid.setCell(0, 2, "9");
    grid.setCell(0, 3, "1");
    SortGridRows(grid, 1, 0, RowKey::Text, QLocale::c());
    EXPECT_EQ(column(grid, 0), (QStringList{"1", "9", "1"}));
}

} // namespace
} // namespace kalvex
