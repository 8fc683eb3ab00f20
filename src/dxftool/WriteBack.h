#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/Document.h"
#include "dxftool/Problems.h"

namespace kalvex::dxftool {

// What writing values back did. Every value is counted once: written (changed), equal to the
// drawing's already (unchanged), or different but on a locked layer and left (locked).
struct ApplySummary {
    int changed = 0;
    int unchanged = 0;
    int locked = 0;
    ApplySummary& operator+=(const ApplySummary& other);
};

// "changed N, unchanged M, locked L"
std::string summaryLine(const ApplySummary& summary);

// What becomes of a table row whose fingerprint shows that the drawing changed since the table
// was made: refused as a conflict, or written over (--force).
enum class Staleness { Refuse, Overwrite };

// A table row as far as grouping by drawing goes; the texts are the table's own, which outlive
// the grouping.
struct RowKey {
    int line = 0;
    std::string_view file;
    std::string_view handle;
};

// Whether a job's edit works on table rows, so that a drawing without rows needs no loading, or
// looks at the whole drawing.
enum class JobScope { Rows, WholeDrawing };

// One drawing a table names and the rows for it.
struct FileJob {
    std::string path;              // as the first row naming it spells it
    std::string output;            // where it is saved: `path`, or where -o says
    int line = 0;                  // the first table line naming it; 0 for the command line's
    std::vector<std::size_t> rows; // indexes of its rows in the table
    JobScope scope = JobScope::Rows;
};

// The rows by the drawing they name, in the order the drawings are first named; rows that name
// one file under different spellings go together. A second row for the same drawing and handle
// is a problem, and is left out.
std::vector<FileJob> groupRows(const std::vector<RowKey>& rows, Problems& problems);

// The entries of a table that are a job's rows.
template <class Entry>
std::vector<const Entry*> rowsOf(const std::vector<Entry>& entries, const FileJob& job) {
    std::vector<const Entry*> rows;
    for (const std::size_t row : job.rows)
        rows.push_back(&entries[row]);
    return rows;
}

// Checks a job's rows against its drawing and, when every row passed, writes the values. A
// problem's message names the row's fault; writeBack puts the drawing's name in front.
using EditDrawing = std::function<ApplySummary(cad::Document&, const FileJob&, Problems&)>;

struct FileSummary {
    std::string path;
    ApplySummary summary;
};

// Loads the drawings on all cores, a few at a time, and edits each; each that changed (or goes to
// another file) is written to a temporary file beside its output. Only when no drawing had a
// problem and none changed on disk since it was read (checked again just before the renames) are
// the temporary files put in place, each keeping its previous version as .bak; otherwise the
// problems are added and nothing is written. Warnings go to `err`. Throws std::runtime_error
// naming what was and was not written when putting a drawing in place fails.
std::vector<FileSummary> writeBack(const std::vector<FileJob>& jobs, const EditDrawing& edit,
                                   Problems& problems, std::ostream& err);

// "PATH: changed N, unchanged M, locked L" for each drawing, then the total.
void printSummaries(const std::vector<FileSummary>& summaries, std::ostream& out);

} // namespace kalvex::dxftool
