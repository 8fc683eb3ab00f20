#include <gtest/gtest.h>

#include <algorithm>

#include "DxfTestSupport.h"
#include "cadlink/Application.h"
#include "cadlink/Text.h"
#include "drawing/cad/CadModel.h"
#include "drawing/dxf/DxfFile.h"

namespace kalvex::drawing {
namespace {

using test::dxfOf;

std::string errorOf(const std::string& bytes) {
    try {
        parseDxf(bytes, "bad.dxf");
    } catch (const dxf::DxfError& error) {
        return error.what();
    }
    return "(no error)";
}

const std::string kEntitiesStart = "  0\nSECTION\n  2\nENTITIES\n";

TEST(DxfRead, DamagedFilesAreRefusedNamingFileAndLine) {
    struct Case {
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {kEntitiesStart + "  0\nTEXT\n  8\n", "bad.dxf:7: the file ends after a group code"},
        {kEntitiesStart + "  0\nTEXT\n  8\n0\nX1\nfoo\n",
         "bad.dxf:9: the group code \"X1\" is not"},
        {kEntitiesStart + "  0\nTEXT\n 10\n1.5.5\n", "bad.dxf:8: the value \"1.5.5\" does not fit "
                                                     "group code 10"},
        {kEntitiesStart + "  0\nTEXT\n 70\nabc\n", "bad.dxf:8: the value \"abc\" does not fit"},
        {kEntitiesStart +
             "  0\nINSERT\n 66\n1\n  2\nB\n  0\nATTRIB\n  2\nT\n  0\nTEXT\n  1\nx\n  0\nENDSEC\n",
         "bad.dxf:5: the attributes of this INSERT are not closed by SEQEND"},
        {kEntitiesStart + "  0\nINSERT\n 66\n     1\n  0\nENDSEC\n",
         "bad.dxf:5: the attributes of this INSERT are not closed by SEQEND"},
        {"", "bad.dxf:1: the file holds no DXF data"},
        {std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), "bad.dxf: this is a binary DXF file"},
        {"AC1032\0\0\0\0", "bad.dxf: this is a DWG file"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.bytes).rfind(c.message, 0), 0u)
            << "got: " << errorOf(c.bytes) << "\nwanted: " << c.message;
}

TEST(DxfRead, MessyButReadableFilesRoundTripByteForByte) {
    const std::string crlf = dxfOf(test::r2000Drawing(), "\r\n");
    const std::string padded = " 0 \nSECTION\n2\nENTITIES\n   0\nTEXT\n  1\n  padded  \n0\nENDSEC\n"
                               "  0\nEOF\n";
    const std::string trailing = dxfOf(test::r2000Drawing()) + "\x1a garbage\nafter EOF";
    const std::string utf8 = kEntitiesStart + "  0\nTEXT\n  5\nA\n  1\n\xe2\x80\xa6\xc5\x85 x\n"
                                              "  0\nENDSEC\n  0\nEOF";
    for (const std::string& bytes : {crlf, padded, trailing, utf8}) {
        std::shared_ptr<Drawing> drawing;
        ASSERT_NO_THROW(drawing = parseDxf(bytes, "messy.dxf")) << bytes;
        EXPECT_EQ(drawing->serialize(), bytes);
        EXPECT_TRUE(drawing->warnings().empty()) << drawing->warnings().front();
    }
}

TEST(DxfRead, AChangedValueInACrLfFileKeepsCrLf) {
    const std::string crlf = dxfOf(test::r2000Drawing(), "\r\n");
    auto model = CadModel::create(parseDxf(crlf, "crlf.dxf"));
    auto document = model->application()->ActiveDocument();
    cad::entityAs<cad::Text>(document->HandleToObject("20"))->SetTextString("ABC");
    cad::entityAs<cad::Text>(document->HandleToObject("20"))->Copy();
    const std::string out = model->drawing().serialize();
    EXPECT_NE(out.find("  1\r\nABC\r\n"), std::string::npos);
    for (std::size_t lf = out.find('\n'); lf != std::string::npos; lf = out.find('\n', lf + 1))
        ASSERT_EQ(out[lf - 1], '\r') << "bare LF at byte " << lf;
}

TEST(DxfRead, EntitiesWithoutUsableHandlesGetHandlesInMemoryOnly) {
    const std::string bytes = dxfOf(
        {{"0", "SECTION"}, {"2", "HEADER"},   {"9", "$HANDSEED"}, {"5", "5"},      {"0", "ENDSEC"},
         {"0", "SECTION"}, {"2", "ENTITIES"}, {"0", "TEXT"},      {"5", "40"},     {"1", "a"},
         {"0", "TEXT"},    {"5", ""},         {"1", "b"},         {"0", "TEXT"},   {"1", "c"},
         {"0", "TEXT"},    {"5", "40"},       {"1", "d"},         {"0", "ENDSEC"}, {"0", "EOF"}});
    auto drawing = parseDxf(bytes, "handles.dxf");
    ASSERT_EQ(drawing->warnings().size(), 1u);
    EXPECT_EQ(drawing->warnings()[0], "handles.dxf:31: duplicate handle 40");
    auto model = CadModel::create(drawing);
    auto set = model->application()->ActiveDocument()->GetSelectionSets()->Add("S");
    set->Select(cad::SelectionSet::Mode::All, cad::SelectionFilter::of({{0, "TEXT"}}));
    ASSERT_EQ(set->Count(), 4);
    std::set<std::string> handles;
    for (int i = 0; i < 4; ++i) {
        const std::string handle = set->Item(i)->Handle();
        handles.insert(handle);
        auto t = cad::entityAs<cad::Text>(
            model->application()->ActiveDocument()->HandleToObject(handle));
        EXPECT_EQ(t->TextString(), std::string(1, static_cast<char>('a' + i)));
    }
    EXPECT_EQ(handles, (std::set<std::string>{"40", "41", "42", "43"})); // above both seed and file
    EXPECT_EQ(drawing->serialize(), bytes);
    // A copy takes the next handle and moves the seed past it.
    cad::entityAs<cad::Text>(set->Item(1))->Copy();
    EXPECT_NE(drawing->serialize().find("$HANDSEED\n  5\n45\n"), std::string::npos);
}

TEST(DxfRead, SelectAllTakesModelSpaceOnlyAndHandlesOfOtherObjectsAreNoEntities) {
    const std::string bytes = dxfOf(
        {{"0", "SECTION"}, {"2", "TABLES"},   {"0", "TABLE"},     {"2", "STYLE"},  {"5", "3"},
         {"0", "STYLE"},   {"5", "4"},        {"2", "STANDARD"},  {"0", "ENDTAB"}, {"0", "ENDSEC"},
         {"0", "SECTION"}, {"2", "ENTITIES"}, {"0", "TEXT"},      {"5", "10"},     {"1", "model"},
         {"0", "TEXT"},    {"5", "11"},       {"67", "1"},        {"1", "paper"},  {"0", "TEXT"},
         {"5", "12"},      {"67", "0"},       {"1", "model too"}, {"0", "ENDSEC"}, {"0", "EOF"}});
    auto model = CadModel::create(parseDxf(bytes, "spaces.dxf"));
    auto document = model->application()->ActiveDocument();
    auto set = document->GetSelectionSets()->Add("S");
    set->Select(cad::SelectionSet::Mode::All, cad::SelectionFilter::of({{0, "*"}}));
    ASSERT_EQ(set->Count(), 2);
    EXPECT_EQ(set->Item(0)->Handle(), "10");
    EXPECT_EQ(set->Item(1)->Handle(), "12");
    EXPECT_NO_THROW(document->HandleToObject("11"));            // paper space entities can be found
    EXPECT_THROW(document->HandleToObject("4"), cad::CadError); // a text style is no entity
    EXPECT_THROW(document->HandleToObject("3"), cad::CadError);
}

TEST(DxfRead, AFileWithoutEofLoadsWithAWarningAndGainsEof) {
    const std::string bytes = kEntitiesStart + "  0\nTEXT\n  1\nlast\n  0\nENDSEC";
    auto drawing = parseDxf(bytes, "cut.dxf");
    ASSERT_EQ(drawing->warnings().size(), 1u);
    EXPECT_EQ(drawing->warnings()[0], "cut.dxf: the file ends without EOF; saving it adds EOF");
    EXPECT_EQ(drawing->serialize(), bytes + "\n  0\nEOF\n");
}

TEST(DxfRead, ADrawingCutOffInsideASectionIsDamaged) {
    const std::string whole = dxfOf(test::r2000Drawing());
    const std::string unclosed = " the drawing is incomplete";
    const std::pair<std::string, std::string> cases[] = {
        // cut before the second TEXT, with and without an EOF written after the cut
        {whole.substr(0, whole.find("  0\nTEXT\n  5\n21\n")),
         "bad.dxf:138: the file ends inside the ENTITIES section, which has no ENDSEC:"},
        {whole.substr(0, whole.find("  0\nTEXT\n  5\n21\n")) + "  0\nEOF\n",
         "bad.dxf:140: the file ends inside the ENTITIES section, which has no ENDSEC:"},
        {whole.substr(0, whole.find("  0\nENDSEC\n  0\nSECTION\n  2\nTABLES")),
         "bad.dxf:16: the file ends inside the HEADER section, which has no ENDSEC:"},
        {kEntitiesStart + "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n  0\nEOF\n",
         "bad.dxf:5: a new SECTION begins inside the ENTITIES section, which has no ENDSEC:"},
    };
    for (const auto& [bytes, message] : cases)
        EXPECT_EQ(errorOf(bytes), message + unclosed);
}

TEST(DxfRead, WhatIsNoDxfFileIsNamedInPlainWords) {
    const std::string dxf = dxfOf(test::r2000Drawing());
    std::string utf16;
    for (char c : dxf)
        utf16 += std::string{c, '\0'};
    std::string crOnly = dxf;
    std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
    const std::pair<std::string, std::string> cases[] = {
        {"Dear reader,\nthis is a letter.\n", "(its first line is not the group code a DXF"},
        {"12\nTwelve\n", "(its first line is not the group code a DXF"},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "(it is a PNG image)"},
        {"\xFF\xFE" + utf16, "(it is UTF-16 text; a DXF file is ASCII or UTF-8 text)"},
        {utf16, "(it is UTF-16 text;"},
        {std::string("PK\x03\x04\x14\0\x06\0", 8), "(it holds binary data, not lines of text)"},
        {"\xEF\xBB\xBF" + dxf, "(it begins with a UTF-8 byte-order mark"},
    };
    for (const auto& [bytes, reason] : cases)
        EXPECT_EQ(errorOf(bytes).rfind("bad.dxf: not a DXF file " + reason, 0), 0u)
            << errorOf(bytes);
    EXPECT_EQ(errorOf(crOnly), "bad.dxf: lines end in CR only");
    // Damage further on is named by its line, without the bytes that are no text.
    EXPECT_EQ(errorOf(kEntitiesStart + "\x89\x01\n1\n"),
              "bad.dxf:5: the group code is not a number");
    EXPECT_EQ(errorOf(kEntitiesStart + " 10\n\x80\x81\n"),
              "bad.dxf:6: the value does not fit group code 10");
}

