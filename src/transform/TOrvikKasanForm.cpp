#include "transform/TOrvikKasanForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "textaids/SerialNumbers.h"
#include "transform/QtText.h"
#include "transform/RadixButtons.h"
#include "widgets/Controls.h"

namespace kalvex {

namespace {

constexpr int kMaxFieldWidth = 8;

QLabel* makeRadixDisplay(QWidget* parent, const QString& caption) {
    QLabel* label = makeLabel(parent, "Label5", caption);
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(24);
    label->setFont(font);
    return label;
}

QRadioButton* makeRadio(QWidget* parent, const char* name, const QString& caption) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromLatin1(name));
    return radio;
}

} // namespace

TOrvikKasanForm::TOrvikKasanForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TOrvikKasanForm"));
    setWindowTitle(QStringLiteral("加算"));
    createControls();
    layOutControls();
    connect(radixButtons, &RadixButtons::clicked, this, &TOrvikKasanForm::SpeedButton1Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TOrvikKasanForm::createControls() {
    radixButtons = new RadixButtons(this);
    Label5 = makeRadixDisplay(this, QStringLiteral("10 進"));
    Label2 = makeLabel(this, "Label2", QStringLiteral("数値検出"));
    RadioButton1 = makeRadio(this, "RadioButton1", QStringLiteral("先頭から"));
    RadioButton2 = makeRadio(this, "RadioButton2", QStringLiteral("末尾から"));
    RadioButton2->setChecked(true);
    Label3 = makeLabel(this, "Label3", QStringLiteral("対象桁数"));
    UpDown1 = new QSpinBox(this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(1, kMaxFieldWidth);
    UpDown1->setValue(2);
    Edit2 = UpDown1->findChild<QLineEdit*>();
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Label3->setEnabled(false);
    UpDown1->setEnabled(false);
    Label1 = makeLabel(this, "Label1", QStringLiteral("加算数"));
    Edit1 = makeEdit(this, "Edit1");
    Edit1->setText(QStringLiteral("1"));
    Label4 = makeLabel(this, "Label4", QStringLiteral("(10進表記)"));
    Button1 = makeButton(this, "Button1", QStringLiteral("実行"));
    Button1->setDefault(true);
    Button2 = makeButton(this, "Button2", QStringLiteral("取り消し"));
}

void TOrvikKasanForm::layOutControls() {
    auto* fields = new QGridLayout;
    fields->addWidget(Label2, 0, 0);
    fields->addWidget(RadioButton1, 0, 1);
    fields->addWidget(RadioButton2, 0, 2);
    fields->addWidget(Label3, 1, 0);
    fields->addWidget(UpDown1, 1, 1);
    fields->addWidget(Label1, 2, 0);
    fields->addWidget(Edit1, 2, 1);
    fields->addWidget(Label4, 2, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeRow({radixButtons->SpeedButton1, radixButtons->SpeedButton2,
                               radixButtons->SpeedButton3, nullptr, Label5}));
    layout->addLayout(fields);
    layout->addLayout(makeRow({nullptr, Button1, Button2}));
}

// The direction only means something for decimal digit runs and the field width only for
// hexadecimal and octal fields.
void TOrvikKasanForm::SpeedButton1Click() {
    const Radix radix = radixButtons->radix();
    const bool decimal = radix == Radix::Decimal;
    RadioButton2->setChecked(true);
    RadioButton1->setEnabled(decimal);
    RadioButton2->setEnabled(decimal);
    Label3->setEnabled(!decimal);
    UpDown1->setEnabled(!decimal);
    Label5->setText(toQString(radixDisplay(radix)));
}

NumberRule TOrvikKasanForm::rule() const {
    const RunEnd run = RadioButton1->isChecked() ? RunEnd::First : RunEnd::Last;
    return {radixButtons->radix(), run, UpDown1->value()};
}

std::int32_t TOrvikKasanForm::addend() const {
    return parseDecimal(viewOf(Edit1->text().trimmed())).value_or(0);
}

} // namespace kalvex
