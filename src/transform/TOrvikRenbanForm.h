#pragma once

#include <QDialog>

#include "textaids/SerialNumbers.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kalvex {

class MessagePort;
class RadixButtons;

// Where the series goes and how: inserted before the caret line or appended to the editor,
// or written down a grid column.
enum class SerialTarget { Editor, Grid };
enum class SerialPlacement { Insert, Append };

// The serial number dialog with its live preview of the first and last item. Created once and
// reused, so its fields keep their values for the run. A start number that is not a number
// of the chosen radix generates nothing: the buttons say so and the dialog stays open.
class TOrvikRenbanForm : public QDialog {
    Q_OBJECT
public:
    explicit TOrvikRenbanForm(MessagePort& messages, QWidget* parent = nullptr);

    SerialInput input() const;
    SerialPlacement placement() const { return m_placement; }
    // While the dialog serves the grid, "挿入" is disabled and "追加" reads "上書き".
    void setTarget(SerialTarget target);

    RadixButtons* radixButtons;
    QLabel* Label5; // large radix display
    QLabel* Label1;
    QLineEdit* Edit1; // prefix
    QLabel* Label2;
    QLineEdit* Edit2; // start number
    QLabel* Label3;
    QLineEdit* Edit3; // suffix
    QLabel* Label6;
    QLineEdit* Edit5; // step
    QLabel* Label8;
    QLabel* Label4;
    QLineEdit* Edit4; // count
    QLabel* Label9;
    QLabel* Label7;
    QLabel* StaticText1;  // preview
    QPushButton* Button3; // insert
    QPushButton* Button1; // append, or overwrite for the grid
    QPushButton* Button2; // cancel

    void Edit1Change();
    void Button1Click(SerialPlacement placement);

private:
    void createEdits();
    void createButtons();
    void layOutControls();
    void connectControls();

    MessagePort& m_messages;
    SerialPlacement m_placement = SerialPlacement::Append;
};

} // namespace kalvex
