#pragma once
// The byte source over an open file handle; the caller opened the file and closes it.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "imaging/byte_source.h"

namespace lumio {

// Reads the file piece by piece into one buffer, reused for every Fetch. The size is taken
// when the source is made; a handle whose size cannot be read gives an empty source.
class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(HANDLE file) noexcept;
    const std::uint8_t *Fetch(std::uint64_t offset, std::size_t n) override;
    bool IsFile() const noexcept override { return true; }

private:
    HANDLE file_;
    std::vector<std::uint8_t> buffer_;
};

} // namespace lumio
