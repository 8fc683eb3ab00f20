#include "transform/TOrvikRenbanForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "platform/MessagePort.h"
#include "transform/QtText.h"
#include "transform/RadixButtons.h"
#include "widgets/Controls.h"

namespace kalvex {

namespace {

QLabel* makeBoldLabel(QWidget* parent, const char* name, const QString& caption, int size) {
    QLabel* label = makeLabel(parent, name, caption);
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(size);
    label->setFont(font);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text) {
    QLineEdit* edit = kalvex::makeEdit(parent, name);
    edit->setText(text);
    return edit;
}

} // namespace

TOrvikRenbanForm::TOrvikRenbanForm(MessagePort& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages) {
    setObjectName(QStringLiteral("TOrvikRenbanForm"));
    setWindowTitle(QStringLiteral("連番作成"));
    createEdits();
    createButtons();
    layOutControls();
    connectControls();
    Edit1Change();
}

void TOrvikRenbanForm::createEdits() {
    radixButtons = new RadixButtons(this);
    Label5 = makeBoldLabel(this, "Label5", QStringLiteral("10進"), 24);
    Label1 = makeLabel(this, "Label1", QStringLiteral("前固定"));
    Edit1 = makeEdit(this, "Edit1", QString());
    Label2 = makeLabel(this, "Label2", QStringLiteral("開始数"));
    Edit2 = makeEdit(this, "Edit2", QStringLiteral("00"));
    Label3 = makeLabel(this, "Label3", QStringLiteral("後固定"));
    Edit3 = makeEdit(this, "Edit3", QString());
    Label6 = makeLabel(this, "Label6", QStringLiteral("アップ数"));
    Edit5 = makeEdit(this, "Edit5", QStringLiteral("1"));
    Label8 = makeLabel(this, "Label8", QStringLiteral("(10進)"));
    Label4 = makeLabel(this, "Label4", QStringLiteral("作成数"));
    Edit4 = makeEdit(this, "Edit4", QStringLiteral("16"));
    Edit4->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Edit4));
    Label9 = makeLabel(this, "Label9", QStringLiteral("(10進)"));
    Label7 = makeLabel(this, "Label7", QStringLiteral("( 開始数なしで固定文字作成 )"));
    StaticText1 = makeBoldLabel(this, "StaticText1", QString(), 14);
    StaticText1->setFrameShape(QFrame::Panel);
    StaticText1->setFrameShadow(QFrame::Sunken);
}

void TOrvikRenbanForm::createButtons() {
    Button3 = makeButton(this, "Button3", QStringLiteral("挿入"));
    Button1 = makeButton(this, "Button1", QStringLiteral("追加"));
    Button2 = makeButton(this, "Button2", QStringLiteral("取り消し"));
}

void TOrvikRenbanForm::layOutControls() {
    auto* fields = new QGridLayout;
    const std::initializer_list<std::array<QWidget*, 3>> rows = {{Label1, Edit1, nullptr},
                                                                 {Label2, Edit2, Label7},
                                                                 {Label3, Edit3, nullptr},
                                                                 {Label6, Edit5, Label8},
                                                                 {Label4, Edit4, Label9}};
    int row = 0;
    for (const auto& widgets : rows) {
        for (int col = 0; col < 3; ++col) {
            if (widgets[col])
                fields->addWidget(widgets[col], row, col);
        }
        ++row;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeRow({radixButtons->SpeedButton1, radixButtons->SpeedButton2,
                               radixButtons->SpeedButton3, nullptr, Label5}));
    layout->addLayout(fields);
    layout->addWidget(StaticText1);
    layout->addLayout(makeRow({nullptr, Button3, Button1, Button2}));
}

void TOrvikRenbanForm::connectControls() {
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5})
        connect(edit, &QLineEdit::textChanged, this, &TOrvikRenbanForm::Edit1Change);
    connect(radixButtons, &RadixButtons::clicked, this, &TOrvikRenbanForm::Edit1Change);
    connect(Button3, &QPushButton::clicked, this,
            [this] { Button1Click(SerialPlacement::Insert); });
    connect(Button1, &QPushButton::clicked, this,
            [this] { Button1Click(SerialPlacement::Append); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

SerialInput TOrvikRenbanForm::input() const {
    return {radixButtons->radix(), toU16(Edit1->text()), toU16(Edit2->text()),
            toU16(Edit3->text()),  toU16(Edit5->text()), toU16(Edit4->text())};
}

void TOrvikRenbanForm::setTarget(SerialTarget target) {
    Button3->setEnabled(target == SerialTarget::Editor);
    Button1->setText(target == SerialTarget::Editor ? QStringLiteral("追加")
                                                    : QStringLiteral("上書き"));
}

void TOrvikRenbanForm::Edit1Change() {
    const SerialSeries series(input());
    Label6->setEnabled(series.hasCounter());
    Edit5->setEnabled(series.hasCounter());
    if (series.hasCounter())
        Label5->setText(toQString(radixDisplay(radixButtons->radix())));
    StaticText1->setText(toQString(series.preview()));
}

// The series itself is generated by the command that opened the dialog, once it is accepted.
void TOrvikRenbanForm::Button1Click(SerialPlacement placement) {
    const SerialSeries series(input());
    if (!series.isValid()) {
        m_messages.show(
            {toQString(series.invalidStartMessage()), MessageIcon::Warning, MessageButtons::Ok});
        return;
    }
    m_placement = placement;
    accept();
}

} // namespace kalvex
