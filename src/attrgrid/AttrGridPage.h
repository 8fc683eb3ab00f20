#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace kalvex {

class GridPopupMenu;
class StringGrid;

// The second tab: one grid row per picked block reference, one column per tag of the chosen
// tag set. Its controls keep their design names; the operations of the tab work on them.
class AttrGridPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kInitialGridSize = 5;

    explicit AttrGridPage(QWidget* parent = nullptr);

    QPushButton* SpeedButton10; // fetch
    QPushButton* SpeedButton12; // abort
    QPushButton* SpeedButton11; // update
    QPushButton* SpeedButton13; // "UNDO"
    QLabel* Label5;             // progress
    QComboBox* ComboBox2;       // tag set list
    QCheckBox* CheckBox2;       // Enter moves down
    QCheckBox* CheckBox7;       // Enter updates
    QCheckBox* CheckBox6;       // view follows the current cell
    QLabel* Label9;
    QPushButton* SpeedButton16; // sort as text
    QPushButton* SpeedButton17; // sort as numbers
    QPushButton* SpeedButton18; // acquisition order
    StringGrid* StringGrid1;
    QProgressBar* ProgressBar1;
    GridPopupMenu* PopupMenu2;

private:
    void createControls();
    void createGrid();
    void layOutControls();
};

} // namespace kalvex
