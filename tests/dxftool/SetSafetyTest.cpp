#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>

#include <gtest/gtest.h>

#include "PeerSupport.h"
#include "drawing/dxf/DxfFile.h"
#include "kit/DrawingBuilder.h"

using namespace kalvex;
using namespace kalvex::peer;
using drawing::DrawingBuilder;

namespace {

namespace fs = std::filesystem;

// The temporary files of saves in a folder.
std::vector<std::string> temporariesIn(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".kalvex-tmp-") != std::string::npos)
            found.push_back(entry.path().filename().string());
    return found;
}

// The files of a folder that are neither among `known` nor backups.
std::vector<std::string> strangersIn(const std::string& folder,
                                     const std::vector<std::string>& known) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with(".bak") && std::find(known.begin(), known.end(), name) == known.end())
            found.push_back(name);
    }
    return found;
}

// A process id that is known to be no longer running: a child that has ended and been reaped.
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// Several drawings of one TERM reference each (attribute NAME = "N<i>"), plus `texts` TEXTs to
// give them size.
class SetSafety : public ::testing::Test {
protected:
    void makeDrawings(int count, int texts = 0) {
        for (int i = 0; i < count; ++i) {
            DrawingBuilder builder;
            builder.block("TERM");
            const std::string handle = builder.insert(
                {.block = "TERM",
                 .attributes = {{.tag = "NAME", .text = "N" + std::to_string(i)}}})[0];
            for (int t = 0; t < texts; ++t)
                builder.text(
                    {.text = "filler text " + std::to_string(t), .insertion = {1.0 * t, 2, 0}});
            const std::string path = pathOf("d" + std::to_string(i) + ".dxf");
            drawing::saveDxf(*builder.drawing(), path);
            m_paths.push_back(path);
            m_handles.push_back(handle);
        }
    }

    std::string pathOf(const std::string& name) const {
        return m_dir.path().toStdString() + "/" + name;
    }

    // An attin table giving every drawing's NAME a new value.
    std::string renameTable() const {
        std::string table = "FILE\tHANDLE\tBLOCKNAME\tNAME\n";
        for (std::size_t i = 0; i < m_paths.size(); ++i)
            table += m_paths[i] + "\t'" + m_handles[i] + "\tTERM\tnew" + std::to_string(i) + "\n";
        writeFile(pathOf("t.tsv"), table);
        return pathOf("t.tsv");
    }

    std::vector<std::string> contents() const {
        std::vector<std::string> bytes;
        for (const std::string& path : m_paths)
            bytes.push_back(readFile(path));
        return bytes;
    }

    QTemporaryDir m_dir;
    std::vector<std::string> m_paths, m_handles;
};

} // namespace

// A drawing without write permission for its owner is refused by attin, apply and convert like a
// bad row: named, and nothing written anywhere. This holds when the tests run as root.
TEST_F(SetSafety, WriteProtectedDrawingIsRefusedAndNothingIsWritten) {
    makeDrawings(3);
    ::chmod(m_paths[1].c_str(), 0444);
    const std::vector<std::string> before = contents();
    const std::string table = renameTable();

    const ProcessResult attin = runInProcess({"attin", table});
    EXPECT_EQ(attin.exitCode, 2);
    EXPECT_EQ(attin.err, "kalvex-dxf: " + table + ":3: " + m_paths[1] +
                             ": the file is write-protected (its owner has no write permission)\n"
                             "kalvex-dxf: nothing was written\n");

    const ProcessResult exported = runInProcess({"export", m_paths[0], m_paths[1]});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    std::string applyTable = "text\thandle\tfile\n";
    for (const Row& row : parseExport(exported.out))
        applyTable += row.at("text") + "!\t" + row.at("handle") + "\t" + row.at("file") + "\n";
    writeFile(pathOf("a.tsv"), applyTable);
    const ProcessResult apply = runInProcess({"apply", pathOf("a.tsv")});
    EXPECT_EQ(apply.exitCode, 2);
    EXPECT_NE(apply.err.find(m_paths[1] + ": the file is write-protected"), std::string::npos)
        << apply.err;

    const ProcessResult convert =
        runInProcess({"convert", "full-width", m_paths[0], m_paths[1], m_paths[2]});
    EXPECT_EQ(convert.exitCode, 2);
    EXPECT_NE(convert.err.find("kalvex-dxf: " + m_paths[1] + ": the file is write-protected"),
              std::string::npos)
        << convert.err;

    EXPECT_EQ(contents(), before);
    for (const std::string& path : m_paths)
        EXPECT_FALSE(fs::exists(fs::path(path).replace_extension(".bak")));
    EXPECT_TRUE(temporariesIn(m_dir.path().toStdString()).empty());

    // A protected drawing that nothing is written to is no problem.
    ::chmod(m_paths[1].c_str(), 0644);
    ::chmod(m_paths[0].c_str(), 0444);
    writeFile(table, "FILE\tHANDLE\tBLOCKNAME\tNAME\n" + m_paths[0] + "\t'" + m_handles[0] +
                         "\tTERM\tN0\n" + m_paths[1] + "\t'" + m_handles[1] + "\tTERM\tnew\n");
    const ProcessResult unchanged = runInProcess({"attin", table});
    EXPECT_EQ(unchanged.exitCode, 0) << unchanged.err;
    EXPECT_EQ(readFile(m_paths[0]), before[0]);
    EXPECT_NE(readFile(m_paths[1]), before[1]);
}

