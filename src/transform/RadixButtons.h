#pragma once

#include <QObject>

#include "textaids/AddToNumber.h"

class QButtonGroup;
class QPushButton;
class QWidget;

namespace kalvex {

// The three radix buttons of a dialog ("10 進", "16 進", "8 進" as SpeedButton1..3), one group
// with exactly one button down; "10 進" is down at first.
class RadixButtons : public QObject {
    Q_OBJECT
public:
    explicit RadixButtons(QWidget* parent);

    Radix radix() const;
    void setRadix(Radix radix);

    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton3;

signals:
    void clicked();

private:
    QButtonGroup* m_group;
};

} // namespace kalvex
