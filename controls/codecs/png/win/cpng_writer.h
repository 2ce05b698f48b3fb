#pragma once
// The PNG writer's Windows side: saving to a file, and the surface's SaveToStream_PNG.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/c32bpp_dib.h"
#include "png/png_writer.h"

namespace lumio {

// Writes cHost as PNG to the file FileName when it is not empty, else into outStream.
// The file is made whole in memory and then put in the target's place (ReplaceFileWith:
// through a symbolic link, keeping the replaced file's attributes and security), so a
// failed save leaves the file the user had; a target that cannot be written (read-only,
// locked, a directory) fails before anything is written. In-memory, failure empties
// outStream except for no image or no zlib, which leave it untouched. loadZlib: the
// installed zlib by default.
bool SavePNG(const SurfaceCore &cHost, const std::wstring &FileName, std::vector<std::uint8_t> &outStream,
             const cPNGwriter::ZlibLoader &loadZlib = {});

// PNG bytes of the surface: GDI+'s encoder while the surface allows GDI+, else (or when it
// fails) our writer. False without image; on failure outStream is left as it was.
bool SaveToStream_PNG(c32bppDIB &self, std::vector<std::uint8_t> &outStream, const cPNGwriter::ZlibLoader &loadZlib = {});

}  // namespace lumio