// The next run over a folder removes the temporary files of a run that no longer exists, and only
// those: not a running process's, not a file of another name.
TEST_F(SetSafety, LeftoverTemporariesOfEndedRunsAreRemoved) {
    makeDrawings(2);
    const std::string dead = ".d0.dxf.kalvex-tmp-" + std::to_string(endedProcess()) + "-a1B2c3";
    const std::string live = ".d0.dxf.kalvex-tmp-" + std::to_string(::getpid()) + "-a1B2c3";
    const std::string others[] = {
        live,
        "d0.dxf.kalvex-tmp-1-a1B2c3",                                            // no dot
        ".d0.dxf.kalvex-tmp-" + std::to_string(endedProcess()) + "-a1B2c3.keep", // longer
        ".d0.dxf.kalvex-tmp-" + std::to_string(endedProcess()) + "-a1B2",        // shorter
        "d0.dxf.Ab12Cd",                                                         // mkstemp's
    };
    writeFile(pathOf(dead), "left");
    for (const std::string& name : others)
        writeFile(pathOf(name), "mine");
    const ProcessResult result = runInProcess({"attin", renameTable()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "kalvex-dxf: removed " + pathOf(dead) +
                              ", a temporary file left by an earlier run that was stopped\n");
    EXPECT_FALSE(fs::exists(pathOf(dead)));
    for (const std::string& name : others)
        EXPECT_EQ(readFile(pathOf(name)), "mine") << name;
    EXPECT_EQ(temporariesIn(m_dir.path().toStdString()).size(), 4u);
}

// SIGTERM while the drawings are written: the run removes its temporary files, and each drawing
// is whole, the old version or the new. When the run ends before the signal, the same holds.
TEST_F(SetSafety, TerminatedRunLeavesNoTemporaryFiles) {
    makeDrawings(24, 4000);
    const std::vector<std::string> before = contents();
    const std::string folder = m_dir.path().toStdString();
    const std::string table = renameTable();
    const std::vector<std::string> known = strangersIn(folder, {});
    QProcess process;
    process.start(KALVEX_DXF_TOOL, {"attin", QString::fromStdString(table)});
    ASSERT_TRUE(process.waitForStarted());
    // Any new file but a backup is one the run writes before it is in place.
    bool sawTemporary = false;
    while (process.state() != QProcess::NotRunning && !sawTemporary) {
        sawTemporary = !strangersIn(folder, known).empty();
        process.waitForFinished(2);
    }
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(60000));
    if (process.exitStatus() == QProcess::CrashExit)
        EXPECT_TRUE(sawTemporary); // killed only once it was writing
    else
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(strangersIn(folder, known), std::vector<std::string>{});
    const std::vector<std::string> after = contents();
    for (std::size_t i = 0; i < m_paths.size(); ++i) {
        if (after[i] == before[i])
            continue;
        const ProcessResult read = runInProcess({"attout", m_paths[i]});
        EXPECT_EQ(read.exitCode, 0) << read.err;
        EXPECT_NE(read.out.find("\tTERM\tnew" + std::to_string(i) + "\n"), std::string::npos)
            << m_paths[i] << ": neither old nor new";
    }
}

