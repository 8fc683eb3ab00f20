#include "transform/RadixButtons.h"

#include <QButtonGroup>
#include <QPushButton>

#include "widgets/Controls.h"

namespace kalvex {

namespace {

QPushButton* makeRadixButton(QWidget* parent, const char* name, const QString& caption) {
    QPushButton* button = makeButton(parent, name, caption);
    button->setCheckable(true);
    return button;
}

} // namespace

RadixButtons::RadixButtons(QWidget* parent)
    : QObject(parent), SpeedButton1(makeRadixButton(parent, "SpeedButton1", "10 進")),
      SpeedButton2(makeRadixButton(parent, "SpeedButton2", "16 進")),
      SpeedButton3(makeRadixButton(parent, "SpeedButton3", "8 進")),
      m_group(new QButtonGroup(this)) {
    m_group->setExclusive(true);
    m_group->addButton(SpeedButton1, int(Radix::Decimal));
    m_group->addButton(SpeedButton2, int(Radix::Hexadecimal));
    m_group->addButton(SpeedButton3, int(Radix::Octal));
    SpeedButton1->setChecked(true);
    connect(m_group, &QButtonGroup::idClicked, this, &RadixButtons::clicked);
}

Radix RadixButtons::radix() const {
    return Radix(m_group->checkedId());
}

void RadixButtons::setRadix(Radix radix) {
    m_group->button(int(radix))->setChecked(true);
}

} // namespace kalvex
