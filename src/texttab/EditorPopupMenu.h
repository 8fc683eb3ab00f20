#pragma once

#include <QMenu>

namespace kalvex {

// The editor's popup menu with its items in their order, each action named after its item
// (N20, N10 …; the conversion submenu is N21).
class EditorPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit EditorPopupMenu(QWidget* parent = nullptr);
};

} // namespace kalvex
