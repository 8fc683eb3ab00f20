#pragma once

#include <QObject>

namespace kalvex {

class StringGrid;

// Lets the user resize a grid's columns by dragging a column line within the fixed rows,
// as a string grid does. It watches the grid's viewport and takes only the mouse events of
// such a drag; all others pass on to the grid.
class ColumnSizer : public QObject {
public:
    static constexpr int kGrabDistance = 3;
    static constexpr int kMinimumWidth = 8;

    explicit ColumnSizer(StringGrid& grid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int columnLineAt(const QPoint& position) const;
    bool press(const QPoint& position);
    bool move(const QPoint& position);

    StringGrid& m_grid;
    int m_column = -1; // the column being resized, -1 when no drag runs
    int m_startX = 0;
    int m_startWidth = 0;
};

} // namespace kalvex
