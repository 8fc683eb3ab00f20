#pragma once

#include <memory>
#include <string>

#include "drawing/model/Drawing.h"
#include "drawing/tags/DxfError.h"

namespace kalvex::drawing {

// Reads an ASCII DXF file. Throws dxf::DxfError ("FILE:LINE: message") for a file that
// cannot be read, is binary DXF or DWG, or is damaged. What was odd but readable is listed
// in the drawing's warnings().
std::shared_ptr<Drawing> loadDxf(const std::string& path);
// The same for bytes already in memory; `fileName` is what messages name.
std::shared_ptr<Drawing> parseDxf(std::string bytes, const std::string& fileName);

// Writes the drawing to a temporary file beside `path` (named as temporaryPattern says, and
// listed for the signal handler of removeTemporariesOnSignals while it exists) and renames it over
// `path`; the version that was there is kept as the same name with the extension ".bak". A failed
// save leaves `path` as it was and throws dxf::DxfError saying why.
void saveDxf(const Drawing& drawing, const std::string& path);

// saveDxf in two steps, so that a caller can write several drawings and then put all of them
// in place, or none: the constructor writes the temporary file (throwing dxf::DxfError as
// saveDxf does), commit() keeps the .bak and renames the temporary file over `path`. A save
// that is never committed removes its temporary file.
class PendingSave {
public:
    PendingSave(const Drawing& drawing, const std::string& path);
    ~PendingSave();
    PendingSave(PendingSave&& other) noexcept;
    PendingSave& operator=(PendingSave&& other) noexcept;
    PendingSave(const PendingSave&) = delete;
    PendingSave& operator=(const PendingSave&) = delete;

    const std::string& path() const { return m_path; }
    void commit();

private:
    void removeTemporary();

    std::string m_path;
    std::string m_temporary; // empty once committed
};

} // namespace kalvex::drawing
