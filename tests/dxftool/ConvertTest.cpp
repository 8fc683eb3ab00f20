#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "PeerSupport.h"
#include "drawing/dxf/DxfFile.h"
#include "kit/DrawingBuilder.h"

using namespace kalvex;
using namespace kalvex::peer;
using drawing::DrawingBuilder;

namespace {

namespace fs = std::filesystem;

// Two sheets with half-width katakana: A has TEXTs on an open and on a locked layer, a TERM
// reference whose attributes lie on layer 0 and one whose attributes lie on the locked layer, and
// a TEXT without kana; B has one TEXT on a layer of its own.
class Convert : public ::testing::Test {
protected:
    void SetUp() override {
        DrawingBuilder a;
        a.layer("LOCKED", drawing::LayerState::Locked).layer("NOTES").block("TERM");
        m_a = pathOf("a.dxf");
        m_text = a.text({.text = "ｶﾞｽ"});
        m_lockedText = a.text({.text = "ﾎﾟﾝﾌﾟ", .layer = "LOCKED"});
        const auto terminal =
            a.insert({.block = "TERM",
                      .attributes = {{.tag = "TAG", .text = "ｱ1"}, {.tag = "WIRE", .text = "W1"}}});
        m_tag = terminal[1];
        m_wire = terminal[2];
        a.insert(
            {.block = "TERM", .attributes = {{.tag = "TAG", .text = "ｲ2", .layer = "LOCKED"}}});
        m_plain = a.text({.text = "ABC"});
        drawing::saveDxf(*a.drawing(), m_a);
        DrawingBuilder b;
        b.layer("NOTES");
        m_b = pathOf("b.dxf");
        m_note = b.text({.text = "ﾊﾟﾝ ﾀﾞｲﾔ", .layer = "NOTES"});
        drawing::saveDxf(*b.drawing(), m_b);
        m_originalA = readFile(m_a);
        m_originalB = readFile(m_b);
    }

    std::string pathOf(const std::string& name) const {
        return m_dir.path().toStdString() + "/" + name;
    }

    static std::string backupOf(const std::string& path) {
        return fs::path(path).replace_extension(".bak").string();
    }

    void expectUntouched() const {
        EXPECT_TRUE(readFile(m_a) == m_originalA);
        EXPECT_TRUE(readFile(m_b) == m_originalB);
        EXPECT_FALSE(fs::exists(backupOf(m_a)));
        EXPECT_FALSE(fs::exists(backupOf(m_b)));
    }

    // The handles of the dry run's table rows, in order.
    std::vector<std::string> handlesConverted(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"convert", "kana-full", "--dry-run"});
        arguments.insert(arguments.end(), {m_a, m_b});
        const ProcessResult result = runInProcess(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        std::vector<std::string> handles;
        for (std::size_t start = result.out.find('\n') + 1; start < result.out.size();) {
            const std::size_t end = result.out.find('\n', start);
            const std::size_t tab = result.out.find('\t', start);
            handles.push_back(result.out.substr(tab + 1, result.out.find('\t', tab + 1) - tab - 1));
            start = end + 1;
        }
        return handles;
    }

    QTemporaryDir m_dir;
    std::string m_a, m_b, m_originalA, m_originalB;
    std::string m_text, m_lockedText, m_tag, m_wire, m_plain, m_note;
};

TEST_F(Convert, DryRunPrintsTheChangesAndChangesNoByte) {
    const ProcessResult result = runInProcess({"convert", "kana-full", "--dry-run", m_a, m_b});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "file\thandle\tkind\ttag\told\tnew\n" + m_a + "\t" + m_text +
                              "\tTEXT\t\tｶﾞｽ\tガス\n" + m_a + "\t" + m_tag +
                              "\tATTRIB\tTAG\tｱ1\tア1\n" + m_b + "\t" + m_note +
                              "\tTEXT\t\tﾊﾟﾝ ﾀﾞｲﾔ\tパン ダイヤ\n");
    EXPECT_EQ(result.err, m_a + ": changed 2, unchanged 2, locked 2\n" + m_b +
                              ": changed 1, unchanged 0, locked 0\n"
                              "total: changed 3, unchanged 2, locked 2 in 2 drawings\n");
    expectUntouched();
}

