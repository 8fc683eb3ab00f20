#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace kalvex::script {

// Finds a control by the name a script gives it: an object name anywhere in the program's
// windows ("SpeedButton1", "StatusBar1.0"), or FORM.NAME for a control of one form
// ("TOrvikKasanForm.Edit1"). Null when there is none.
QWidget* findControl(const QString& name);
// A popup menu item by its object name ("N14").
class QAction* findMenuItem(const QString& name);

// What the script commands do to a control, as a user would. Each throws std::runtime_error
// naming what does not fit (a check box that is not one, a line out of range ...).
void clickControl(QWidget* w);
void checkControl(QWidget* w, bool on);
void setControlText(QWidget* w, const QString& text);
void chooseItem(QWidget* w, int index);
void pressKeys(QWidget* w, const QString& keys);
void typeText(QWidget* w, const QString& text);
void placeCaret(QWidget* w, int line, int column);
void selectText(QWidget* w, int line1, int column1, int line2, int column2);
void setCurrentCell(QWidget* w, int col, int row);
void selectCells(QWidget* w, int left, int top, int right, int bottom);
void editCurrentCell(QWidget* w, const QString& text);

// What the expectations read.
QString controlText(QWidget* w);
bool controlChecked(QWidget* w);
QString cellText(QWidget* w, int col, int row);
QColor controlColor(QWidget* w);
QColor cellColor(QWidget* w, int col, int row);

} // namespace kalvex::script
