#pragma once
// Copying a surface's image into another surface, at its size or scaled,
// mirrored where a size is negative.
#include <cstdint>
#include <memory>

#include "imaging/c32bpp_dib.h"

namespace lumio {

// Sizes 0 mean self's; a negative size mirrors that axis. A missing target
// is made (with self's GDI+ token and switches); an existing one gets self's
// token and is made anew only when its size differs. The target takes self's
// Alpha and ImageType, and with CopyOriginalFormat its source-file bytes.
// Nothing happens without image, when the target is self, or when the target
// cannot be made (cDIBclass then stays empty).
void CopyImageTo(c32bppDIB &self, std::unique_ptr<c32bppDIB> &cDIBclass, std::int32_t newWidth = 0,
                 std::int32_t newHeight = 0, bool CopyOriginalFormat = false);
void CopyImageTo(c32bppDIB &self, c32bppDIB &target, std::int32_t newWidth = 0, std::int32_t newHeight = 0,
                 bool CopyOriginalFormat = false);

}  // namespace lumio
