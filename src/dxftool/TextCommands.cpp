#include "dxftool/Commands.h"
#include "dxftool/DrawingFile.h"
#include "dxftool/LargeVectors.h"
#include "dxftool/TableApplier.h"
#include "dxftool/TextRecords.h"
#include "dxftool/TextRows.h"
#include "dxftool/WriteBack.h"

namespace kalvex::dxftool {

namespace {

// The export rows of one drawing as table lines, each starting with the path when the table has
// a file column.
std::string exportLines(cad::Document& document, const std::string& path, FileColumn column) {
    const std::string start = column == FileColumn::Write ? escapeField(path) + '\t' : "";
    std::string lines;
    appendTextRows(lines, start, document);
    return lines;
}

// The row keys of the table's entries; with a drawing named on the command line, every row is
// for it, and a row whose file column names another is a problem.
std::vector<RowKey> rowKeys(const ReadTable& table, const Command& command, Problems& problems) {
    std::vector<RowKey> keys;
    reserveLarge(keys, table.entries.size());
    const std::string* drawing = command.drawings.empty() ? nullptr : &command.drawings[0];
    for (const TableEntry& entry : table.entries) {
        if (drawing && table.namesFiles && fileIdentity(entry.file) != fileIdentity(*drawing))
            problems.push_back({entry.line, "the row is for " + entry.file + ", not " + *drawing});
        keys.push_back({entry.line, drawing ? *drawing : entry.file, entry.handle});
    }
    return keys;
}

// The one drawing of `apply FILE TABLE`, saved where -o says.
FileJob namedJob(const Command& command, std::vector<FileJob>& jobs) {
    FileJob job = jobs.empty() ? FileJob{} : std::move(jobs.front());
    job.path = command.drawings[0];
    job.output = command.output.empty() ? job.path : command.output;
    job.line = 0;
    return job;
}

} // namespace

void exportTables(const Command& command, std::ostream& out, std::ostream& err) {
    requireDistinct(command.drawings);
    const FileColumn column = command.drawings.size() > 1 ? FileColumn::Write : FileColumn::Omit;
    std::string table = formatHeader(command.bom, column);
    Problems problems;
    forEachDrawing<std::string>(
        command.drawings,
        [&](const OpenDrawing& drawing) {
            return exportLines(*drawing.document, drawing.drawing->fileName(), column);
        },
        [&](std::size_t i, std::string& lines) {
            // The first drawing's rows, usually the whole table, are not copied again.
            if (i == 0) {
                lines.insert(0, table);
                table.swap(lines);
            } else {
                table += lines;
            }
        },
        problems, err);
    if (!problems.empty())
        refuse(problems, {}, "no table was written", err);
    out << table;
}

void applyTables(const Command& command, std::ostream& out, std::ostream& err) {
    Problems problems;
    // The table is read first: a bad one fails fast, before a large drawing is loaded.
    ReadTable table = parseTable(readFileBytes(command.table), command.table, problems);
    const bool named = !command.drawings.empty();
    if (!named && !table.namesFiles)
        failAt(command.table, 1,
               "the table has no column \"file\"; name the "
               "drawing it is for: apply FILE TABLE");
    std::vector<FileJob> jobs = groupRows(rowKeys(table, command, problems), problems);
    if (named)
        jobs = {namedJob(command, jobs)};
    const EditDrawing edit = [&](cad::Document& document, const FileJob& job, Problems& found) {
        const ApplySummary summary =
            applyTable(document, rowsOf(table.entries, job),
                       command.force ? Staleness::Overwrite : Staleness::Refuse, found);
        // The rows of the only drawing are done with once its values are written: their memory
        // goes back before the drawing is saved, when the most is held.
        if (jobs.size() == 1)
            std::vector<TableEntry>().swap(table.entries);
        return summary;
    };
    const std::vector<FileSummary> summaries = writeBack(jobs, edit, problems, err);
    if (!problems.empty())
        refuse(problems, command.table, "nothing was written", err);
    if (named)
        out << summaryLine(summaries.front().summary) << '\n';
    else
        printSummaries(summaries, out);
}

} // namespace kalvex::dxftool
