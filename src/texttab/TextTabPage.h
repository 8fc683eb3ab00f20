#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kalvex {

class EditorPopupMenu;
class LineEditor;

// The first tab: TEXT strings or attribute values of picked entities, one per editor line.
// Its controls keep their design names; the operations of the tab work on them.
class TextTabPage : public QWidget {
    Q_OBJECT
public:
    explicit TextTabPage(QWidget* parent = nullptr);

    QPushButton* SpeedButton1; // "TEXT"
    QPushButton* SpeedButton2; // update
    QPushButton* SpeedButton6; // align
    QLabel* Label3;
    QLineEdit* Edit1; // dX
    QLabel* Label4;
    QLineEdit* Edit2;          // dY
    QPushButton* SpeedButton8; // "ATTR"
    QComboBox* ComboBox1;      // attribute tag to fetch
    QLabel* Label1;            // fetched-data count
    QLabel* Label2;            // progress and result text
    QCheckBox* CheckBox1;      // fetch in coordinate order
    QPushButton* SpeedButton3; // select all
    QPushButton* SpeedButton5; // abort
    QPushButton* SpeedButton4; // "Undo"
    QCheckBox* CheckBox9;      // view follows the editor line
    LineEditor* SynEdit1;
    EditorPopupMenu* PopupMenu1;

private:
    void createControls();
    void layOutControls();
    QWidget* createToolArea();
};

} // namespace kalvex