// The reader takes the common shapes of code lines and numbers by a short path and every other
// shape by the full one: both must agree on what is a number, whatever the line's length.
TEST(DxfRead, GroupCodesAndNumbersOfEveryShapeReadAsBefore) {
    for (const char* code : {"10", " 10", "   10", "10 ", "\t10", "+10", "010", "0010", "00010"}) {
        auto drawing = parseDxf(kEntitiesStart + "  0\nTEXT\n  5\nA\n" + code +
                                    "\n2.5\n  0\nENDSEC\n  0\nEOF\n",
                                "codes.dxf");
        auto text = cad::entityAs<cad::Text>(
            CadModel::create(drawing)->application()->ActiveDocument()->HandleToObject("A"));
        EXPECT_EQ(text->InsertionPoint().x(), 2.5) << code;
    }
    for (const char* code : {"-", "1 0", "10x", "123456", "99999"})
        EXPECT_EQ(errorOf(kEntitiesStart + code + "\n1\n").rfind("bad.dxf:5: the group code", 0),
                  0u)
            << code;
    for (const char* value :
         {"1.", ".5", "-.5", "-0", "12345678901234567890.5", "+1", " 1", "1e3", "-1E-3 ", "007"})
        EXPECT_EQ(
            errorOf(kEntitiesStart + "  0\nTEXT\n 10\n" + value + "\n  0\nENDSEC\n  0\nEOF\n"),
            "(no error)")
            << value;
    for (const char* value : {"-", ".", "-.", "1..2", "--1", "1-", "1.5.", "0x10", ""})
        EXPECT_EQ(errorOf(kEntitiesStart + "  0\nTEXT\n 10\n" + value + "\n"),
                  "bad.dxf:8: the value \"" + std::string(value) + "\" does not fit group code 10")
            << value;
}

