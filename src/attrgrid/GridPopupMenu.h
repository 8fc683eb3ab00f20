#pragma once

#include <QMenu>

namespace kalvex {

// The attribute grid's popup menu with its items in their order, each action named after its
// item (N32, N33 …). The separator N39 is disabled.
class GridPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit GridPopupMenu(QWidget* parent = nullptr);
};

} // namespace kalvex
