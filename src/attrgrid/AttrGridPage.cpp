#include "attrgrid/AttrGridPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "attrgrid/GridPopupMenu.h"
#include "widgets/ColumnSizer.h"
#include "widgets/Controls.h"
#include "widgets/SortedComboBox.h"
#include "widgets/StringGrid.h"

namespace kalvex {

namespace {

constexpr int kRowHeight = 20;
constexpr int kGridFontPixels = 13;
constexpr int kProgressHeight = 12;
constexpr int kComboMinimumCharacters = 8;

// The tag sets offered until a tag set file is read.
const char* const kBuiltInTagSets[] = {
    "I/Oコメント,PIN1,IOADRS,JCMNT1,JCMNT2",
    "機器,NAME,NAME1,SPEC,TYPE",
    "図枠IFS,CST,CST1,TITLE,TITLE1,DWGNO,REVNO,PAGEN,PAGEM,ENAM,EDATE,CNAM,CDATE,ANAM,ADATE",
    "図枠TTL,BITEM7,BITEM5,ZITEM2,ZITEM3,ZITEM1,ZSHEET,FILE3,ZITEM10,ZITEM9,ZITEM8,BITEM2,ZITEM5,"
    "BITEM3,ZITEM6,BITEM4,ZITEM7,ZSEIHIN,PAGE",
    "線番,SENBAN",
};

} // namespace

AttrGridPage::AttrGridPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));
    createControls();
    createGrid();
    layOutControls();
}

void AttrGridPage::createControls() {
    SpeedButton10 = makeButton(this, "SpeedButton10", QStringLiteral("取得"));
    SpeedButton12 = makeButton(this, "SpeedButton12", QStringLiteral("中止"), Initially::Disabled);
    SpeedButton11 = makeButton(this, "SpeedButton11", QStringLiteral("更新"), Initially::Disabled);
    SpeedButton13 = makeButton(this, "SpeedButton13", QStringLiteral("UNDO"));
    Label5 = makeLabel(this, "Label5");
    ComboBox2 = new SortedComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox2->setMinimumContentsLength(kComboMinimumCharacters);
    ComboBox2->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    for (const char* tagSet : kBuiltInTagSets)
        ComboBox2->addItem(QString::fromUtf8(tagSet));
    CheckBox2 = makeCheckBox(this, "CheckBox2", QStringLiteral("Enter=[ ↓ ]"), Check::Checked);
    CheckBox7 = makeCheckBox(this, "CheckBox7", QStringLiteral("Enter = 更新"), Check::Checked);
    CheckBox6 =
        makeCheckBox(this, "CheckBox6", QStringLiteral("PAN (Zoom Center)"), Check::Unchecked);
    Label9 = makeLabel(this, "Label9", QStringLiteral("※固定セルの クリックですべて選択"));
    SpeedButton16 = makeButton(this, "SpeedButton16", QStringLiteral("文字順"));
    SpeedButton17 = makeButton(this, "SpeedButton17", QStringLiteral("数字順"));
    SpeedButton18 = makeButton(this, "SpeedButton18", QStringLiteral("取得順"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(kProgressHeight);
    ProgressBar1->setValue(0);
}

void AttrGridPage::createGrid() {
    StringGrid1 = new StringGrid(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setFont(formFont(kGridFontPixels));
    StringGrid1->setDefaultRowHeight(kRowHeight);
    StringGrid1->setColumnCount(kInitialGridSize);
    StringGrid1->setRowCount(kInitialGridSize);
    StringGrid1->setFixed(1, 1);
    new ColumnSizer(*StringGrid1);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu2 = new GridPopupMenu(this);
    connect(StringGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu2->popup(StringGrid1->viewport()->mapToGlobal(at));
    });
}

void AttrGridPage::layOutControls() {
    Label5->setMinimumWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 2);
    layout->setSpacing(3);
    layout->addLayout(
        makeRow({SpeedButton10, SpeedButton12, SpeedButton11, SpeedButton13, Label5, nullptr}));
    layout->addLayout(makeRow({ComboBox2, SpeedButton16, SpeedButton17, SpeedButton18}));
    layout->addLayout(makeRow({CheckBox2, CheckBox7, CheckBox6, nullptr}));
    layout->addWidget(Label9);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(ProgressBar1);
}

} // namespace kalvex
