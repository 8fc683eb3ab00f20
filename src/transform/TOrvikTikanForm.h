#pragma once

#include <QDialog>

#include "textaids/ReplaceText.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kalvex {

// The replace dialog: the search string, the replacement and whether to ignore letter case.
// Created once and reused, so its fields keep their values for the run.
class TOrvikTikanForm : public QDialog {
    Q_OBJECT
public:
    explicit TOrvikTikanForm(QWidget* parent = nullptr);

    CaseMatch caseMatch() const;

    QCheckBox* CheckBox1; // ignore letter case
    QLabel* Label1;
    QLineEdit* Edit1; // search string
    QLabel* Label2;
    QLineEdit* Edit2;     // replacement
    QPushButton* Button1; // run
    QPushButton* Button2; // cancel

private:
    void layOutControls();
};

} // namespace kalvex