// A point's three coordinates are read in one pass: the first of each code in the main part,
// none from an application group or an extension, 0 for a missing one, in any order.
TEST(DxfRead, PointsTakeTheFirstCoordinateOfEachCodeOutsideGroups) {
    const std::string bytes =
        kEntitiesStart +
        "  0\nTEXT\n  5\nA\n102\n{APP\n 10\n99\n102\n}\n 21\n7\n 20\n2\n 11\n6\n 10\n1\n"
        " 20\n55\n 72\n1\n 31\n8\n100\nAcDbText\n 30\n3\n"
        "  0\nTEXT\n  5\nB\n 10\n4\n 20\n5\n101\nEmbedded Object\n 30\n9\n"
        "  0\nENDSEC\n  0\nEOF\n";
    auto document =
        CadModel::create(parseDxf(bytes, "points.dxf"))->application()->ActiveDocument();
    auto a = cad::entityAs<cad::Text>(document->HandleToObject("A"));
    EXPECT_EQ(a->InsertionPoint(), cad::CadPoint(1, 2, 3));
    EXPECT_EQ(a->TextAlignmentPoint(), cad::CadPoint(6, 7, 8));
    auto b = cad::entityAs<cad::Text>(document->HandleToObject("B"));
    EXPECT_EQ(b->InsertionPoint(), cad::CadPoint(4, 5, 0));
}

