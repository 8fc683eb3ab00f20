#include <gtest/gtest.h>

#include <functional>

#include "DxfTestSupport.h"
#include "cadlink/Application.h"
#include "cadlink/BlockReference.h"
#include "cadlink/Text.h"
#include "drawing/cad/CadModel.h"
#include "drawing/dxf/DxfFile.h"
#include "drawing/entities/TextEntity.h"

namespace kalvex::drawing {
namespace {

using test::dxfOf;

class DxfEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        original = dxfOf(test::r2000Drawing());
        model = CadModel::create(parseDxf(original, "plant.dxf"));
        document = model->application()->ActiveDocument();
    }
    std::shared_ptr<cad::Text> text(const std::string& handle) {
        return cad::entityAs<cad::Text>(document->HandleToObject(handle));
    }
    std::string saved() const { return model->drawing().serialize(); }
    // The original with one line replaced.
    std::string originalWith(const std::string& line, const std::string& replacement) const {
        std::string expected = original;
        const std::size_t at = expected.find("\n" + line + "\n");
        EXPECT_NE(at, std::string::npos) << line;
        return expected.replace(at + 1, line.size(), replacement);
    }

    std::string original;
    std::shared_ptr<CadModel> model;
    cad::DocumentPtr document;
};

TEST_F(DxfEditTest, ReadsTextsInTheDrawingsCodePageAndEscapes) {
    EXPECT_EQ(text("20")->TextString(), "テスト");
    EXPECT_EQ(text("21")->TextString(), "配線");
    EXPECT_EQ(text("20")->Alignment(), 2); // a padded 72 still reads as a number
    EXPECT_EQ(text("20")->TextAlignmentPoint(), cad::CadPoint(9, 2, 0));
    auto insert = cad::entityAs<cad::BlockReference>(document->HandleToObject("22"));
    const auto attributes = insert->GetAttributes();
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_EQ(attributes[0]->TagString(), "NO");
    EXPECT_EQ(attributes[1]->TextString(), "embedded"); // a multi-line attribute's own text
    EXPECT_EQ(attributes[1]->InsertionPoint(), cad::CadPoint(5, 4, 0));
    EXPECT_THROW(attributes[1]->SetTextString("x"), cad::CadError); // "LOCKED" is "Locked"
    EXPECT_NO_THROW(attributes[0]->SetTextString("P-2"));
    auto layers = document->GetLayers();
    EXPECT_TRUE(layers->Item(1)->Lock());
    EXPECT_EQ(document->GetBlocks()->Item(0)->Item(0)->PromptString(), "Number?");
}

TEST_F(DxfEditTest, AnUnchangedStringKeepsItsBytesAndAChangedOneRewritesOnlyItsLine) {
    text("21")->SetTextString("配線"); // the same text: the escapes stay as they were
    EXPECT_EQ(saved(), original);
    text("20")->SetTextString("テスト2");
    EXPECT_EQ(saved(), originalWith("\x83\x65\x83\x58\x83\x67", "\x83\x65\x83\x58\x83\x67"
                                                                "2"));
}

TEST_F(DxfEditTest, ACharacterTheCodePageLacksIsWrittenAsAnEscape) {
    text("20")->SetTextString("A€😀");
    EXPECT_EQ(saved(), originalWith("\x83\x65\x83\x58\x83\x67", "A\\U+20AC\\U+D83D\\U+DE00"));
    EXPECT_EQ(text("20")->TextString(), "A€😀");
}

TEST_F(DxfEditTest, MovingATextRewritesOnlyItsCoordinates) {
    text("20")->SetInsertionPoint({1.5, 7.25, 0}); // aligned right: its alignment point follows
    std::string expected = originalWith(" 20\n2", " 20\n7.25");
    expected.replace(expected.find(" 21\n2\n"), 6, " 21\n7.25\n");
    EXPECT_EQ(saved(), expected);
}

TEST_F(DxfEditTest, DeleteRemovesExactlyTheEntitysPairs) {
    document->HandleToObject("22")->Delete();
    const std::size_t from = original.find("  0\nINSERT\n");
    const std::size_t to = original.find("  0\nENDSEC\n", from);
    std::string expected = original;
    expected.erase(from, to - from);
    EXPECT_EQ(saved(), expected);
}

