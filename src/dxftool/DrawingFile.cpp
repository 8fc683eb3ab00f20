#include "dxftool/DrawingFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <unordered_map>

#include "drawing/dxf/DxfFile.h"
#include "drawing/tags/LargeBuffers.h"

namespace kalvex::dxftool {

namespace {

[[noreturn]] void failToRead(const std::string& path) {
    throw FileError(path + ": cannot be read: " + std::strerror(errno));
}

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileStamp stampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modifiedNs = nanoseconds(info.st_mtim);
    stamp.statusChangedNs = nanoseconds(info.st_ctim);
    return stamp;
}

bool untouched(const FileStamp& now, const FileStamp& then) {
    return now.device == then.device && now.inode == then.inode && now.size == then.size &&
           now.modifiedNs == then.modifiedNs && now.statusChangedNs == then.statusChangedNs;
}

// Reads to the end of the file, returning false (errno set) when reading fails.
bool readAll(int fd, std::string& bytes) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count == 0;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace

std::string readFileBytes(const std::string& path, FileStamp* stamp) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        failToRead(path);
    struct stat info {};
    std::string bytes;
    bool read = ::fstat(fd, &info) == 0;
    if (read) {
        dxf::reserveLarge(bytes, static_cast<std::size_t>(info.st_size));
        read = readAll(fd, bytes);
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    if (!read)
        failToRead(path);
    if (stamp) {
        *stamp = stampOf(info);
        stamp->hash = std::hash<std::string_view>{}(bytes);
    }
    return bytes;
}

bool stillAsRead(const std::string& path, const FileStamp& stamp) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    if (untouched(stampOf(info), stamp))
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
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (exists && (info.st_mode & S_IWUSR) == 0)
        return "the file is write-protected (its owner has no write permission)";
    const std::filesystem::path where =
        exists ? std::filesystem::path(path) : std::filesystem::path(path).parent_path();
    struct statvfs system {};
    if (::statvfs(where.empty() ? "." : where.c_str(), &system) == 0 &&
        (system.f_flag & ST_RDONLY) != 0)
        return "the file is on a read-only file system";
    return std::nullopt;
}

std::string fileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
    return "missing " + std::filesystem::path(path).lexically_normal().string();
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
    open.model = drawing::CadModel::create(open.drawing);
    open.document = open.model->application()->ActiveDocument();
    return open;
}

} // namespace kalvex::dxftool
