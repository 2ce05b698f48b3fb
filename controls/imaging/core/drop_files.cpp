#include "imaging/drop_files.h"

#include "imaging/byte_source.h"
#include "imaging/mod_parsers.h"

namespace lumio {

std::optional<DropFilesHeader> ReadDropFilesHeader(std::span<const std::uint8_t> block) {
    if (block.size() < 20) return std::nullopt;
    DropFilesHeader h;
    h.filesOffset = ReadLittleEndian32(&block[0]);
    h.x = static_cast<std::int32_t>(ReadLittleEndian32(&block[4]));
    h.y = static_cast<std::int32_t>(ReadLittleEndian32(&block[8]));
    h.nonClient = ReadLittleEndian32(&block[12]) != 0;
    h.wide = ReadLittleEndian32(&block[16]) != 0;
    return h;
}

std::vector<std::u16string> ReadWideFileNames(std::span<const std::uint8_t> block, std::size_t maxNames) {
    std::vector<std::u16string> names;
    const auto header = ReadDropFilesHeader(block);
    if (!header) return names;
    std::size_t at = header->filesOffset;
    while (names.size() < maxNames) {
        std::u16string name;
        bool ended = false;
        while (at <= block.size() && block.size() - at >= 2) {
            const char16_t c = static_cast<char16_t>(block[at] | block[at + 1] << 8);
            at += 2;
            if (c == 0) {
                ended = true;
                break;
            }
            name.push_back(c);
        }
        if (!ended || name.empty()) break;
        names.push_back(std::move(name));
    }
    return names;
}

std::int32_t IconColourValue(std::int32_t bitDepth) noexcept {
    switch (bitDepth) {
    case 1: return 2;
    case 2: return 4;
    case 4: return 16;
    case 8: return 256;
    case 24: return static_cast<std::int32_t>(0xFF000000u);
    default: return bitDepth < 24 ? 0xFFFF00 : -1;
    }
}

} // namespace lumio
