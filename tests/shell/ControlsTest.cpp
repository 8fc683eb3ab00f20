#include <optional>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>

#include "MainFormFixture.h"

namespace kalvex::testing {

namespace {

enum class State { Enabled, Disabled };
enum class Checked { Yes, No, NotACheckBox };

struct ControlCase {
    const char* name;
    const char* caption; // UTF-8; the text of a button, label or edit
    State state;
    Checked checked = Checked::NotACheckBox;
};

const ControlCase kControls[] = {
    {"SpeedButton1", "TEXT", State::Enabled},
    {"SpeedButton2", "更新(Ctrl+Enter)", State::Disabled},
    {"SpeedButton6", "整列", State::Disabled},
    {"Label3", "dX :", State::Enabled},
    {"Edit1", "", State::Enabled},
    {"Label4", "dY :", State::Enabled},
    {"Edit2", "", State::Enabled},
    {"SpeedButton8", "ATTR", State::Enabled},
    {"Label1", "", State::Enabled},
    {"Label2", "", State::Enabled},
    {"CheckBox1", "座標順で取得", State::Enabled, Checked::Yes},
    {"SpeedButton3", "すべて選択", State::Enabled},
    {"SpeedButton5", "中止", State::Disabled},
    {"SpeedButton4", "Undo", State::Disabled},
    {"CheckBox9", "PAN (ZoomCenter)", State::Enabled, Checked::No},
    {"SpeedButton10", "取得", State::Enabled},
    {"SpeedButton12", "中止", State::Disabled},
    {"SpeedButton11", "更新", State::Disabled},
    {"SpeedButton13", "UNDO", State::Enabled},
    {"Label5", "", State::Enabled},
    {"CheckBox2", "Enter=[ ↓ ]", State::Enabled, Checked::Yes},
    {"CheckBox7", "Enter = 更新", State::Enabled, Checked::Yes},
    {"CheckBox6", "PAN (Zoom Center)", State::Enabled, Checked::No},
    {"Label9", "※固定セルの クリックですべて選択", State::Enabled},
    {"SpeedButton16", "文字順", State::Enabled},
    {"SpeedButton17", "数字順", State::Enabled},
    {"SpeedButton18", "取得順", State::Enabled},
    {"Label7", "検索 (部分一致)", State::Enabled},
    {"Edit3", "", State::Enabled},
    {"Label8", "Enter=検索", State::Enabled},
    {"SpeedButton14", "検索", State::Enabled},
    {"SpeedButton15", "更新", State::Disabled},
    {"Label6", "", State::Enabled},
    {"CheckBox3", "先頭一致", State::Enabled, Checked::No},
    {"CheckBox4", "a->A", State::Enabled, Checked::Yes},
    {"CheckBox8", "Enter=[↓]", State::Enabled, Checked::Yes},
    {"CheckBox5", "Enter=更新", State::Enabled, Checked::Yes},
};

struct TabCase {
    const char* page;
    const char* caption;
};

const TabCase kTabs[] = {
    {"TabSheet1", "TEXT, 属性編集"},
    {"TabSheet2", " 属性編集"},
    {"TEST", "TEXT 検索・編集"},
};

struct MenuCase {
    const char* menu;
    int position;
    const char* item;
    const char* caption;
    State state;
};

// The first, last and a few middle items of each popup menu, the submenu and the disabled
// separator.
const MenuCase kMenuItems[] = {
    {"PopupMenu1", 0, "N20", "クリア", State::Enabled},
    {"PopupMenu1", 11, "N28", "すべての半角 ( ) を全角に ", State::Enabled},
    {"PopupMenu1", 13, "N21", "その他のすべてを変換", State::Enabled},
    {"PopupMenu1", 28, "N19", "取り消し", State::Enabled},
    {"N21", 0, "N23", "半角カタカナを全角に", State::Enabled},
    {"N21", 9, "N26", "全角記号を半角に", State::Enabled},
    {"PopupMenu2", 0, "N32", "選択範囲のスペース以外を全角に", State::Enabled},
    {"PopupMenu2", 7, "N39", "", State::Disabled},
    {"PopupMenu2", 15, "AG2", "■TAG リストを再読み込み", State::Enabled},
};

QString textOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    return QStringLiteral("<no text>");
}

} // namespace

