#include "transform/TOrvikTikanForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/Controls.h"

namespace kalvex {

namespace {

QLineEdit* makeBoldEdit(QWidget* parent, const char* name) {
    QLineEdit* edit = makeEdit(parent, name);
    QFont font = edit->font();
    font.setBold(true);
    edit->setFont(font);
    return edit;
}

} // namespace

TOrvikTikanForm::TOrvikTikanForm(QWidget* parent)
    : QDialog(parent, Qt::Tool),
      CheckBox1(
          makeCheckBox(this, "CheckBox1", QStringLiteral("大文字/小文字を無視"), Check::Checked)),
      Label1(makeLabel(this, "Label1", QStringLiteral("検索文字列"))),
      Edit1(makeBoldEdit(this, "Edit1")),
      Label2(makeLabel(this, "Label2", QStringLiteral("置換文字列"))),
      Edit2(makeBoldEdit(this, "Edit2")), Button1(makeButton(this, "Button1", "実行")),
      Button2(makeButton(this, "Button2", "取り消し")) {
    setObjectName(QStringLiteral("TOrvikTikanForm"));
    setWindowTitle(QStringLiteral("文字列置換"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    layOutControls();
}

CaseMatch TOrvikTikanForm::caseMatch() const {
    return CheckBox1->isChecked() ? CaseMatch::IgnoreCase : CaseMatch::Exact;
}

void TOrvikTikanForm::layOutControls() {
    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckBox1);
    layout->addLayout(fields);
    layout->addLayout(makeRow({nullptr, Button1, Button2}));
    setMinimumWidth(300);
}

} // namespace kalvex
