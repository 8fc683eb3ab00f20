#pragma once

#include <initializer_list>
#include <span>

#include <QFont>

#include <QString>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;

namespace kalvex {

enum class Initially { Enabled, Disabled };
enum class Check { Checked, Unchecked };

// Controls are created with the object name a script or a test addresses them by.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        Initially state = Initially::Enabled);
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption = {});
QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, Check check);
QLineEdit* makeEdit(QWidget* parent, const char* name);

// The window's font at the given height: Tahoma, with a Japanese font for what it lacks.
QFont formFont(int pixelSize);

// A row of controls with little spacing; a null entry stands for stretchable space.
QHBoxLayout* makeRow(std::initializer_list<QWidget*> widgets);

// One item of a popup menu; the caption "-" makes a separator.
struct MenuItemSpec {
    const char* name;
    const char* caption; // UTF-8
    Initially state = Initially::Enabled;
};

// Appends the items to the menu in order, each as an action named after the item.
void addMenuItems(QMenu& menu, std::span<const MenuItemSpec> items);

} // namespace kalvex