TEST_F(MainFormTest, ControlsHaveTheirCaptionsAndInitialStates) {
    for (const ControlCase& expected : kControls) {
        SCOPED_TRACE(expected.name);
        QWidget* widget = control<QWidget>(expected.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(textOf(widget), QString::fromUtf8(expected.caption));
        EXPECT_EQ(widget->isEnabled(), expected.state == State::Enabled);
        if (expected.checked != Checked::NotACheckBox) {
            EXPECT_EQ(qobject_cast<QAbstractButton*>(widget)->isChecked(),
                      expected.checked == Checked::Yes);
        }
    }
    auto* pages = control<QTabWidget>("PageControl1");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 3);
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(pages->widget(index)->objectName(), QLatin1String(kTabs[index].page));
        EXPECT_EQ(pages->tabText(index), QString::fromUtf8(kTabs[index].caption));
    }
    for (const MenuCase& expected : kMenuItems) {
        SCOPED_TRACE(expected.item);
        auto* menu = control<QMenu>(expected.menu);
        ASSERT_NE(menu, nullptr);
        ASSERT_LT(expected.position, menu->actions().size());
        QAction* action = menu->actions().at(expected.position);
        EXPECT_EQ(action->objectName(), QLatin1String(expected.item));
        EXPECT_EQ(action->text(), QString::fromUtf8(expected.caption));
        EXPECT_EQ(action->isEnabled(), expected.state == State::Enabled);
    }
    EXPECT_EQ(control<QMenu>("PopupMenu1")->actions().size(), 29);
    EXPECT_EQ(control<QMenu>("PopupMenu2")->actions().size(), 16);
    EXPECT_EQ(control<QLineEdit>("Edit3")->toolTip(),
              QStringLiteral("[Enter]で検索（ワイルドカード * ? が使えます)"));
}

TEST_F(MainFormTest, WindowHasItsCaptionSizeFlagsAndStatusPanels) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kalvex 2.3C [ nanoCAD 5 ]"));
    EXPECT_EQ(form->size(), QSize(330, 320));
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form->statusPanel(0).width(), 150);
    EXPECT_EQ(form->statusPanel(1).width(), 100);
    EXPECT_EQ(form->statusPanel(1).objectName(), QStringLiteral("StatusBar1.1"));
    auto* timer = form->findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 200);
}

namespace {

QStringList itemsOf(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

} // namespace

// In Japanese order: punctuation before digits ("NAME:" before "NAME1:"), Latin before kana
// and kanji, kanji by their readings (機 before 図 before 線).
TEST_F(MainFormTest, TagListsHoldTheBuiltInTagsSortedAndSelectTheFirst) {
    auto* tags = control<QComboBox>("ComboBox1");
    EXPECT_EQ(itemsOf(*tags), (QStringList{"JCMNT1:コメント１", "JCMNT2:コメント２", "NAME:機器名",
                                           "NAME1:機器名１", "SENBAN:線番"}));
    EXPECT_EQ(tags->currentIndex(), 0);
    EXPECT_TRUE(tags->isEditable());
    EXPECT_EQ(tags->maxVisibleItems(), 16);
    auto* tagSets = control<QComboBox>("ComboBox2");
    EXPECT_FALSE(tagSets->isEditable());
    const QStringList sets = itemsOf(*tagSets);
    ASSERT_EQ(sets.size(), 5);
    const QStringList captions = {"I/Oコメント", "機器", "図枠IFS", "図枠TTL", "線番"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(sets[i].section(u',', 0, 0), captions[i]);
    EXPECT_EQ(tagSets->currentIndex(), 0);
}

} // namespace kalvex::testing
