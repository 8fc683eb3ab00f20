#include <QTest>

#include "TextTabFixture.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;

class TextAlignmentTest : public TextTabTest {
protected:
    // TEXTs at the points, fetched in this order.
    void fetchAt(const std::vector<cad::CadPoint>& points) {
        DrawingBuilder b;
        for (std::size_t i = 0; i < points.size(); ++i)
            h.push_back(b.text({.text = "T" + std::to_string(i), .insertion = points[i]}));
        use(b);
        page().CheckBox1->setChecked(false);
        fetch(h);
        messages().clear();
    }
    void align() { page().SpeedButton6->click(); }
    cad::CadPoint at(const std::string& handle) { return textEntity(handle)->InsertionPoint(); }

    std::vector<std::string> h;
};

TEST_F(TextAlignmentTest, TextsMoveToTheFirstPointStepByStep) {
    fetchAt({{0, 0, 0}, {3, 7, 0}, {9, 1, 0}});
    setSpacing(QStringLiteral("0"), QStringLiteral("-5"));
    align();
    EXPECT_EQ(at(h[0]), cad::CadPoint(0, 0, 0));
    EXPECT_EQ(at(h[1]), cad::CadPoint(0, -5, 0));
    EXPECT_EQ(at(h[2]), cad::CadPoint(0, -10, 0));
    EXPECT_EQ(records()[2].insPt, cad::CadPoint(0, -10, 0));
    EXPECT_EQ(model->regenCount(), 0) << "nothing to trim, no regeneration";
    EXPECT_FALSE(form->work().runFlag);
}

TEST_F(TextAlignmentTest, LinesAreWrittenAndBlankLinesDeleteInTheSameRun) {
    fetchAt({{0, 0, 0}, {3, 7, 0}, {9, 1, 0}});
    setSpacing(QStringLiteral("2"), QStringLiteral("0"));
    setLines(QStringLiteral("a\n\nc"));
    align();
    EXPECT_EQ(drawingText(h[0]), "a");
    EXPECT_FALSE(exists(h[1]));
    EXPECT_TRUE(records()[1].sHnd.empty());
    EXPECT_EQ(at(h[2]), cad::CadPoint(4, 0, 0));
}

TEST_F(TextAlignmentTest, RightAlignedTextIsPlacedByItsAlignmentPoint) {
    DrawingBuilder b;
    h.push_back(b.text({.text = "L", .insertion = {0, 0, 0}}));
    h.push_back(b.text(
        {.text = "R", .alignment = 2, .insertion = {1, 1, 0}, .alignmentPoint = {20, 3, 0}}));
    use(b);
    page().CheckBox1->setChecked(false);
    fetch(h);
    setSpacing(QStringLiteral("0"), QStringLiteral("-5"));
    align();
    EXPECT_EQ(textEntity(h[1])->TextAlignmentPoint(), cad::CadPoint(0, -5, 0));
}

TEST_F(TextAlignmentTest, TinySpacingMovesNothingButSurplusTextsGo) {
    fetchAt({{0, 0, 0}, {3, 7, 0}, {9, 1, 0}, {4, 4, 0}, {5, 5, 0}});
    setSpacing(QStringLiteral("0.01"), QStringLiteral("0"));
    setLines(QStringLiteral("x\ny\nz"));
    align();
    EXPECT_EQ(at(h[1]), cad::CadPoint(3, 7, 0));
    EXPECT_EQ(drawingText(h[0]), "T0") << "no line written without spacing";
    EXPECT_FALSE(exists(h[3]));
    EXPECT_FALSE(exists(h[4]));
    ASSERT_EQ(records().size(), 5u) << "surplus records stay as placeholders";
    EXPECT_TRUE(records()[4].sHnd.empty());
    EXPECT_EQ(model->regenCount(), 1);
}

TEST_F(TextAlignmentTest, ExtraLinesBecomeCopiesOfTheTemplateAtTheirSteps) {
    fetchAt({{10, 10, 0}, {10, 8, 0}, {10, 6, 0}});
    setSpacing(QStringLiteral("0"), QStringLiteral("-2"));
    setLines(QStringLiteral("a\nb\nc\nd\ne"));
    align();
    ASSERT_EQ(records().size(), 5u);
    EXPECT_EQ(drawingText(records()[3].sHnd), "d");
    EXPECT_EQ(at(records()[3].sHnd), cad::CadPoint(10, 4, 0));
    EXPECT_EQ(at(records()[4].sHnd), cad::CadPoint(10, 2, 0));
    EXPECT_EQ(records()[4].text, "e");
}

TEST_F(TextAlignmentTest, ATextGoneFromTheCadIsPassedOver) {
    fetchAt({{0, 0, 0}, {3, 7, 0}, {9, 1, 0}});
    textEntity(h[1])->Delete();
    setSpacing(QStringLiteral("0"), QStringLiteral("-5"));
    setLines(QStringLiteral("a\nb\nc"));
    align();
    EXPECT_EQ(drawingText(h[0]), "a");
    EXPECT_EQ(drawingText(h[2]), "c");
    EXPECT_EQ(at(h[2]), cad::CadPoint(0, -10, 0));
    EXPECT_TRUE(messages().empty());
}

TEST_F(TextAlignmentTest, AFailedMoveStopsWithItsMessage) {
    fetchAt({{0, 0, 0}, {3, 7, 0}, {9, 1, 0}});
    faults->failOn("SetInsertionPoint", h[1]);
    setSpacing(QStringLiteral("0"), QStringLiteral("-5"));
    align();
    EXPECT_EQ(messageTexts(),
              QStringList{QStringLiteral("エラーのため、更新処理を中止しました．")});
    EXPECT_EQ(at(h[0]), cad::CadPoint(0, 0, 0));
    EXPECT_EQ(at(h[2]), cad::CadPoint(9, 1, 0));
    EXPECT_FALSE(form->work().runFlag);
    EXPECT_FALSE(page().SpeedButton5->isEnabled());
}

TEST_F(TextAlignmentTest, EnterInTheSpacingBoxes) {
    fetchAt({{0, 0, 0}, {3, 7, 0}});
    form->show();
    page().Edit1->setText(QStringLiteral("0"));
    page().Edit2->setText(QStringLiteral("-5"));
    QTest::keyClick(page().Edit1, Qt::Key_Return);
    EXPECT_EQ(at(h[1]), cad::CadPoint(3, 7, 0)) << "Enter in dX does not align";
    QTest::keyClick(page().Edit2, Qt::Key_Return);
    EXPECT_EQ(at(h[1]), cad::CadPoint(0, -5, 0));
    page().SpeedButton6->setEnabled(false);
    page().Edit2->setText(QStringLiteral("-9"));
    QTest::keyClick(page().Edit2, Qt::Key_Return);
    EXPECT_EQ(at(h[1]), cad::CadPoint(0, -5, 0)) << "a disabled button does not align";
}

} // namespace
} // namespace kalvex::testing
