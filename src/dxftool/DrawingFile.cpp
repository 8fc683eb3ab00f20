#include "dxftool/DrawingFile.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <unordered_map>

#include "drawing/dxf/DxfFile.h"
#include "drawing/dxf/FilePort.h"
#include "drawing/tags/LargeBuffers.h"

namespace kalvex::dxftool {

namespace files = drawing::files;

namespace {

[[noreturn]] void failToRead(const std::string& path) {
    throw FileError(path + ": cannot be read: " + files::lastError());
}

FileStamp stampOf(const files::FileStatus& status) {
    FileStamp stamp;
    stamp.device = status.device;
    stamp.inode = status.inode;
    stamp.size = status.size;
    stamp.modifiedNs = status.modifiedNs;
    stamp.statusChangedNs = status.statusChangedNs;
    return stamp;
}

bool untouched(const FileStamp& now, const FileStamp& then) {
    return now.device == then.device && now.inode == then.inode && now.size == then.size &&
           now.modifiedNs == then.modifiedNs && now.statusChangedNs == then.statusChangedNs;
}

// Reads to the end of the file, returning false (lastError set) when reading fails.
bool readAll(files::OpenFile& file, std::string& bytes) {
    char buffer[1 << 16];
    for (;;) {
        const std::int64_t count = file.read(buffer, sizeof buffer);
        if (count <= 0)
            return count == 0;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

// A hash of the bytes, eight at a time in four independent lanes: it is only ever compared with
// one of the same file read again, and a large drawing is hashed at a fraction of a byte-wise
// hash's cost.
std::size_t hashOf(std::string_view bytes) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t lanes[4] = {bytes.size(), 1, 2, 3};
    std::size_t i = 0;
    const auto word = [&](std::size_t at) {
        std::uint64_t value = 0;
        std::memcpy(&value, bytes.data() + at, sizeof value);
        return value;
    };
    for (; i + 32 <= bytes.size(); i += 32)
        for (std::size_t lane = 0; lane < 4; ++lane)
            lanes[lane] = (lanes[lane] ^ word(i + 8 * lane)) * kMultiplier;
    std::uint64_t hash = lanes[0] ^ (lanes[1] >> 7) ^ (lanes[2] >> 13) ^ (lanes[3] >> 29);
    for (; i < bytes.size(); ++i)
        hash = (hash ^ static_cast<unsigned char>(bytes[i])) * kMultiplier;
    for (std::size_t lane = 1; lane < 4; ++lane)
        hash = (hash ^ lanes[lane]) * kMultiplier;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
}

} // namespace

std::string readFileBytes(const std::string& path, FileStamp* stamp) {
    files::OpenFile file = files::OpenFile::forReading(path);
    if (!file.isOpen())
        failToRead(path);
    const std::optional<files::FileStatus> status = file.status();
    std::string bytes;
    if (!status)
        failToRead(path);
    dxf::reserveLarge(bytes, static_cast<std::size_t>(status->size));
    if (!readAll(file, bytes))
        failToRead(path);
    if (stamp) {
        *stamp = stampOf(*status);
        stamp->hash = hashOf(bytes);
    }
    return bytes;
}

bool stillAsRead(const std::string& path, const FileStamp& stamp) {
    const std::optional<files::FileStatus> status = files::statusOf(path);
    if (!status)
        return false;
    if (untouched(stampOf(*status), stamp))
        return true;
    try {
        FileStamp now;
        readFileBytes(path, &now);
        return now.size == stamp.size && now.hash == stamp.hash;
    } catch (const FileError&) {
        return false;
    }
}

std::optional<std::string> writeProtection(const std::string& path) {
    const std::optional<files::FileStatus> status = files::statusOf(path);
    if (status && !status->ownerMayWrite)
        return "the file is write-protected (its owner has no write permission)";
    const std::filesystem::path where =
        status ? files::pathOf(path) : files::pathOf(path).parent_path();
    if (files::onReadOnlyFileSystem(where.empty() ? "." : files::textOf(where)))
        return "the file is on a read-only file system";
    return std::nullopt;
}

std::string fileIdentity(const std::string& path) {
    if (const std::optional<files::FileStatus> status = files::statusOf(path))
        return std::to_string(status->device) + ":" + std::to_string(status->inode);
    return "missing " + files::textOf(files::pathOf(path).lexically_normal());
}

void requireDistinct(const std::vector<std::string>& paths) {
    std::unordered_map<std::string, const std::string*> seen;
    for (const std::string& path : paths) {
        const auto [first, added] = seen.emplace(fileIdentity(path), &path);
        if (!added)
            throw std::runtime_error(*first->second + " and " + path +
                                     " are the same drawing; name each drawing once");
    }
}

OpenDrawing openDrawing(const std::string& path, ReadFor purpose) {
    OpenDrawing open;
    FileStamp* stamp = purpose == ReadFor::WritingBack ? &open.stamp : nullptr;
    open.drawing = drawing::parseDxf(readFileBytes(path, stamp), path);
    open.drawing->keepNoHistory(); // nothing is undone here
    open.model = drawing::CadModel::create(open.drawing);
    open.document = open.model->application()->ActiveDocument();
    return open;
}

} // namespace kalvex::dxftool
