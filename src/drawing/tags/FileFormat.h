#pragma once

#include <string>
#include <string_view>

namespace kalvex::dxf {

// Refuses what is no ASCII DXF before it is split into lines: binary DXF, DWG, images, UTF-16
// and other binary files, files whose lines end in CR only and text that does not begin as a
// DXF file does. Throws DxfError naming the file and saying in plain words what it is; the
// bytes themselves are never echoed.
void refuseOtherFormats(std::string_view bytes, const std::string& fileName);

} // namespace kalvex::dxf
