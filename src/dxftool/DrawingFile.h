#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "drawing/cad/CadModel.h"
#include "drawing/model/Drawing.h"
#include "dxftool/Problems.h"
#include "dxftool/WorkerPool.h"

namespace kalvex::dxftool {

// A file that cannot be read; the message names it ("PATH: cannot be read: reason").
class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& message) : std::runtime_error(message) {}
};

// What tells whether a file still holds the bytes it held when it was read: what the file system
// keeps of it, which every write changes (setting the time of modification back changes the time
// of the status change), and a hash of the bytes, for when something touched the file.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t statusChangedNs = 0;
    std::size_t hash = 0;
};

// The whole file, and the stamp of what was read when asked for. Throws FileError.
std::string readFileBytes(const std::string& path, FileStamp* stamp = nullptr);
// Whether the file still holds the bytes of the stamp: at once when the file system shows it
// untouched, otherwise by reading it again. False when it cannot be read.
bool stillAsRead(const std::string& path, const FileStamp& stamp);

// Why the file at `path` may not be overwritten, or nothing: no write permission for its owner
// (the mode is looked at, not access(), so that this holds when run as root too), or a
// read-only file system. A file that does not exist is judged by its folder's file system.
std::optional<std::string> writeProtection(const std::string& path);

// The same text for every name of one file (through links or "./"), the lexically normal path
// for a file that does not exist.
std::string fileIdentity(const std::string& path);

// Throws std::runtime_error when two of the paths name one file: a table would then hold its
// rows twice.
void requireDistinct(const std::vector<std::string>& paths);

// A drawing read from a file, the CAD document that shows it and the stamp of the file read.
struct OpenDrawing {
    std::shared_ptr<drawing::Drawing> drawing;
    std::shared_ptr<drawing::CadModel> model;
    cad::DocumentPtr document;
    FileStamp stamp;
};

// Whether a drawing is read to be written back, and needs the stamp of its file.
enum class ReadFor { Reading, WritingBack };

// Throws FileError for a file that cannot be read, dxf::DxfError for one that is no DXF
// drawing or a damaged one.
OpenDrawing openDrawing(const std::string& path, ReadFor purpose);

// What reading one drawing of several gave: its warnings and a value, or why it could not be read.
template <class T> struct DrawingResult {
    std::vector<std::string> warnings;
    std::optional<std::string> failure;
    T value{};
};

// Opens the drawings on all cores, a few at a time, and hands each to read(OpenDrawing&) -> T;
// then, on the calling thread and in the order of `paths`, prints its warnings and hands the
// value to use(i, T&). A drawing that cannot be read is added to `problems` instead.
template <class T, class Read, class Use>
void forEachDrawing(const std::vector<std::string>& paths, const Read& read, const Use& use,
                    Problems& problems, std::ostream& err) {
    forEachInOrder<DrawingResult<T>>(
        paths.size(),
        [&](std::size_t i) {
            DrawingResult<T> result;
            try {
                OpenDrawing drawing = openDrawing(paths[i], ReadFor::Reading);
                result.warnings = drawing.drawing->warnings();
                result.value = read(drawing);
            } catch (const std::exception& error) {
                result.failure = error.what();
            }
            return result;
        },
        [&](std::size_t i, DrawingResult<T>& result) {
            printWarnings(result.warnings, err);
            if (result.failure)
                problems.push_back({0, *result.failure});
            else
                use(i, result.value);
        });
}

} // namespace kalvex::dxftool