// A table made before someone else changed the drawing: attin refuses the rows of references
// whose values changed since (naming the tags), writes nothing, not even into the drawings that
// are fine; --force writes the table as it is.
TEST_F(SetSafety, StaleAttributeTableIsAConflictUnlessForced) {
    for (int i = 0; i < 2; ++i) {
        DrawingBuilder builder;
        builder.block("PUMP");
        m_handles.push_back(
            builder.insert({.block = "PUMP",
                            .attributes = {{.tag = "NAME", .text = "P-" + std::to_string(i)},
                                           {.tag = "SIZE", .text = "50"},
                                           {.tag = "NOTE", .text = "n"}}})[0]);
        m_paths.push_back(pathOf("p" + std::to_string(i) + ".dxf"));
        drawing::saveDxf(*builder.drawing(), m_paths.back());
    }
    const ProcessResult out = runInProcess({"attout", m_paths[0], m_paths[1]});
    ASSERT_EQ(out.exitCode, 0) << out.err;
    // Someone else renames the first pump and changes its note.
    writeFile(pathOf("other.tsv"),
              "HANDLE\tBLOCKNAME\tNAME\tNOTE\n" + m_handles[0] + "\tPUMP\tP-9\tmoved\n");
    ASSERT_EQ(runInProcess({"attin", pathOf("other.tsv"), m_paths[0]}).exitCode, 0);
    // The user edits the SIZE of both in the old table.
    std::string table = out.out;
    for (std::size_t at = 0; (at = table.find("\t50\t", at)) != std::string::npos;)
        table.replace(at, 4, "\t65\t");
    writeFile(pathOf("t.tsv"), table);
    const std::vector<std::string> before = contents();

    const ProcessResult stale = runInProcess({"attin", pathOf("t.tsv")});
    EXPECT_EQ(stale.exitCode, 2);
    EXPECT_EQ(stale.out, "");
    EXPECT_EQ(stale.err, "kalvex-dxf: " + pathOf("t.tsv") + ":2: " + m_paths[0] +
                             ": the block reference " + m_handles[0] +
                             " changed in the drawing since the table was made (NAME, NOTE); "
                             "--force writes the table's values over it\n"
                             "kalvex-dxf: nothing was written\n");
    EXPECT_EQ(contents(), before);

    // A tag column taken out leaves fingerprints that fit no more.
    const std::size_t note = table.find("\tNOTE");
    std::string narrowed;
    for (std::size_t start = 0; start < table.size();) {
        const std::size_t end = table.find('\n', start);
        std::string line = table.substr(start, end - start);
        line.erase(line.rfind('\t'));
        narrowed += line + "\n";
        start = end + 1;
    }
    ASSERT_NE(note, std::string::npos);
    writeFile(pathOf("n.tsv"), narrowed);
    const ProcessResult unfit = runInProcess({"attin", pathOf("n.tsv")});
    EXPECT_EQ(unfit.exitCode, 2);
    EXPECT_NE(unfit.err.find(":3: " + m_paths[1] + ": the fingerprint of " + m_handles[1] +
                             " does not fit the table's tag columns; --force writes the row "
                             "without this check\n"),
              std::string::npos)
        << unfit.err;
    EXPECT_EQ(contents(), before);

    const ProcessResult forced = runInProcess({"attin", "--force", pathOf("t.tsv")});
    ASSERT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(forced.out, m_paths[0] + ": changed 3, unchanged 0, locked 0\n" + m_paths[1] +
                              ": changed 1, unchanged 2, locked 0\n"
                              "total: changed 4, unchanged 2, locked 0 in 2 drawings\n");
    const ProcessResult now = runInProcess({"attout", "--tags", "NAME,SIZE", m_paths[0]});
    EXPECT_NE(now.out.find("\tPUMP\t"), std::string::npos);
    EXPECT_NE(now.out.find("\tP-0\t65\n"), std::string::npos) << now.out;
}

// The same for the TEXT strings of export and apply.
TEST_F(SetSafety, StaleTextTableIsAConflictUnlessForced) {
    DrawingBuilder builder;
    const std::string first = builder.text({.text = "FIRST"});
    const std::string second = builder.text({.text = "SECOND"});
    m_paths.push_back(pathOf("texts.dxf"));
    drawing::saveDxf(*builder.drawing(), m_paths.back());
    const ProcessResult exported = runInProcess({"export", m_paths[0]});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    writeFile(pathOf("other.tsv"), "handle\ttext\n" + first + "\tFIRST by someone else\n");
    ASSERT_EQ(runInProcess({"apply", m_paths[0], pathOf("other.tsv")}).exitCode, 0);
    std::string table = exported.out;
    table.replace(table.find("\tSECOND\t"), 8, "\tSECOND edited\t");
    writeFile(pathOf("t.tsv"), table);
    const std::string before = readFile(m_paths[0]);

    const ProcessResult stale = runInProcess({"apply", m_paths[0], pathOf("t.tsv")});
    EXPECT_EQ(stale.exitCode, 2);
    EXPECT_EQ(stale.err, "kalvex-dxf: " + pathOf("t.tsv") + ":2: " + m_paths[0] + ": the text of " +
                             first +
                             " changed in the drawing since the table was made; --force writes "
                             "the table's text over it\nkalvex-dxf: nothing was written\n");
    EXPECT_EQ(readFile(m_paths[0]), before);

    const ProcessResult forced = runInProcess({"apply", "--force", m_paths[0], pathOf("t.tsv")});
    ASSERT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(forced.out, "changed 2, unchanged 0, locked 0\n");
    const std::vector<Row> rows = parseExport(runInProcess({"export", m_paths[0]}).out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("text"), "FIRST");
    EXPECT_EQ(rows[1].at("text"), "SECOND edited");
}
