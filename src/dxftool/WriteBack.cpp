#include "dxftool/WriteBack.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "drawing/dxf/DxfFile.h"
#include "drawing/dxf/TemporaryFiles.h"
#include "dxftool/DrawingFile.h"
#include "dxftool/LargeVectors.h"
#include "dxftool/TextRows.h"
#include "dxftool/WorkerPool.h"

namespace kalvex::dxftool {

namespace {

// One drawing checked, edited and, when it is to be saved, written to its temporary file.
struct Prepared {
    ApplySummary summary;
    Problems problems;
    std::vector<std::string> warnings;
    std::optional<drawing::PendingSave> save;
    FileStamp stamp;
    bool inPlace = false;
};

bool needsLoading(const FileJob& job) {
    return job.scope == JobScope::WholeDrawing || !job.rows.empty() || job.output != job.path;
}

Prepared prepare(const FileJob& job, const EditDrawing& edit, const std::atomic<bool>& failed) {
    Prepared prepared;
    if (!needsLoading(job))
        return prepared;
    try {
        const OpenDrawing open = openDrawing(job.path, ReadFor::WritingBack);
        prepared.warnings = open.drawing->warnings();
        prepared.stamp = open.stamp;
        prepared.inPlace = fileIdentity(job.output) == fileIdentity(job.path);
        prepared.summary = edit(*open.document, job, prepared.problems);
        const bool wanted = prepared.summary.changed > 0 || !prepared.inPlace;
        // A protected drawing is refused like a bad row, before anything is written.
        if (wanted) {
            if (const auto protection = writeProtection(job.output))
                prepared.problems.push_back({job.line, job.output == job.path
                                                           ? *protection
                                                           : job.output + ": " + *protection});
        }
        for (Problem& problem : prepared.problems)
            problem.message = job.path + ": " + problem.message;
        // Once any drawing failed nothing will be saved; the rest are only checked.
        if (prepared.problems.empty() && wanted && !failed)
            prepared.save.emplace(*open.drawing, job.output);
    } catch (const std::exception& error) {
        prepared.problems.push_back({job.line, error.what()});
    }
    return prepared;
}

void checkNothingChanged(const std::vector<FileJob>& jobs, const std::vector<Prepared>& prepared,
                         Problems& problems) {
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (prepared[i].save && prepared[i].inPlace &&
            !stillAsRead(jobs[i].path, prepared[i].stamp))
            problems.push_back(
                {jobs[i].line, jobs[i].path + ": the file changed on disk after it was read"});
    }
}

std::string listOf(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        if (!list.empty())
            list += ", ";
        list += path;
    }
    return list.empty() ? "none" : list;
}

// Puts one drawing in place; returns why it could not be, or nothing.
std::string commitOne(const FileJob& job, Prepared& prepared) {
    if (prepared.inPlace && !stillAsRead(job.path, prepared.stamp))
        return job.path + ": the file changed on disk while the drawings were saved";
    try {
        prepared.save->commit();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

// Puts every saved drawing in place. The check just before each rename catches a file changed
// while the ones before it were put in place; from there on nothing more is written.
void commitAll(const std::vector<FileJob>& jobs, std::vector<Prepared>& prepared) {
    std::vector<std::string> written, notWritten;
    std::string failure;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (!prepared[i].save)
            continue;
        if (failure.empty())
            failure = commitOne(jobs[i], prepared[i]);
        (failure.empty() ? written : notWritten).push_back(jobs[i].output);
    }
    if (!failure.empty())
        throw std::runtime_error(failure + "; written: " + listOf(written) +
                                 "; not written: " + listOf(notWritten));
}

// Removes, from the folders the drawings are saved in, the temporary files of earlier runs that
// were stopped before they could remove them.
void removeLeftovers(const std::vector<FileJob>& jobs, std::ostream& err) {
    std::set<std::string> folders;
    for (const FileJob& job : jobs)
        folders.insert(std::filesystem::path(job.output).parent_path().string());
    for (const std::string& folder : folders)
        for (const std::string& path : drawing::removeLeftoverTemporaries(folder))
            err << "kalvex-dxf: removed " << path
                << ", a temporary file left by an earlier run that was stopped\n";
}

} // namespace

ApplySummary& ApplySummary::operator+=(const ApplySummary& other) {
    changed += other.changed;
    unchanged += other.unchanged;
    locked += other.locked;
    return *this;
}

std::string summaryLine(const ApplySummary& summary) {
    return "changed " + std::to_string(summary.changed) + ", unchanged " +
           std::to_string(summary.unchanged) + ", locked " + std::to_string(summary.locked);
}