TEST_F(DxfEditTest, CopyClonesThePairsWithAFreshHandleAndWithoutReactorsOrDictionary) {
    const std::string handle = text("20")->Copy()->Handle();
    EXPECT_EQ(handle, "30");
    const std::string out = saved();
    const std::string expectedCopy =
        dxfOf({{"0", "TEXT"}, {"5", "30"}, {"330", "1F"}, {"100", "AcDbEntity"}, {"8", "0"}});
    const std::size_t copyAt = out.find(expectedCopy);
    ASSERT_NE(copyAt, std::string::npos) << out;
    EXPECT_LT(out.find("  0\nSEQEND\n"), copyAt); // appended after the last entity
    EXPECT_NE(out.find(" 72\n     2\n", copyAt), std::string::npos);
    EXPECT_NE(out.find("1000\nextra\n", copyAt), std::string::npos);
    EXPECT_EQ(out.find("ACAD_REACTORS", copyAt), std::string::npos);
    EXPECT_NE(out.find("$HANDSEED\n  5\n31\n"), std::string::npos);
}

TEST_F(DxfEditTest, CopyOfABlockReferenceRewiresItsPartsToTheNewOwner) {
    document->HandleToObject("22")->Copy();
    const std::string out = saved();
    const std::size_t copyAt = out.find("  0\nINSERT\n  5\n30\n");
    ASSERT_NE(copyAt, std::string::npos);
    EXPECT_NE(out.find("  0\nATTRIB\n  5\n31\n330\n30\n", copyAt), std::string::npos);
    EXPECT_NE(out.find("  0\nATTRIB\n  5\n32\n330\n30\n", copyAt), std::string::npos);
    EXPECT_NE(out.find("  0\nSEQEND\n  5\n33\n330\n30\n", copyAt), std::string::npos);
    auto reread = CadModel::create(parseDxf(out, "copy.dxf"));
    auto copy = cad::entityAs<cad::BlockReference>(
        reread->application()->ActiveDocument()->HandleToObject("30"));
    EXPECT_EQ(copy->GetAttributes().size(), 2u);
}

TEST_F(DxfEditTest, SavedChangesReadBackAndUndoRestoresTheOriginalBytes) {
    document->StartUndoMark();
    text("20")->SetTextString("変更");
    text("20")->SetAlignment(0);
    document->HandleToObject("22")->Delete();
    auto reread = CadModel::create(parseDxf(saved(), "again.dxf"));
    auto again = reread->application()->ActiveDocument();
    EXPECT_EQ(cad::entityAs<cad::Text>(again->HandleToObject("20"))->TextString(), "変更");
    EXPECT_THROW(again->HandleToObject("23"), cad::CadError);
    model->drawing().undo();
    EXPECT_EQ(saved(), original);
}

// Changes in place (a new string), changes that add pairs (an alignment) and changes of other
// records, one step each: every undo gives back exactly the bytes before that step, every
// redo those after it. A string written in place keeps the old pair alone for undo.
TEST_F(DxfEditTest, UndoAndRedoOfChangesInPlaceAndOfWholeRecordsGiveBackEachStepsBytes) {
    Drawing& drawing = model->drawing();
    std::vector<std::string> steps{saved()};
    const auto step = [&](const std::function<void()>& change) {
        document->StartUndoMark();
        change();
        steps.push_back(saved());
        ASSERT_NE(steps.back(), steps[steps.size() - 2]);
    };
    step([&] { text("20")->SetTextString("first"); });
    const std::vector<RecordChange>& inPlace = drawing.undoLog().groupToUndo();
    ASSERT_EQ(inPlace.size(), 1u);
    EXPECT_NE(inPlace[0].pairIndex, RecordChange::kWholeRecord);
    EXPECT_TRUE(inPlace[0].other.tags.empty());
    step([&] { text("20")->SetAlignment(4); });
    step([&] { text("20")->SetTextString("second"); });
    step([&] {
        text("20")->SetTextString("third");
        text("21")->SetTextString("other");
    });
    step([&] { document->HandleToObject("21")->Delete(); });
    for (std::size_t i = steps.size() - 1; i-- > 0;) {
        drawing.undo();
        ASSERT_EQ(saved(), steps[i]) << "undo to step " << i;
    }
    for (std::size_t i = 1; i < steps.size(); ++i) {
        drawing.redo();
        ASSERT_EQ(saved(), steps[i]) << "redo to step " << i;
    }
}

// Without history a change is kept and saved, nothing can be undone, and the drawing counts as
// changed until it is saved.
TEST_F(DxfEditTest, ADrawingWithoutHistoryKeepsChangesButNoUndoSteps) {
    Drawing& drawing = model->drawing();
    drawing.keepNoHistory();
    EXPECT_TRUE(drawing.undoLog().atSavedStep());
    text("20")->SetTextString("new");
    text("20")->SetAlignment(4);
    EXPECT_FALSE(drawing.undoLog().canUndo());
    EXPECT_FALSE(drawing.undoLog().atSavedStep());
    const std::string changed = saved();
    EXPECT_NE(changed, original);
    drawing.undo();
    EXPECT_EQ(saved(), changed);
    drawing.undoLog().markSaved();
    EXPECT_TRUE(drawing.undoLog().atSavedStep());
}

