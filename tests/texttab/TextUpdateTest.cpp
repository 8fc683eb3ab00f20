#include <QTest>
#include <QTimer>

#include "TextTabFixture.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;

const QString kErrorMessage = QStringLiteral("エラーのため、更新を中止しました．");
const QString kZeroAppendMessage = QStringLiteral("dX, dY が 0 のため、追加を中止しました．");

// Four TEXTs down a column, fetched in this order.
class TextUpdateTest : public TextTabTest {
protected:
    void SetUp() override {
        TextTabTest::SetUp();
        DrawingBuilder b;
        for (int i = 0; i < 4; ++i)
            h.push_back(
                b.text({.text = "T" + std::to_string(i), .insertion = {100, 65.0 - 5 * i, 0}}));
        use(b);
        page().CheckBox1->setChecked(false);
        fetch(h);
        messages().clear();
    }

    std::vector<std::string> h;
};

TEST_F(TextUpdateTest, EachKindOfLineDoesWhatItsRowSays) {
    setLines(QStringLiteral("new0\n\nT2"));
    update();
    EXPECT_EQ(drawingText(h[0]), "new0");
    EXPECT_FALSE(exists(h[1])) << "blank line deletes its TEXT";
    EXPECT_EQ(drawingText(h[2]), "T2");
    EXPECT_FALSE(exists(h[3])) << "a TEXT without a line is deleted";
    ASSERT_EQ(records().size(), 3u);
    EXPECT_TRUE(records()[1].sHnd.empty());
    EXPECT_EQ(records()[1].insPt, cad::CadPoint(100, 60, 0)) << "placeholder keeps its place";
    EXPECT_EQ(records()[2].sHnd, h[2]);
    EXPECT_EQ(model->regenCount(), 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(TextUpdateTest, PlaceholderWithTextAgainGetsANewTextAtItsPlace) {
    setLines(QStringLiteral("T0\n\nT2\nT3"));
    update();
    ASSERT_TRUE(records()[1].sHnd.empty());
    setLines(QStringLiteral("T0\nback\nT2\nT3"));
    update();
    const std::string created = records()[1].sHnd;
    ASSERT_FALSE(created.empty());
    EXPECT_NE(created, h[1]);
    EXPECT_EQ(drawingText(created), "back");
    EXPECT_EQ(textEntity(created)->InsertionPoint(), cad::CadPoint(100, 60, 0));
    EXPECT_EQ(records()[1].lay, "0");
    EXPECT_EQ(drawingText(h[3]), "T3");
}

TEST_F(TextUpdateTest, LinesBeyondTheRecordsAreAppendedByTheSpacing) {
    records().resize(1);
    records()[0].insPt = cad::CadPoint(100, 50, 0);
    textEntity(h[0])->SetInsertionPoint(cad::CadPoint(100, 50, 0));
    setSpacing(QStringLiteral("5"), QStringLiteral("0"));
    setLines(QStringLiteral("T0\nfirst\n \nthird"));
    update();
    ASSERT_EQ(records().size(), 4u);
    EXPECT_EQ(drawingText(records()[1].sHnd), "first");
    EXPECT_EQ(textEntity(records()[1].sHnd)->InsertionPoint(), cad::CadPoint(105, 50, 0));
    EXPECT_TRUE(records()[2].sHnd.empty());
    EXPECT_EQ(records()[2].insPt, cad::CadPoint(110, 50, 0));
    EXPECT_EQ(drawingText(records()[3].sHnd), "third");
    EXPECT_EQ(records()[3].insPt, cad::CadPoint(115, 50, 0));
    EXPECT_EQ(records()[3].text, "third");
}

TEST_F(TextUpdateTest, BlankMeansControlAndSpaceOnlyNotFullWidthSpace) {
    setLines(QStringLiteral("  \t\n\u3000\u3000\nT2\nT3"));
    update();
    EXPECT_FALSE(exists(h[0]));
    EXPECT_EQ(QString::fromStdString(drawingText(h[1])), QStringLiteral("\u3000\u3000"));
}

TEST_F(TextUpdateTest, TrailingBlankLineWithZeroSpacingShowsTheZeroMessage) {
    setSpacing(QStringLiteral("0"), QStringLiteral("0.0009"));
    setLines(QStringLiteral("T0\nT1\nT2\nT3\n"));
    update();
    EXPECT_EQ(messageTexts(), QStringList{kZeroAppendMessage});
    EXPECT_EQ(records().size(), 4u);
}

TEST_F(TextUpdateTest, AnEntityGoneFromTheCadKeepsItsLine) {
    textEntity(h[1])->Delete();
    setLines(QStringLiteral("a\nb\nc\nd"));
    update();
    EXPECT_EQ(drawingText(h[0]), "a");
    EXPECT_EQ(drawingText(h[2]), "c");
    EXPECT_EQ(drawingText(h[3]), "d");
    EXPECT_TRUE(messages().empty());
}

TEST_F(TextUpdateTest, AFailedWriteSkipsOnlyThatRecord) {
    faults->failOn("SetTextString", h[1]);
    setLines(QStringLiteral("a\nb\nc\nd"));
    update();
    EXPECT_EQ(drawingText(h[0]), "a");
    EXPECT_EQ(drawingText(h[1]), "T1");
    EXPECT_EQ(drawingText(h[2]), "c");
    EXPECT_TRUE(messages().empty());
}

TEST_F(TextUpdateTest, AFailedCopyStopsTheRunWithItsMessageAndKeepsWhatWasWritten) {
    setSpacing(QStringLiteral("0"), QStringLiteral("-5"));
    faults->failAfter("Copy", 1);
    setLines(QStringLiteral("a\nb\nc\nd\ne\nf"));
    update();
    EXPECT_EQ(messageTexts(), QStringList{kErrorMessage});
    EXPECT_EQ(drawingText(h[3]), "d");
    ASSERT_EQ(records().size(), 6u) << "cut to the used lines also after the error";
    EXPECT_EQ(drawingText(records()[4].sHnd), "e");
    EXPECT_TRUE(records()[5].sHnd.empty());
    EXPECT_FALSE(form->work().runFlag);
    EXPECT_FALSE(page().SpeedButton5->isEnabled());
    EXPECT_TRUE(page().Label2->isHidden());
    EXPECT_FALSE(page().SpeedButton3->isHidden());
}

// The records padded after the zero-spacing abort have no place; the retry appends the line by
// the spacing from the last TEXT, with one copy, and a further update copies nothing.
TEST_F(TextUpdateTest, ARetryAfterTheZeroSpacingAbortAppendsEachLineOnce) {
    setSpacing(QStringLiteral("0"), QStringLiteral("0"));
    setLines(QStringLiteral("T0\nT1\nT2\nT3\nT4"));
    update();
    ASSERT_EQ(messageTexts(), QStringList{kZeroAppendMessage});
    ASSERT_EQ(records().size(), 5u);
    messages().clear();
    setSpacing(QStringLiteral("0"), QStringLiteral("-5"));
    const int copies = faults->callCount("Copy");
    update();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(faults->callCount("Copy") - copies, 1);
    ASSERT_EQ(records().size(), 5u);
    EXPECT_EQ(drawingText(records()[4].sHnd), "T4");
    EXPECT_EQ(textEntity(records()[4].sHnd)->InsertionPoint(), cad::CadPoint(100, 45, 0));
    update();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(faults->callCount("Copy") - copies, 1) << "a further update makes no copy";
}

TEST_F(TextUpdateTest, ACopyThatCannotBePlacedIsDeletedBeforeTheErrorEndsTheRun) {
    setLines(QStringLiteral("T0\n\nT2\nT3"));
    update();
    ASSERT_TRUE(records()[1].sHnd.empty());
    faults->failAfter("SetAlignment", 0);
    const int deletes = faults->callCount("Delete");
    setLines(QStringLiteral("T0\nback\nT2\nT3"));
    update();
    EXPECT_EQ(messageTexts(), QStringList{kErrorMessage});
    EXPECT_EQ(faults->callCount("Copy"), 1);
    EXPECT_EQ(faults->callCount("Delete") - deletes, 1) << "the copy is deleted again";
    EXPECT_TRUE(records()[1].sHnd.empty());
    EXPECT_EQ(drawingText(h[2]), "T2");
}

TEST_F(TextUpdateTest, AbortEndsTheRecordPassAndSkipsTheAppendPass) {
    setSpacing(QStringLiteral("0"), QStringLiteral("-5"));
    setLines(QStringLiteral("a\nb\nc\nd\ne"));
    QTimer::singleShot(0, page().SpeedButton5, [this] { page().SpeedButton5->click(); });
    update();
    EXPECT_EQ(drawingText(h[0]), "a");
    EXPECT_EQ(drawingText(h[1]), "T1");
    EXPECT_EQ(records().size(), 5u);
    EXPECT_TRUE(records()[4].sHnd.empty()) << "nothing appended after an abort";
    EXPECT_FALSE(page().SpeedButton5->isEnabled());
}

TEST_F(TextUpdateTest, EmptyEditorDoesNotReachTheCad) {
    setLines(QString());
    windows.calls.clear();
    update();
    EXPECT_TRUE(windows.calls.empty());
    EXPECT_EQ(model->regenCount(), 0);
    EXPECT_EQ(records().size(), 4u);
}

TEST_F(TextUpdateTest, CtrlEnterUpdatesWithoutALineBreak) {
    setLines(QStringLiteral("a\nT1\nT2\nT3"));
    editor().setFocus();
    QTest::keyClick(&editor(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("a\nT1\nT2\nT3"));
    EXPECT_EQ(drawingText(h[0]), "a");
}

// Ctrl+Enter runs the update also before any fetch, while the button is still disabled.
TEST_F(TextTabTest, CtrlEnterBeforeAFetchPadsTheListToTheUsedLines) {
    DrawingBuilder b;
    const std::string other = b.text({.text = "keep"});
    use(b);
    setLines(QStringLiteral("x\ny\n"));
    QTest::keyClick(&editor(), Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(records().size(), 2u);
    EXPECT_TRUE(records()[0].sHnd.empty());
    EXPECT_EQ(drawingText(other), "keep");
    EXPECT_EQ(model->regenCount(), 1);
    QTest::keyClick(&editor(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(records().size(), 2u) << "padded records have no template and are passed over";
}

} // namespace
} // namespace kalvex::testing
