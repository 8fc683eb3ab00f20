#include "drawing/dxf/DxfFile.h"

#include <filesystem>
#include <utility>

#include "drawing/dxf/FilePort.h"
#include "drawing/dxf/TemporaryFiles.h"
#include "drawing/tags/LargeBuffers.h"

namespace kalvex::drawing {

namespace {

std::string readWholeFile(const std::string& path) {
    files::OpenFile file = files::OpenFile::forReading(path);
    if (!file.isOpen())
        throw dxf::DxfError(path + ": cannot open the file: " + files::lastError());
    std::string bytes;
    if (const std::int64_t size = file.size(); size > 0)
        dxf::reserveLarge(bytes, static_cast<std::size_t>(size));
    char buffer[1 << 16];
    for (;;) {
        const std::int64_t count = file.read(buffer, sizeof buffer);
        if (count < 0)
            throw dxf::DxfError(path + ": cannot read the file: " + files::lastError());
        if (count == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

// Keeps the current file as NAME.bak: a hard link where the file system has them, a copy
// otherwise.
void keepBackup(const std::string& path) {
    const std::filesystem::path target = files::pathOf(path);
    std::error_code error;
    if (!std::filesystem::exists(target, error))
        return;
    std::filesystem::path backup = target;
    backup.replace_extension(".bak");
    std::filesystem::path fresh = backup;
    fresh += ".new";
    std::filesystem::remove(fresh, error);
    registerTemporary(files::textOf(fresh));
    std::filesystem::create_hard_link(target, fresh, error);
    if (error)
        std::filesystem::copy_file(target, fresh, std::filesystem::copy_options::overwrite_existing,
                                   error);
    if (!error)
        std::filesystem::rename(fresh, backup, error);
    unregisterTemporary(files::textOf(fresh));
    if (error)
        throw dxf::DxfError(path + ": cannot keep the previous version as " +
                            files::textOf(backup) + ": " + error.message());
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
    files::OpenFile file = createTemporary(m_temporary);
    if (!file.isOpen()) {
        m_temporary.clear();
        throw dxf::DxfError(path + ": cannot save: " + files::lastError());
    }
    bool written = false;
    try {
        written = drawing.write([&file](std::string_view piece) { return file.writeAll(piece); });
    } catch (...) {
        file.close();
        removeTemporary(); // the destructor does not run for a constructor that throws
        throw;
    }
    if (!written || !file.flush()) {
        const std::string reason = files::lastError();
        file.close();
        removeTemporary();
        throw dxf::DxfError(path + ": cannot save: " + reason);
    }
    file.takePermissionsOf(path);
    if (!file.close()) {
        const std::string reason = files::lastError();
        removeTemporary();
        throw dxf::DxfError(path + ": cannot save: " + reason);
    }
}

PendingSave::~PendingSave() {
    removeTemporary();
}

void PendingSave::removeTemporary() {
    if (m_temporary.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove(files::pathOf(m_temporary), ignored);
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
    if (!files::replaceFile(m_temporary, m_path))
        throw dxf::DxfError(m_path + ": cannot save: " + files::lastError());
    unregisterTemporary(m_temporary);
    m_temporary.clear();
}

} // namespace kalvex::drawing