// Saving hands the file on in pieces, long unchanged stretches straight from the bytes read:
// the pieces make up what serialize() gives, with changed, erased and copied entities between
// the stretches, and nothing is handed on once the sink has failed.
TEST(DxfWrite, ThePiecesOfALargeDrawingMakeUpTheWholeFile) {
    test::Pairs pairs{{"0", "SECTION"}, {"2", "ENTITIES"}};
    for (int i = 0; i < 30000; ++i) {
        const std::string handle = std::to_string(100000 + i);
        pairs.insert(pairs.end(), {{"0", "TEXT"},
                                   {"5", handle},
                                   {"8", "0"},
                                   {"10", "1.5"},
                                   {"20", "2.5"},
                                   {"40", "2.5"},
                                   {"1", "TEXT " + handle}});
    }
    pairs.insert(pairs.end(), {{"0", "ENDSEC"}, {"0", "EOF"}});
    const std::string bytes = dxfOf(pairs, "\r\n") + "after EOF";
    auto model = CadModel::create(parseDxf(bytes, "large.dxf"));
    Drawing& drawing = model->drawing();
    const auto collect = [&](std::size_t failAfter) {
        std::string written;
        std::size_t pieces = 0;
        const bool done = drawing.write([&](std::string_view piece) {
            EXPECT_LT(pieces, failAfter) << "a piece handed on after the sink failed";
            written += piece;
            return ++pieces < failAfter;
        });
        return std::make_pair(written, done);
    };
    EXPECT_EQ(collect(SIZE_MAX), std::make_pair(bytes, true));
    auto document = model->application()->ActiveDocument();
    const std::vector<RecordId> texts = drawing.modelSpace();
    for (std::size_t i = 0; i < texts.size(); i += 7000)
        TextEntity(drawing, texts[i]).setTextString("changed " + std::to_string(i));
    document->HandleToObject("100010")->Delete();
    document->HandleToObject("100011")->Copy();
    const std::string whole = drawing.serialize();
    EXPECT_NE(whole, bytes);
    EXPECT_EQ(collect(SIZE_MAX), std::make_pair(whole, true));
    EXPECT_FALSE(collect(2).second);
}

TEST(DxfMultiLineAttribute, TheEmbeddedTextIsReadWholeAndRewrittenWithTheValue) {
    const std::string bytes = test::dxfOf(
        {{"0", "SECTION"}, {"2", "ENTITIES"}, {"0", "INSERT"},  {"5", "A"},
         {"66", "1"},      {"2", "B"},        {"0", "ATTRIB"},  {"5", "B"},
         {"8", "0"},       {"1", ""},         {"2", "NOTE"},    {"101", "Embedded Object"},
         {"10", "0"},      {"3", "front "},   {"3", "middle "}, {"1", "end"},
         {"73", "1"},      {"1001", "APP"},   {"1000", "kept"}, {"0", "SEQEND"},
         {"5", "C"},       {"0", "ENDSEC"},   {"0", "EOF"}});
    auto model = CadModel::create(parseDxf(bytes, "multi.dxf"));
    auto attribute = cad::entityAs<cad::AttributeReference>(
        model->application()->ActiveDocument()->HandleToObject("B"));
    EXPECT_EQ(attribute->TextString(), "front middle end");
    attribute->SetTextString("front middle end");
    EXPECT_EQ(model->drawing().serialize(), bytes);
    attribute->SetTextString("new");
    EXPECT_EQ(attribute->TextString(), "new");
    std::string expected = bytes;
    expected.replace(expected.find("  1\n\n"), 5, "  1\nnew\n");
    const std::string oldEmbedded = "  3\nfront \n  3\nmiddle \n  1\nend\n";
    expected.replace(expected.find(oldEmbedded), oldEmbedded.size(), "  1\nnew\n");
    EXPECT_EQ(model->drawing().serialize(), expected);
}

TEST(DxfAlignment, AlignmentCodesAreReadFromTheirOwnSubclassesAndWrittenWhereMissing) {
    const std::string bare = dxfOf({{"0", "SECTION"},
                                    {"2", "ENTITIES"},
                                    {"0", "TEXT"},
                                    {"5", "A"},
                                    {"8", "0"},
                                    {"10", "1"},
                                    {"20", "2"},
                                    {"40", "1"},
                                    {"1", "x"},
                                    {"0", "ENDSEC"},
                                    {"0", "EOF"}});
    auto model = CadModel::create(parseDxf(bare, "bare.dxf"));
    auto t = cad::entityAs<cad::Text>(model->application()->ActiveDocument()->HandleToObject("a"));
    EXPECT_EQ(t->Alignment(), 0);
    t->SetAlignment(0);
    EXPECT_EQ(model->drawing().serialize(), bare); // nothing to write
    t->SetAlignment(7);                            // top centre
    EXPECT_EQ(t->Alignment(), 7);
    EXPECT_EQ(t->TextAlignmentPoint(), cad::CadPoint(1, 2, 0));
    const std::string out = model->drawing().serialize();
    EXPECT_NE(out.find("  1\nx\n 72\n1\n 11\n1.0\n 21\n2.0\n 73\n3\n"), std::string::npos) << out;
}

