#include "texttab/TextTabPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "texttab/EditorPopupMenu.h"
#include "texttab/LineEditor.h"
#include "widgets/Controls.h"
#include "widgets/SortedComboBox.h"

namespace kalvex {

namespace {

constexpr int kToolAreaHeight = 112;
constexpr int kNumberEditWidth = 64;
constexpr int kComboVisibleItems = 16;
constexpr int kComboMinimumCharacters = 8;

const char* const kBuiltInTags[] = {"JCMNT1:コメント１", "JCMNT2:コメント２", "NAME:機器名",
                                    "NAME1:機器名１", "SENBAN:線番"};

// A dX/dY box: right-aligned numbers, typed without the input method.
QLineEdit* makeNumberEdit(QWidget* parent, const char* name) {
    QLineEdit* edit = makeEdit(parent, name);
    edit->setAlignment(Qt::AlignRight);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setFixedWidth(kNumberEditWidth);
    return edit;
}

QComboBox* makeTagCombo(QWidget* parent) {
    auto* combo = new SortedComboBox(parent);
    combo->setObjectName(QStringLiteral("ComboBox1"));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(kComboVisibleItems);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(kComboMinimumCharacters);
    for (const char* tag : kBuiltInTags)
        combo->addItem(QString::fromUtf8(tag));
    return combo;
}

} // namespace

TextTabPage::TextTabPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet1"));
    createControls();
    layOutControls();
}

void TextTabPage::createControls() {
    SpeedButton1 = makeButton(this, "SpeedButton1", QStringLiteral("TEXT"));
    SpeedButton2 =
        makeButton(this, "SpeedButton2", QStringLiteral("更新(Ctrl+Enter)"), Initially::Disabled);
    SpeedButton6 = makeButton(this, "SpeedButton6", QStringLiteral("整列"), Initially::Disabled);
    Label3 = makeLabel(this, "Label3", QStringLiteral("dX :"));
    Edit1 = makeNumberEdit(this, "Edit1");
    Label4 = makeLabel(this, "Label4", QStringLiteral("dY :"));
    Edit2 = makeNumberEdit(this, "Edit2");
    SpeedButton8 = makeButton(this, "SpeedButton8", QStringLiteral("ATTR"));
    ComboBox1 = makeTagCombo(this);
    Label1 = makeLabel(this, "Label1");
    Label2 = makeLabel(this, "Label2");
    CheckBox1 = makeCheckBox(this, "CheckBox1", QStringLiteral("座標順で取得"), Check::Checked);
    SpeedButton3 = makeButton(this, "SpeedButton3", QStringLiteral("すべて選択"));
    SpeedButton5 = makeButton(this, "SpeedButton5", QStringLiteral("中止"), Initially::Disabled);
    SpeedButton4 = makeButton(this, "SpeedButton4", QStringLiteral("Undo"), Initially::Disabled);
    CheckBox9 =
        makeCheckBox(this, "CheckBox9", QStringLiteral("PAN (ZoomCenter)"), Check::Unchecked);
    SynEdit1 = new LineEditor(this);
    SynEdit1->setObjectName(QStringLiteral("SynEdit1"));
    PopupMenu1 = new EditorPopupMenu(this);
    connect(SynEdit1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(SynEdit1->mapToGlobal(at)); });
}

void TextTabPage::layOutControls() {
    QWidget* tools = createToolArea();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(tools);
    layout->addWidget(SynEdit1, 1);
}

// The buttons and options above the editor, in a band of fixed height.
QWidget* TextTabPage::createToolArea() {
    auto* area = new QWidget(this);
    area->setFixedHeight(kToolAreaHeight);
    // The progress text takes what the check boxes leave, so that they keep their places
    // whatever it reads; a long one is cut.
    Label2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label2->setMinimumWidth(1);
    CheckBox1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    CheckBox9->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Room for a five-digit count in the label's own font, whatever the scale.
    Label1->setMinimumWidth(
        Label1->fontMetrics().horizontalAdvance(QStringLiteral("取得データ数 = 99999")));
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);
    layout->addLayout(makeRow({SpeedButton1, SpeedButton2, SpeedButton6, nullptr, Label3, Edit1}));
    layout->addLayout(makeRow({SpeedButton8, ComboBox1, Label4, Edit2}));
    layout->addLayout(makeRow({CheckBox1, CheckBox9, Label2}));
    layout->addLayout(makeRow({SpeedButton3, SpeedButton5, SpeedButton4, nullptr, Label1}));
    ComboBox1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return area;
}

} // namespace kalvex
