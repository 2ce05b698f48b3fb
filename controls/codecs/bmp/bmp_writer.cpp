#include "bmp/bmp_writer.h"

#include <cstring>
#include <limits>

#include "imaging/byte_source.h"
#include "imaging/mod_parsers.h"
#include "imaging/pixel_access.h"

namespace lumio {

bool SaveToStream(const SurfaceCore &self, std::vector<std::uint8_t> &outStream) {
    if (!self.HasImage())
        return false;
    try {
        const uint8_t bits = self.Alpha() ? 32 : 24;
        const int64_t rowSize = ScanWidthForBits(bits, self.Width());
        const int64_t imageSize = rowSize * self.Height();
        if (imageSize + 54 > std::numeric_limits<int32_t>::max())
            return false;
        std::vector<std::uint8_t> out(size_t(imageSize) + 54, 0);
        out[0] = 'B';
        out[1] = 'M';
        WriteLittleEndian32(&out[2], uint32_t(imageSize + 54));
        WriteLittleEndian32(&out[10], 54);
        WriteLittleEndian32(&out[14], 40);
        WriteLittleEndian32(&out[18], uint32_t(self.Width()));
        WriteLittleEndian32(&out[22], uint32_t(self.Height()));
        WriteLittleEndian16(&out[26], 1);
        WriteLittleEndian16(&out[28], bits);
        WriteLittleEndian32(&out[34], uint32_t(imageSize));
        if (bits == 32) {
            std::memcpy(&out[54], self.BitsPointer(), size_t(imageSize));
        } else {
            ByteArray rows;
            if (!GetDIBbits(self, rows, true, true, false, true, true, 0, 0, 0, 0, true) ||
                rows.bytes.size() != size_t(imageSize))
                return false;
            std::memcpy(&out[54], rows.bytes.data(), size_t(imageSize));
        }
        outStream = std::move(out);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace lumio