// A line feed is found wherever it falls in the eight-byte words the reader scans.
TEST(DxfRead, ValuesOfEveryLengthRoundTripByteForByte) {
    std::string bytes = kEntitiesStart;
    for (int length = 0; length < 40; ++length)
        bytes += "  0\nTEXT\n  5\n" + std::to_string(100 + length) + "\n  1\n" +
                 std::string(static_cast<std::size_t>(length), 'x') + "\n";
    bytes += "  0\nENDSEC\n  0\nEOF";
    for (std::size_t cut = 0; cut < 9; ++cut) {
        const std::string file = bytes + std::string(cut, '\n');
        EXPECT_EQ(parseDxf(file, "lengths.dxf")->serialize(), file) << cut;
    }
}

TEST(DxfRead, EveryNumberThatIsNotFiniteIsADamagedValue) {
    for (const char* value : {"nan", "-nan", "NaN", "inf", "-inf", "infinity", "1e999", "-1e400"}) {
        const std::string bytes = kEntitiesStart + "  0\nTEXT\n 10\n" + value + "\n";
        EXPECT_EQ(errorOf(bytes), "bad.dxf:8: the value \"" + std::string(value) +
                                      "\" of group code 10 is not a finite number");
    }
    EXPECT_EQ(errorOf(kEntitiesStart + "  0\nTEXT\n1020\n inf \n"),
              "bad.dxf:8: the value \" inf \" of group code 1020 is not a finite number");
    // A value too close to zero for a double is 0, as other readers take it.
    auto drawing = parseDxf(kEntitiesStart + "  0\nTEXT\n  5\nA\n 10\n1e-999\n 20\n-2.5e-400\n"
                                             "  0\nENDSEC\n  0\nEOF\n",
                            "tiny.dxf");
    auto text = cad::entityAs<cad::Text>(
        CadModel::create(drawing)->application()->ActiveDocument()->HandleToObject("A"));
    EXPECT_EQ(text->InsertionPoint(), cad::CadPoint(0, 0, 0));
}

} // namespace
} // namespace kalvex::drawing
