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

// What tells whether a file still holds the bytes it held when it was read: its size, its time
// of modification and a hash of its bytes (a program may set the time back after writing).
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::size_t hash = 0;
    bool operator==(const FileStamp&) const = default;
};

// The whole file, and the stamp of what was read when asked for. Throws FileError.
std::string readFileBytes(const std::string& path, FileStamp* stamp = nullptr);
// The stamp of the file as it is now. Throws FileError.
FileStamp stampOfFile(const std::string& path);
// Whether the size and time of modification are still those of the stamp, without reading the
// file again.
bool sameSizeAndTime(const std::string& path, const FileStamp& stamp);

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

// Throws FileError for a file that cannot be read, dxf::DxfError for one that is no DXF
// drawing or a damaged one.
OpenDrawing openDrawing(const std::string& path);

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
                OpenDrawing drawing = openDrawing(paths[i]);
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