TEST_F(Convert, LockedLayersAreLeftAloneAndCountedAndEachDrawingKeepsItsBak) {
    const ProcessResult result = runInProcess({"convert", "kana-full", m_a, m_b});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, m_a + ": changed 2, unchanged 2, locked 2\n" + m_b +
                              ": changed 1, unchanged 0, locked 0\n"
                              "total: changed 3, unchanged 2, locked 2 in 2 drawings\n");
    EXPECT_TRUE(readFile(backupOf(m_a)) == m_originalA);
    EXPECT_TRUE(readFile(backupOf(m_b)) == m_originalB);
    const std::vector<Row> rows = parseExport(runInProcess({"export", m_a}).out);
    std::map<std::string, std::string> texts;
    for (const Row& row : rows)
        texts[row.at("handle")] = row.at("text");
    EXPECT_EQ(texts.at(m_text), "ガス");
    EXPECT_EQ(texts.at(m_lockedText), "ﾎﾟﾝﾌﾟ");
    EXPECT_EQ(texts.at(m_tag), "ア1");
    EXPECT_EQ(texts.at(m_plain), "ABC");
}

TEST_F(Convert, ADamagedDrawingAmongGoodOnesLeavesEveryDrawingUnwritten) {
    const std::string damaged = pathOf("damaged.dxf");
    writeFile(damaged, m_originalB.substr(0, m_originalB.find("ENTITIES") + 20));
    for (const std::string mode : {"--dry-run", "--texts"}) {
        const ProcessResult result =
            runInProcess({"convert", "kana-full", mode, m_a, damaged, m_b});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("kalvex-dxf: " + damaged + ":", 0), 0u) << result.err;
    }
    expectUntouched();
}

// A replacement that would put a line break into a DXF text is refused for every drawing.
TEST_F(Convert, AStringADxfTextCannotHoldLeavesEveryDrawingUnwritten) {
    const ProcessResult result = runInProcess({"convert", "replace", "ﾊﾟﾝ", "a\nb", m_a, m_b});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "kalvex-dxf: " + m_b + ": the converted text of " + m_note +
                              " holds a line break, which a DXF text cannot\n"
                              "kalvex-dxf: nothing was written\n");
    expectUntouched();
}

TEST_F(Convert, OptionsNarrowWhichStringsAreConverted) {
    using Handles = std::vector<std::string>;
    EXPECT_EQ(handlesConverted({"--texts"}), (Handles{m_text, m_note}));
    EXPECT_EQ(handlesConverted({"--attributes"}), (Handles{m_tag}));
    EXPECT_EQ(handlesConverted({"--attributes=WIRE"}), Handles{});
    EXPECT_EQ(handlesConverted({"--texts", "--attributes=TAG"}), (Handles{m_text, m_tag, m_note}));
    EXPECT_EQ(handlesConverted({"--layers", "notes,LOCK*"}), (Handles{m_note}));
    EXPECT_EQ(handlesConverted({"--blocks", "OTHER"}), (Handles{m_text, m_note}));
    EXPECT_EQ(handlesConverted({"--attributes", "--blocks", "t?rm"}), (Handles{m_tag}));
    // The search tab's pattern: the text anywhere in the string, with case, wildcards kept.
    EXPECT_EQ(handlesConverted({"--match", "ﾀﾞ"}), (Handles{m_note}));
    EXPECT_EQ(handlesConverted({"--match", "ｱ#"}), (Handles{m_tag}));
    EXPECT_EQ(handlesConverted({"--match=abc"}), Handles{});
}

TEST_F(Convert, UsageErrorsNameTheFaultBeforeAnyDrawingIsRead) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"convert", "kana", m_a}, "unknown conversion kana"},
        {{"convert", "add", "1", "--radix=bin", m_a}, "--radix takes dec, hex, oct, not bin"},
        {{"convert", "kana-full", "--ignore-case", m_a}, "--ignore-case is for replace only"},
    };
    for (const auto& [arguments, message] : cases) {
        const ProcessResult result = runInProcess(arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err.rfind("kalvex-dxf: " + message, 0), 0u) << result.err;
    }
    const ProcessResult negative = runInProcess({"convert", "add", "-1", "--dry-run", m_a});
    EXPECT_EQ(negative.exitCode, 0) << negative.err;
    expectUntouched();
}

} // namespace
