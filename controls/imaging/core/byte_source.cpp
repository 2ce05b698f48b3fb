#include "imaging/byte_source.h"

namespace lumio {

std::optional<std::span<const std::uint8_t>> ByteWindow(std::span<const std::uint8_t> bytes, std::int64_t start,
                                                       std::int64_t length) noexcept {
    if (start < 0 || length < 0 || static_cast<std::uint64_t>(start) > bytes.size() ||
        static_cast<std::uint64_t>(length) > bytes.size() - static_cast<std::uint64_t>(start))
        return std::nullopt;
    return bytes.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
}

bool ByteSource::ReadU8(std::uint64_t offset, std::uint8_t &value) {
    const std::uint8_t *p = Fetch(offset, 1);
    if (p == nullptr) return false;
    value = p[0];
    return true;
}

bool ByteSource::ReadU16LE(std::uint64_t offset, std::uint16_t &value) {
    const std::uint8_t *p = Fetch(offset, 2);
    if (p == nullptr) return false;
    value = ReadLittleEndian16(p);
    return true;
}

bool ByteSource::ReadU16BE(std::uint64_t offset, std::uint16_t &value) {
    const std::uint8_t *p = Fetch(offset, 2);
    if (p == nullptr) return false;
    value = ReadBigEndian16(p);
    return true;
}

bool ByteSource::ReadU32LE(std::uint64_t offset, std::uint32_t &value) {
    const std::uint8_t *p = Fetch(offset, 4);
    if (p == nullptr) return false;
    value = ReadLittleEndian32(p);
    return true;
}

bool ByteSource::ReadU32BE(std::uint64_t offset, std::uint32_t &value) {
    const std::uint8_t *p = Fetch(offset, 4);
    if (p == nullptr) return false;
    value = ReadBigEndian32(p);
    return true;
}

} // namespace lumio
