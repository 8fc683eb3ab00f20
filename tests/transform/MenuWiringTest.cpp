#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "TransformFakes.h"
#include "platform/ErrorReport.h"
#include "transform/EditorCommands.h"
#include "transform/GridCommands.h"
#include "transform/MenuWiring.h"
#include "widgets/Controls.h"

namespace kalvex {
namespace {

QAction* item(QMenu& menu, const char* name) {
    return menu.findChild<QAction*>(QString::fromLatin1(name));
}

TEST(MenuWiring, EditorItemsAndTheConversionSubmenuReachTheirCommands) {
    testing::TransformFixture f;
    EditorCommands commands(f.editorTarget(), f.forms, f.ports);
    ErrorReport errors(f.messages);
    QMenu menu;
    static const MenuItemSpec top[] = {{"N20", "クリア"}, {"N1", "すべて全角に"}};
    static const MenuItemSpec sub[] = {{"N23", "半角カタカナを全角に"},
                                       {"N24", "全角カタカナを半角に"}};
    addMenuItems(menu, top);
    addMenuItems(*menu.addMenu(QStringLiteral("その他のすべてを変換")), sub);
    connectEditorMenu(menu, commands, errors);

    f.editor.setPlainText(QStringLiteral("ﾊﾟﾝ"));
    item(menu, "N23")->trigger();
    EXPECT_EQ(f.editor.toPlainText(), QStringLiteral("パン"));
    item(menu, "N24")->trigger();
    EXPECT_EQ(f.editor.toPlainText(), QStringLiteral("ﾊﾟﾝ"));
    item(menu, "N20")->trigger();
    EXPECT_TRUE(f.editor.toPlainText().isEmpty());

    emit menu.aboutToShow();
    EXPECT_FALSE(item(menu, "N1")->isEnabled());
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(MenuWiring, GridItemsReachTheirCommands) {
    testing::TransformFixture f;
    GridCommands commands(f.gridTarget(), f.forms, f.ports);
    ErrorReport errors(f.messages);
    QMenu menu;
    static const MenuItemSpec items[] = {{"N32", "a"}, {"N33", "b"}};
    addMenuItems(menu, items);
    connectGridMenu(menu, commands, errors);
    f.fillGrid(2, 2, {"ｱ b"});
    f.grid.setCurrentCell(1, 1);
    item(menu, "N32")->trigger();
    EXPECT_EQ(f.grid.cell(1, 1), QStringLiteral("ア ｂ"));
    item(menu, "N33")->trigger();
    EXPECT_EQ(f.grid.cell(1, 1), QStringLiteral("ｱ b"));
}

} // namespace
} // namespace kalvex
