#include <algorithm>
#include <set>
#include <unordered_set>

#include "dxftool/BlockAttributes.h"
#include "dxftool/Commands.h"
#include "dxftool/DrawingFile.h"
#include "dxftool/WriteBack.h"

namespace kalvex::dxftool {

namespace {

// The columns of the table: every key of the rows in the order first seen; with a tag list, in
// the order of the list.
std::vector<std::string> columnKeys(const std::vector<std::vector<AttributeRow>>& rowsByFile,
                                    const std::vector<std::string>& tags) {
    std::vector<const AttributeValue*> columns;
    std::unordered_set<std::string> seen;
    for (const auto& rows : rowsByFile)
        for (const AttributeRow& row : rows)
            for (const AttributeValue& value : row.values)
                if (seen.insert(value.key).second)
                    columns.push_back(&value);
    const auto rank = [&](const AttributeValue* value) {
        return std::find(tags.begin(), tags.end(), value->tag) - tags.begin();
    };
    std::stable_sort(columns.begin(), columns.end(),
                     [&](const auto* a, const auto* b) { return rank(a) < rank(b); });
    std::vector<std::string> keys;
    for (const AttributeValue* column : columns)
        keys.push_back(column->key);
    return keys;
}

// The row keys of the table's entries. A table without FILE column is for the one drawing named
// on the command line; with one, the drawings named there (if any) are the only ones it may name.
std::vector<RowKey> rowKeys(const AttributeTable& table, const Command& command,
                            Problems& problems) {
    std::set<std::string> allowed;
    for (const std::string& drawing : command.drawings)
        allowed.insert(fileIdentity(drawing));
    std::vector<RowKey> keys;
    for (const AttributeEntry& entry : table.entries) {
        const std::string& file = table.namesFiles ? entry.file : command.drawings.front();
        if (!allowed.empty() && !allowed.contains(fileIdentity(file)))
            problems.push_back({entry.line, file + " is not among the drawings named after the "
                                                   "table on the command line"});
        keys.push_back({entry.line, file, entry.handle});
    }
    return keys;
}

// The drawings named on the command line that no row is for: nothing to write, but listed.
void addUnnamed(std::vector<FileJob>& jobs, const Command& command) {
    std::set<std::string> covered;
    for (const FileJob& job : jobs)
        covered.insert(fileIdentity(job.path));
    for (const std::string& drawing : command.drawings) {
        if (covered.insert(fileIdentity(drawing)).second)
            jobs.push_back({drawing, drawing, 0, {}});
    }
}

} // namespace

void attributesOut(const Command& command, std::ostream& out, std::ostream& err) {
    requireDistinct(command.drawings);
    const AttributeChoice choice{command.blocks, command.tags};
    const FileColumn column = command.drawings.size() > 1 ? FileColumn::Write : FileColumn::Omit;
    std::vector<std::vector<AttributeRow>> rowsByFile(command.drawings.size());
    Problems problems;
    forEachDrawing<std::vector<AttributeRow>>(
        command.drawings,
        [&](const OpenDrawing& drawing) { return readAttributeRows(*drawing.document, choice); },
        [&](std::size_t i, std::vector<AttributeRow>& rows) { rowsByFile[i] = std::move(rows); },
        problems, err);
    if (!problems.empty())
        refuse(problems, {}, "no table was written", err);
    const std::vector<std::string> keys = columnKeys(rowsByFile, choice.tags);
    out << formatAttributeHeader(keys, column, command.bom);
    for (std::size_t i = 0; i < rowsByFile.size(); ++i)
        for (const AttributeRow& row : rowsByFile[i])
            out << formatAttributeRow(command.drawings[i], row, keys, column);
}

void attributesIn(const Command& command, std::ostream& out, std::ostream& err) {
    Problems problems;
    const AttributeTable table =
        parseAttributeTable(readFileBytes(command.table), command.table, problems);
    if (!table.namesFiles && command.drawings.size() != 1)
        failAt(command.table, 1,
               "the table has no FILE column; name the one "
               "drawing it is for: attin TABLE FILE");
    std::vector<FileJob> jobs = groupRows(rowKeys(table, command, problems), problems);
    addUnnamed(jobs, command);
    const EditDrawing edit = [&](cad::Document& document, const FileJob& job, Problems& found) {
        return applyAttributes(document, table.keys, rowsOf(table.entries, job),
                               command.force ? Staleness::Overwrite : Staleness::Refuse, found);
    };
    const std::vector<FileSummary> summaries = writeBack(jobs, edit, problems, err);
    if (!problems.empty())
        refuse(problems, command.table, "nothing was written", err);
    printSummaries(summaries, out);
}

} // namespace kalvex::dxftool
