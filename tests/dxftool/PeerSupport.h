#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "dxftool/Problems.h"

namespace kalvex::peer {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The drawings of other programs that lie beside the repository on the developers' machines
// only (../shared/dxf-corpus): a file of it, and whether it is there.
std::string sharedCorpusFile(const std::string& name);
bool haveSharedCorpus();

// Runs a program to its end and collects what it wrote.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments);
// Runs kalvex-dxf.
ProcessResult runTool(const std::vector<std::string>& arguments);
// Runs kalvex-dxf's command line inside the test program.
ProcessResult runInProcess(const std::vector<std::string>& arguments);

// "t.tsv:LINE: message" of the first fault `read` finds in a table named t.tsv, thrown as a
// TableError or added to the problems; "no fault" when there is none.
std::string firstFault(const std::function<void(dxftool::Problems&)>& read);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

// One row of the export table, by column name.
using Row = std::map<std::string, std::string>;

// A table as kalvex-dxf export writes it: header first; throws std::runtime_error when a line
// has not as many fields as the header or a malformed fingerprint, which the rows leave out.
std::vector<Row> parseExport(const std::string& table);
std::string formatApplyTable(const std::vector<Row>& rows);

// What ezdxf sees in a drawing (tests/peer/read_drawing.py).
struct PeerView {
    std::string version;
    std::string codePage;
    std::vector<Row> rows;
    std::map<std::string, std::map<std::string, std::string>> entities; // handle → attributes
    std::map<std::string, std::string> header;                          // variable → value
    std::vector<std::string> audit;
};
PeerView readWithPeer(const std::string& path);

// A temporary folder holding one drawing written by ezdxf (tests/peer/make_drawings.py).
class PeerDrawing {
public:
    explicit PeerDrawing(const std::string& name);
    const std::string& path() const { return m_path; }
    std::string pathOf(const std::string& name) const;
    const PeerView& view(); // read once

private:
    QTemporaryDir m_dir;
    std::string m_path;
    bool m_viewRead = false;
    PeerView m_view;
};

} // namespace kalvex::peer
