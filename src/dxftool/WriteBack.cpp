#include "dxftool/WriteBack.h"

#include <atomic>
#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <tuple>
#include <unordered_map>

#include "drawing/dxf/DxfFile.h"
#include "drawing/dxf/TemporaryFiles.h"
#include "dxftool/DrawingFile.h"
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
    std::unordered_map<std::string, int> lineOfRow;
    lineOfRow.reserve(rows.size());
    const std::string* lastFile = nullptr;
    std::unordered_map<std::string, std::string>::iterator known;
    std::unordered_map<std::string, std::size_t>::iterator job;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RowKey& row = rows[i];
        // Rows of one drawing come one after another: its job is looked up once for them all.
        if (!lastFile || *lastFile != row.file) {
            known = identityOfPath.find(row.file);
            if (known == identityOfPath.end())
                known = identityOfPath.emplace(row.file, fileIdentity(row.file)).first;
            bool added = false;
            std::tie(job, added) = jobOfIdentity.try_emplace(known->second, jobs.size());
            if (added)
                jobs.push_back({row.file, row.file, row.line, {}});
            lastFile = &row.file;
        }
        const auto [seen, first] =
            lineOfRow.try_emplace(known->second + '\n' + upperAscii(row.handle), row.line);
        if (first)
            jobs[job->second].rows.push_back(i);
        else
            problems.push_back({row.line, row.file + ": the handle " + row.handle +
                                              " is given again (first on line " +
                                              std::to_string(seen->second) + ")"});
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
