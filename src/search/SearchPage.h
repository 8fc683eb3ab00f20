#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kalvex {

class StringGrid;

enum class InputCase { Normal, Upper };

// The third tab: a drawing-wide TEXT search whose hits are listed one per grid row. Its
// controls keep their design names; the operations of the tab work on them.
class SearchPage : public QWidget {
    Q_OBJECT
public:
    explicit SearchPage(QWidget* parent = nullptr);

    // Upper case turns what is typed into Edit3 into capitals as it is typed.
    void setSearchInputCase(InputCase inputCase);
    // The single column spans the grid's visible width.
    void fitGridColumn();

    QLabel* Label7;
    QLineEdit* Edit3; // search text
    QLabel* Label8;
    QPushButton* SpeedButton14; // search, or abort while a search runs
    QPushButton* SpeedButton15; // update
    QLabel* Label6;             // hit count and progress
    QCheckBox* CheckBox3;       // match at the start only
    QCheckBox* CheckBox4;       // upper-case input
    QCheckBox* CheckBox8;       // Enter moves down
    QCheckBox* CheckBox5;       // Enter updates
    StringGrid* StringGrid2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createGrid();
    void layOutControls();
};

} // namespace kalvex
