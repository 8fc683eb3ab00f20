#include "search/SearchPage.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "search/UpperCaseValidator.h"
#include "widgets/Controls.h"
#include "widgets/StringGrid.h"

namespace kalvex {

namespace {

constexpr int kRowHeight = 20;

} // namespace

SearchPage::SearchPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TEST"));
    createControls();
    createGrid();
    layOutControls();
}

void SearchPage::createControls() {
    Label7 = makeLabel(this, "Label7", QStringLiteral("検索 (部分一致)"));
    Edit3 = makeEdit(this, "Edit3");
    Edit3->setToolTip(QStringLiteral("[Enter]で検索（ワイルドカード * ? が使えます)"));
    Label8 = makeLabel(this, "Label8", QStringLiteral("Enter=検索"));
    SpeedButton14 = makeButton(this, "SpeedButton14", QStringLiteral("検索"));
    SpeedButton15 = makeButton(this, "SpeedButton15", QStringLiteral("更新"), Initially::Disabled);
    Label6 = makeLabel(this, "Label6");
    CheckBox3 = makeCheckBox(this, "CheckBox3", QStringLiteral("先頭一致"), Check::Unchecked);
    CheckBox4 = makeCheckBox(this, "CheckBox4", QStringLiteral("a->A"), Check::Checked);
    CheckBox8 = makeCheckBox(this, "CheckBox8", QStringLiteral("Enter=[↓]"), Check::Checked);
    CheckBox5 = makeCheckBox(this, "CheckBox5", QStringLiteral("Enter=更新"), Check::Checked);
}

void SearchPage::createGrid() {
    StringGrid2 = new StringGrid(this);
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    StringGrid2->setDefaultRowHeight(kRowHeight);
    StringGrid2->setColumnCount(1);
    StringGrid2->setRowCount(1);
    StringGrid2->setFixed(0, 0);
    StringGrid2->viewport()->installEventFilter(this);
}

void SearchPage::layOutControls() {
    Label6->setMinimumWidth(1);
    Label7->setMinimumWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addLayout(makeRow({Label7, nullptr, Label8}));
    layout->addLayout(makeRow({Edit3, SpeedButton14, SpeedButton15}));
    layout->addLayout(makeRow({CheckBox3, CheckBox4, nullptr, Label6}));
    layout->addLayout(makeRow({CheckBox8, CheckBox5, nullptr}));
    layout->addWidget(StringGrid2, 1);
}

void SearchPage::setSearchInputCase(InputCase inputCase) {
    const QValidator* previous = Edit3->validator();
    Edit3->setValidator(inputCase == InputCase::Upper ? new UpperCaseValidator(Edit3) : nullptr);
    delete previous;
}

// A page that is not shown gets its size only when it is shown, so the column follows every
// size change of the grid, not only those of the window.
bool SearchPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == StringGrid2->viewport() && event->type() == QEvent::Resize)
        fitGridColumn();
    return QWidget::eventFilter(watched, event);
}

void SearchPage::fitGridColumn() {
    StringGrid2->setColumnWidth(0, StringGrid2->viewport()->width());
}

} // namespace kalvex