std::vector<FileJob> groupRows(const std::vector<RowKey>& rows, Problems& problems) {
    std::vector<FileJob> jobs;
    std::unordered_map<std::string, std::string> identityOfPath;
    std::unordered_map<std::string, std::size_t> jobOfIdentity;
    std::vector<std::uint32_t> jobOfRow;
    reserveLarge(jobOfRow, rows.size());
    jobOfRow.resize(rows.size());
    std::string_view lastFile;
    std::uint32_t job = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RowKey& row = rows[i];
        // Rows of one drawing come one after another: its job is looked up once for them all.
        const bool sameFile =
            i > 0 && ((lastFile.data() == row.file.data() && lastFile.size() == row.file.size()) ||
                      lastFile == row.file);
        if (!sameFile) {
            const std::string path(row.file);
            auto known = identityOfPath.find(path);
            if (known == identityOfPath.end())
                known = identityOfPath.emplace(path, fileIdentity(path)).first;
            const auto [found, added] = jobOfIdentity.try_emplace(known->second, jobs.size());
            if (added)
                jobs.push_back({path, path, row.line, {}});
            job = static_cast<std::uint32_t>(found->second);
            lastFile = row.file;
        }
        jobOfRow[i] = job;
    }
    // A row's handle is looked for among the earlier rows of its drawing, letters compared
    // without case, in a table of row indexes: no key is built or allocated for a row.
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    const auto hashOf = [&](std::size_t i) {
        std::uint64_t hash = 14695981039346656037ull ^ jobOfRow[i];
        for (const char c : rows[i].handle)
            hash = (hash ^ static_cast<unsigned char>(lower(c))) * 1099511628211ull;
        return hash;
    };
    const auto sameKey = [&](std::size_t a, std::size_t b) {
        const std::string_view x = rows[a].handle, y = rows[b].handle;
        return jobOfRow[a] == jobOfRow[b] && x.size() == y.size() &&
               std::equal(x.begin(), x.end(), y.begin(),
                          [&](char p, char q) { return lower(p) == lower(q); });
    };
    std::size_t capacity = 16;
    while (capacity < rows.size() * 2)
        capacity *= 2;
    constexpr std::uint32_t kEmpty = static_cast<std::uint32_t>(-1);
    std::vector<std::uint32_t> seen;
    reserveLarge(seen, capacity);
    seen.assign(capacity, kEmpty);
    std::vector<std::size_t> rowsOfJob(jobs.size());
    for (const std::uint32_t of : jobOfRow)
        ++rowsOfJob[of];
    for (std::size_t j = 0; j < jobs.size(); ++j)
        reserveLarge(jobs[j].rows, rowsOfJob[j]);
    for (std::uint32_t i = 0; i < rows.size(); ++i) {
        std::size_t slot = hashOf(i) & (capacity - 1);
        while (seen[slot] != kEmpty && !sameKey(seen[slot], i))
            slot = (slot + 1) & (capacity - 1);
        if (seen[slot] == kEmpty) {
            seen[slot] = i;
            jobs[jobOfRow[i]].rows.push_back(i);
            continue;
        }
        const RowKey& row = rows[i];
        problems.push_back({row.line, std::string(row.file) + ": the handle " +
                                          std::string(row.handle) +
                                          " is given again (first on line " +
                                          std::to_string(rows[seen[slot]].line) + ")"});
    }
    return jobs;
}

std::vector<FileSummary> writeBack(const std::vector<FileJob>& jobs, const EditDrawing& edit,
                                   Problems& problems, std::ostream& err) {
    removeLeftovers(jobs, err);
    std::vector<Prepared> prepared(jobs.size());
    std::atomic<bool> failed = !problems.empty();
    forEachInOrder<Prepared>(
        jobs.size(),
        [&](std::size_t i) {
            Prepared result = prepare(jobs[i], edit, failed);
            if (!result.problems.empty())
                failed = true;
            return result;
        },
        [&](std::size_t i, Prepared& result) {
            printWarnings(result.warnings, err);
            problems.insert(problems.end(), result.problems.begin(), result.problems.end());
            prepared[i] = std::move(result);
        });
    if (problems.empty())
        checkNothingChanged(jobs, prepared, problems);
    if (!problems.empty())
        return {};
    commitAll(jobs, prepared);
    std::vector<FileSummary> summaries;
    for (std::size_t i = 0; i < jobs.size(); ++i)
        summaries.push_back({jobs[i].path, prepared[i].summary});
    return summaries;
}

void printSummaries(const std::vector<FileSummary>& summaries, std::ostream& out) {
    ApplySummary total;
    for (const FileSummary& file : summaries) {
        out << file.path << ": " << summaryLine(file.summary) << '\n';
        total += file.summary;
    }
    out << "total: " << summaryLine(total) << " in " << summaries.size() << " drawing"
        << (summaries.size() == 1 ? "" : "s") << '\n';
}

} // namespace kalvex::dxftool
