#include <QTest>

#include "TextTabFixture.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;

// The CAD's document window holds a strip and, below it, the frame of an 800 x 400 drawing
// area; the view is 100 units high.
class CaretFollowTest : public TextTabTest {
protected:
    static constexpr WindowHandle kDocument = 10, kStrip = 11, kFrame = 12;

    void SetUp() override {
        TextTabTest::SetUp();
        link.MonitorScalePercent = 150;
        windows.addWindow(kDocument, {});
        windows.addChild(kDocument, kStrip, {100, 50, 900, 74});
        windows.addChild(kDocument, kFrame, {100, 74, 900, 498});
        DrawingBuilder b;
        h.push_back(b.text({.text = "A", .insertion = {1000, 500, 0}}));
        h.push_back(b.text({.text = "B", .insertion = {1000, 480, 0}}));
        use(b);
        model->setDocumentWindow(kDocument);
        model->view().setAspect(2.0);
        model->view().setHeight(100);
        page().CheckBox1->setChecked(false);
        fetch(h);
        messages().clear();
        page().CheckBox9->setChecked(true);
    }

    void caretToLine(int line) {
        while (editor().document()->blockCount() < line)
            editor().appendPlainText(QString());
        editor().setTextCursor(QTextCursor(editor().document()->findBlockByNumber(line - 1)));
        QTest::keyClick(&editor(), Qt::Key_Shift);
    }
    int zooms() { return faults->callCount("ZoomWindow"); }
    std::vector<std::string> markers() {
        std::vector<std::string> lines;
        for (const auto& call : windows.calls)
            if (call.rfind("lines", 0) == 0)
                lines.push_back(call);
        return lines;
    }

    std::vector<std::string> h;
};

TEST_F(CaretFollowTest, TheViewCentresOnTheLinesRecordWithTheMarker) {
    caretToLine(2);
    caretToLine(1);
    EXPECT_EQ(model->view().centerX(), 1000);
    EXPECT_EQ(model->view().centerY(), 500);
    EXPECT_EQ(model->view().height(), 100);
    EXPECT_EQ(model->view().width(), 200) << "(910, 450) to (1090, 550) keeps the scale";
    ASSERT_FALSE(markers().empty());
    EXPECT_EQ(markers().back(), "lines width 3 rgb 255,100,100: 750,411 690,381 690,441 750,411");
}

TEST_F(CaretFollowTest, OnlyAChangeOfLineFollows) {
    caretToLine(2);
    const int after = zooms();
    EXPECT_GE(after, 1);
    QTest::keyClick(&editor(), Qt::Key_End);
    EXPECT_EQ(zooms(), after);
    caretToLine(1);
    EXPECT_EQ(zooms(), after + 1);
}

TEST_F(CaretFollowTest, NothingIsSentWithTheBoxOff) {
    page().CheckBox9->setChecked(false);
    caretToLine(2);
    EXPECT_EQ(zooms(), 0);
    EXPECT_EQ(form->work().CaretY_Old, 2);
}

TEST_F(CaretFollowTest, BeyondTheRecordsTheSpacingExtrapolates) {
    setSpacing(QStringLiteral("10"), QStringLiteral("0"));
    caretToLine(4);
    EXPECT_EQ(model->view().centerX(), 1020);
    EXPECT_EQ(model->view().centerY(), 480);
}

TEST_F(CaretFollowTest, InAttributeModeBeyondTheRecordsNothingFollows) {
    form->work().ATTmode = true;
    setSpacing(QStringLiteral("10"), QStringLiteral("0"));
    caretToLine(3);
    EXPECT_EQ(zooms(), 0);
}

TEST_F(CaretFollowTest, ASpacingThatIsNoNumberIsReportedAndTriedAgain) {
    setSpacing(QStringLiteral("abc"), QStringLiteral("0"));
    caretToLine(3);
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(zooms(), 0);
    EXPECT_NE(form->work().CaretY_Old, 3);
    setSpacing(QStringLiteral("1"), QStringLiteral("0"));
    QTest::keyClick(&editor(), Qt::Key_Shift);
    EXPECT_EQ(zooms(), 1);
}

} // namespace
} // namespace kalvex::testing