// Texts placed by their alignment points as ezdxf and CAD programs write them: right-aligned,
// "aligned" (its baseline runs from code 10 to code 11), left with a leftover code 11,
// right-aligned without code 11, and an attribute aligned top centre.
// clang-format off
const test::Pairs kPlacedTexts = {
    {"0", "SECTION"}, {"2", "ENTITIES"},
    {"0", "TEXT"}, {"5", "A"}, {"10", "110"}, {"20", "90"}, {"1", "R"}, {"72", "2"},
    {"11", "120"}, {"21", "90"},
    {"0", "TEXT"}, {"5", "B"}, {"10", "100"}, {"20", "90"}, {"1", "AL"}, {"72", "3"},
    {"11", "120"}, {"21", "90"},
    {"0", "TEXT"}, {"5", "C"}, {"10", "1"}, {"20", "2"}, {"1", "L"}, {"11", "500"}, {"21", "500"},
    {"0", "TEXT"}, {"5", "D"}, {"10", "30"}, {"20", "40"}, {"1", "N"}, {"72", "2"},
    {"0", "INSERT"}, {"5", "E"}, {"66", "1"}, {"2", "B"}, {"10", "0"}, {"20", "0"},
    {"0", "ATTRIB"}, {"5", "F"}, {"10", "5"}, {"20", "6"}, {"1", "v"}, {"2", "T"}, {"72", "1"},
    {"11", "7"}, {"21", "8"}, {"74", "3"},
    {"0", "SEQEND"}, {"5", "G"},
    {"0", "ENDSEC"}, {"0", "EOF"}};
// clang-format on

TEST(DxfAlignment, MovingOnePointOfATextNotAlignedLeftMovesTheOtherAlong) {
    using Move = void (TextEntity::*)(const cad::CadPoint&);
    const Move byAlignment = &TextEntity::setAlignmentPoint;
    const Move byInsertion = &TextEntity::setInsertionPoint;
    struct Case {
        const char* handle;
        Move move;
        cad::CadPoint to, insertion, alignment;
    };
    const Case cases[] = {
        {"A", byAlignment, {120, 80}, {110, 80}, {120, 80}},
        {"A", byInsertion, {0, 0}, {0, 0}, {10, 0}},
        {"B", byAlignment, {130, 70}, {110, 70}, {130, 70}},
        {"B", byInsertion, {0, 0}, {0, 0}, {20, 0}},
        {"C", byInsertion, {3, 4}, {3, 4}, {500, 500}}, // left: code 11 means nothing
        {"C", byAlignment, {9, 9}, {1, 2}, {9, 9}},
        {"D", byAlignment, {50, 60}, {50, 60}, {50, 60}}, // no code 11: both points were one
        {"F", byAlignment, {17, 18}, {15, 16}, {17, 18}},
        {"F", byInsertion, {0, 0, 1}, {0, 0, 1}, {2, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handle);
        auto drawing = parseDxf(test::dxfOf(kPlacedTexts), "placed.dxf");
        const RecordId id = *drawing->findHandle(c.handle);
        (TextEntity(*drawing, id).*c.move)(c.to);
        // What is saved reads back the same.
        auto reread = parseDxf(drawing->serialize(), "placed.dxf");
        const TextEntity text(*reread, id);
        EXPECT_EQ(text.insertionPoint(), c.insertion);
        EXPECT_EQ(text.alignmentPoint(), c.alignment);
    }
}

TEST(DxfAlignment, ATextAlignedLeftTakesItsInsertionPointAsAlignmentPointWhenRealigned) {
    auto model = CadModel::create(parseDxf(test::dxfOf(kPlacedTexts), "placed.dxf"));
    auto left =
        cad::entityAs<cad::Text>(model->application()->ActiveDocument()->HandleToObject("C"));
    left->SetAlignment(2);
    EXPECT_EQ(left->TextAlignmentPoint(), cad::CadPoint(1, 2, 0));
    left->SetTextAlignmentPoint({10, 10, 0});
    EXPECT_EQ(left->InsertionPoint(), cad::CadPoint(10, 10, 0));
}

} // namespace
} // namespace kalvex::drawing
