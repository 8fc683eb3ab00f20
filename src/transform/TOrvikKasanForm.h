#pragma once

#include <cstdint>

#include <QDialog>

#include "textaids/AddToNumber.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kalvex {

class RadixButtons;

// The addition dialog: radix, where the number is found and the addend. Created once and
// reused, so its settings keep their values for the run.
class TOrvikKasanForm : public QDialog {
    Q_OBJECT
public:
    explicit TOrvikKasanForm(QWidget* parent = nullptr);

    NumberRule rule() const;
    // The addend typed in decimal, blanks around it ignored; 0 when it is not a decimal integer.
    std::int32_t addend() const;

    RadixButtons* radixButtons;
    QLabel* Label5; // large radix display
    QLabel* Label2;
    QRadioButton* RadioButton1; // first digit run
    QRadioButton* RadioButton2; // last digit run
    QLabel* Label3;
    QSpinBox* UpDown1; // field width, typed in its edit Edit2
    QLineEdit* Edit2;
    QLabel* Label1;
    QLineEdit* Edit1; // addend
    QLabel* Label4;
    QPushButton* Button1; // run
    QPushButton* Button2; // cancel

    void SpeedButton1Click();

private:
    void createControls();
    void layOutControls();
};

} // namespace kalvex
