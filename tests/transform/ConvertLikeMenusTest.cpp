#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <list>

#include "TransformFakes.h"
#include "dxftool/TextConversion.h"
#include "platform/ErrorReport.h"
#include "transform/EditorCommands.h"
#include "transform/GridCommands.h"
#include "transform/MenuWiring.h"
#include "transform/RadixButtons.h"
#include "widgets/Controls.h"

// kalvex-dxf convert repeats the popup menu commands of the editor and the grid on the strings of
// drawings: each conversion name, run over the same strings, gives what the menu item it names
// gives in the editor (one string a line) or, for a grid item, in the selected grid cells.
namespace kalvex {
namespace {

using dxftool::ConversionRequest;
using dxftool::TextConversion;

// clang-format off
const QStringList kSamples = {
    "ｶﾞｽ ﾎﾟﾝﾌﾟ-07", "ヴァイオリン　（１２．５）", "TB-07", "  12  ", "A1-B9", "X0F", "abc ABC Abc",
    "￥１，０００＋", "\"q\" 'a' `b` \\", "ｱﾞｳﾞ", "", "配線 No.3 (予備)", "ａｂｃ－ＸＹＺ", "P07",
    "XFF ", "TB1-0099 ﾊﾟﾝ (ｶﾞ)", "「ｶﾅ」ｰ", "1A", " ", "-5",
};
// clang-format on

class ConvertLikeTheMenus : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<MenuItemSpec> items;
        for (const auto& conversion : dxftool::conversionNames())
            items.push_back({m_names.emplace_back(conversion.menuItem).c_str(), "item"});
        addMenuItems(m_editorMenu, items);
        addMenuItems(m_gridMenu, items);
        connectEditorMenu(m_editorMenu, m_editor, m_errors);
        connectGridMenu(m_gridMenu, m_grid, m_errors);
    }

    // What the menu item gives for each sample: in the editor, or, when the editor's menu does
    // not handle the item (the text stays as it was), in the grid.
    QStringList byMenu(const std::string& item) {
        const QString name = QString::fromStdString(item);
        f.editor.setPlainText(kSamples.join(u'\n'));
        m_editorMenu.findChild<QAction*>(name)->trigger();
        if (const QStringList lines = f.editor.toPlainText().split(u'\n'); lines != kSamples)
            return lines;
        f.fillGrid(2, int(kSamples.size()) + 1, kSamples);
        f.grid.setCurrentCell(1, 1);
        f.grid.setRangeSelected(QTableWidgetSelectionRange(1, 1, int(kSamples.size()), 1), true);
        m_gridMenu.findChild<QAction*>(name)->trigger();
        QStringList cells;
        for (int row = 1; row <= kSamples.size(); ++row)
            cells << f.grid.cell(1, row);
        return cells;
    }

    // One string a line, so that a difference shows as text.
    static std::string lines(const QStringList& strings) {
        return strings.join(u'\n').toStdString();
    }

    static QStringList byConvert(const ConversionRequest& request) {
        const TextConversion conversion(request);
        QStringList converted;
        for (const QString& sample : kSamples)
            converted << QString::fromStdString(conversion(sample.toStdString()));
        return converted;
    }

    // Answers the replace or the addition dialog with the request's operands and options.
    void answer(const ConversionRequest& r) {
        f.dialogs.answer = [=, this](QDialog&) {
            const QString first = QString::fromStdString(r.operands[0]);
            if (r.name == "replace") {
                f.forms.tikan.Edit1->setText(first);
                f.forms.tikan.Edit2->setText(QString::fromStdString(r.operands[1]));
                f.forms.tikan.CheckBox1->setChecked(r.ignoreCase);
                return int(QDialog::Accepted);
            }
            TOrvikKasanForm& form = f.forms.kasan;
            form.radixButtons->setRadix(r.radix == "hex"   ? Radix::Hexadecimal
                                        : r.radix == "oct" ? Radix::Octal
                                                           : Radix::Decimal);
            form.SpeedButton1Click();
            form.RadioButton1->setChecked(r.number == "first");
            form.UpDown1->setValue(std::stoi(r.width));
            form.Edit1->setText(first);
            return int(QDialog::Accepted);
        };
    }

    testing::TransformFixture f;
    EditorCommands m_editor{f.editorTarget(), f.forms, f.ports};
    GridCommands m_grid{f.gridTarget(), f.forms, f.ports};
    ErrorReport m_errors{f.messages};
    std::list<std::string> m_names;
    QMenu m_editorMenu;
    QMenu m_gridMenu;
};

TEST_F(ConvertLikeTheMenus, EveryConversionWithoutOperandsGivesWhatItsMenuItemGives) {
    int compared = 0;
    for (const auto& [name, item] : dxftool::conversionNames()) {
        if (*dxftool::operandCount(name) != 0)
            continue;
        SCOPED_TRACE(std::string(name) + " / " + std::string(item));
        const QStringList expected = byMenu(std::string(item));
        EXPECT_EQ(lines(byConvert({std::string(name)})), lines(expected));
        EXPECT_NE(expected, kSamples) << "the samples give the conversion nothing to do";
        ++compared;
    }
    EXPECT_EQ(compared, 14);
}

TEST_F(ConvertLikeTheMenus, ReplaceAndAddGiveWhatReplaceAllAndAddToAllGive) {
    const std::vector<ConversionRequest> requests = {
        {.name = "replace", .operands = {"ｶﾞ", "ガ"}},
        {.name = "replace", .operands = {"abc", "x"}, .ignoreCase = true},
        {.name = "replace", .operands = {"-", ""}},
        {.name = "add", .operands = {"1"}},
        {.name = "add", .operands = {"-8"}, .number = "first"},
        {.name = "add", .operands = {"1"}, .radix = "hex"},
        {.name = "add", .operands = {"250"}, .radix = "hex", .width = "4"},
        {.name = "add", .operands = {"1"}, .radix = "oct", .width = "1"},
        {.name = "add", .operands = {"0"}},
    };
    for (const ConversionRequest& request : requests) {
        SCOPED_TRACE(request.name + " " + request.operands[0] + " " + request.radix);
        answer(request);
        EXPECT_EQ(lines(byConvert(request)),
                  lines(byMenu(request.name == "replace" ? "N7" : "N14")));
    }
}

} // namespace
} // namespace kalvex
