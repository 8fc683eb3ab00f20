#include "widgets/ColumnSizer.h"

#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>

#include "widgets/StringGrid.h"

namespace kalvex {

ColumnSizer::ColumnSizer(StringGrid& grid) : QObject(&grid), m_grid(grid) {
    m_grid.viewport()->setMouseTracking(true);
    m_grid.viewport()->installEventFilter(this);
}

bool ColumnSizer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_grid.viewport())
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return mouse->button() == Qt::LeftButton && press(mouse->position().toPoint());
    case QEvent::MouseMove:
        return move(mouse->position().toPoint());
    case QEvent::MouseButtonRelease:
        if (m_column < 0)
            return false;
        m_column = -1;
        return true;
    default:
        return false;
    }
}

// The column whose right-hand line lies under the position, within a fixed row; -1 if none.
int ColumnSizer::columnLineAt(const QPoint& position) const {
    const int row = m_grid.rowAt(position.y());
    if (row < 0 || row >= m_grid.fixedRows())
        return -1;
    for (int column = 0; column < m_grid.columnCount(); ++column) {
        const int line = m_grid.columnViewportPosition(column) + m_grid.columnWidth(column);
        if (std::abs(position.x() - line) <= kGrabDistance)
            return column;
    }
    return -1;
}

bool ColumnSizer::press(const QPoint& position) {
    m_column = columnLineAt(position);
    if (m_column < 0)
        return false;
    m_startX = position.x();
    m_startWidth = m_grid.columnWidth(m_column);
    return true;
}

bool ColumnSizer::move(const QPoint& position) {
    if (m_column < 0) {
        const bool onLine = columnLineAt(position) >= 0;
        m_grid.viewport()->setCursor(onLine ? Qt::SplitHCursor : Qt::ArrowCursor);
        return false;
    }
    const int width = m_startWidth + position.x() - m_startX;
    m_grid.setColumnWidth(m_column, std::max(kMinimumWidth, width));
    return true;
}

} // namespace kalvex
