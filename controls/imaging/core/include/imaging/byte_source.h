#pragma once
// Where a codec takes its bytes from: a window of a caller's array (read in place) or, on
// Windows, an open file read piece by piece (imaging/file_byte_source.h). No read goes past
// the end of the source. Beside it, the byte-order readers and writers of the file formats.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace lumio {

constexpr std::uint16_t ReadLittleEndian16(const std::uint8_t *p) noexcept {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
constexpr std::uint16_t ReadBigEndian16(const std::uint8_t *p) noexcept {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}
constexpr std::uint32_t ReadLittleEndian32(const std::uint8_t *p) noexcept {
    return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}
constexpr std::uint32_t ReadBigEndian32(const std::uint8_t *p) noexcept {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
constexpr void WriteLittleEndian16(std::uint8_t *p, std::uint16_t v) noexcept {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
constexpr void WriteBigEndian16(std::uint8_t *p, std::uint16_t v) noexcept {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}
constexpr void WriteLittleEndian32(std::uint8_t *p, std::uint32_t v) noexcept {
    WriteLittleEndian16(p, static_cast<std::uint16_t>(v));
    WriteLittleEndian16(p + 2, static_cast<std::uint16_t>(v >> 16));
}
constexpr void WriteBigEndian32(std::uint8_t *p, std::uint32_t v) noexcept {
    WriteBigEndian16(p, static_cast<std::uint16_t>(v >> 16));
    WriteBigEndian16(p + 2, static_cast<std::uint16_t>(v));
}

// The bytes [start, start + length) of an array; empty (no value) when start or length is
// negative or the range leaves the array.
std::optional<std::span<const std::uint8_t>> ByteWindow(std::span<const std::uint8_t> bytes, std::int64_t start,
                                                       std::int64_t length) noexcept;

class ByteSource {
public:
    virtual ~ByteSource() = default;
    ByteSource(const ByteSource &) = delete;
    ByteSource &operator=(const ByteSource &) = delete;

    std::uint64_t Size() const noexcept { return size_; }
    // Whether n bytes at offset lie inside the source.
    bool Contains(std::uint64_t offset, std::uint64_t n) const noexcept {
        return offset <= size_ && n <= size_ - offset;
    }
    // n bytes at offset, or null when they are not all inside the source or cannot be read.
    // Valid until the next Fetch.
    virtual const std::uint8_t *Fetch(std::uint64_t offset, std::size_t n) = 0;
    // An open file: the PNG reader tests its size before the signature, and GDI+ is offered
    // the file by its name rather than the bytes.
    virtual bool IsFile() const noexcept = 0;
    // All the bytes, when they stay in place for the source's lifetime (so pointers from
    // Fetch stay valid too); empty when they are read piece by piece.
    virtual std::span<const std::uint8_t> InPlace() const noexcept { return {}; }

    // One value at offset; false (value untouched) when it is not inside the source.
    bool ReadU8(std::uint64_t offset, std::uint8_t &value);
    bool ReadU16LE(std::uint64_t offset, std::uint16_t &value);
    bool ReadU16BE(std::uint64_t offset, std::uint16_t &value);
    bool ReadU32LE(std::uint64_t offset, std::uint32_t &value);
    bool ReadU32BE(std::uint64_t offset, std::uint32_t &value);

protected:
    explicit ByteSource(std::uint64_t size) noexcept : size_(size) {}

private:
    std::uint64_t size_;
};

// A caller's bytes, read in place: never copied, never freed.
class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes) noexcept
        : ByteSource(bytes.size()), bytes_(bytes) {}
    const std::uint8_t *Fetch(std::uint64_t offset, std::size_t n) override {
        return Contains(offset, n) ? bytes_.data() + offset : nullptr;
    }
    bool IsFile() const noexcept override { return false; }
    std::span<const std::uint8_t> InPlace() const noexcept override { return bytes_; }
    std::span<const std::uint8_t> Bytes() const noexcept { return bytes_; }

private:
    std::span<const std::uint8_t> bytes_;
};

} // namespace lumio
