#include "drawing/dxf/DxfFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "drawing/dxf/TemporaryFiles.h"
#include "drawing/tags/LargeBuffers.h"

namespace kalvex::drawing {

namespace {

std::string systemError() {
    return std::strerror(errno);
}

std::string readWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw dxf::DxfError(path + ": cannot open the file: " + systemError());
    struct stat info {};
    std::string bytes;
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        dxf::reserveLarge(bytes, static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            const std::string reason = systemError();
            ::close(fd);
            throw dxf::DxfError(path + ": cannot read the file: " + reason);
        }
        if (count == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(fd);
    return bytes;
}

void writeAll(int fd, const std::string& bytes, const std::string& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            throw dxf::DxfError(path + ": cannot save: " + systemError());
        done += static_cast<std::size_t>(count);
    }
    if (::fsync(fd) != 0)
        throw dxf::DxfError(path + ": cannot save: " + systemError());
}

// Keeps the current file as NAME.bak: a hard link where the file system has them, a copy
// otherwise.
void keepBackup(const std::filesystem::path& target) {
    std::error_code error;
    if (!std::filesystem::exists(target, error))
        return;
    std::filesystem::path backup = target;
    backup.replace_extension(".bak");
    const std::filesystem::path fresh = backup.string() + ".new";
    std::filesystem::remove(fresh, error);
    registerTemporary(fresh.string());
    std::filesystem::create_hard_link(target, fresh, error);
    if (error)
        std::filesystem::copy_file(target, fresh, std::filesystem::copy_options::overwrite_existing,
                                   error);
    if (!error)
        std::filesystem::rename(fresh, backup, error);
    unregisterTemporary(fresh.string());
    if (error)
        throw dxf::DxfError(target.string() + ": cannot keep the previous version as " +
                            backup.string() + ": " + error.message());
}

} // namespace

std::shared_ptr<Drawing> loadDxf(const std::string& path) {
    return parseDxf(readWholeFile(path), path);
}

std::shared_ptr<Drawing> parseDxf(std::string bytes, const std::string& fileName) {
    return Drawing::fromTags(dxf::readTags(std::move(bytes), fileName), fileName);
}

void saveDxf(const Drawing& drawing, const std::string& path) {
    PendingSave(drawing, path).commit();
}

PendingSave::PendingSave(const Drawing& drawing, const std::string& path)
    : m_path(path), m_temporary(temporaryPattern(path)) {
    const std::string bytes = drawing.serialize();
    const int fd = createTemporary(m_temporary);
    if (fd < 0) {
        m_temporary.clear();
        throw dxf::DxfError(path + ": cannot save: " + systemError());
    }
    bool open = true;
    try {
        writeAll(fd, bytes, path);
        struct stat previous {};
        ::fchmod(fd, ::stat(path.c_str(), &previous) == 0 ? previous.st_mode & 07777 : 0644);
        open = false;
        if (::close(fd) != 0)
            throw dxf::DxfError(path + ": cannot save: " + systemError());
    } catch (...) {
        if (open)
            ::close(fd);
        removeTemporary();
        throw;
    }
}

PendingSave::~PendingSave() {
    removeTemporary();
}

void PendingSave::removeTemporary() {
    if (m_temporary.empty())
        return;
    std::remove(m_temporary.c_str());
    unregisterTemporary(m_temporary);
    m_temporary.clear();
}

PendingSave::PendingSave(PendingSave&& other) noexcept
    : m_path(std::move(other.m_path)), m_temporary(std::exchange(other.m_temporary, {})) {}

PendingSave& PendingSave::operator=(PendingSave&& other) noexcept {
    if (this == &other)
        return *this;
    removeTemporary();
    m_path = std::move(other.m_path);
    m_temporary = std::exchange(other.m_temporary, {});
    return *this;
}

void PendingSave::commit() {
    keepBackup(m_path);
    if (std::rename(m_temporary.c_str(), m_path.c_str()) != 0)
        throw dxf::DxfError(m_path + ": cannot save: " + systemError());
    unregisterTemporary(m_temporary);
    m_temporary.clear();
}

} // namespace kalvex::drawing
