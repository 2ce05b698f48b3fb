#pragma once
// Where a codec writes its bytes: the end of a caller's array or, on Windows, an open file
// (imaging/file_byte_sink.h). A write is whole or fails.
#include <cstdint>
#include <span>
#include <vector>

namespace lumio {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Appends all of bytes; false when they could not all be written.
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
};

// Appends to a caller's array, which it does not own.
class MemoryByteSink final : public ByteSink {
public:
    explicit MemoryByteSink(std::vector<std::uint8_t> &bytes) noexcept : bytes_(bytes) {}
    bool Write(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> &Bytes() noexcept { return bytes_; }

private:
    std::vector<std::uint8_t> &bytes_;
};

} // namespace lumio
