#pragma once
// Where the PNG reader takes its bytes from: a caller's array (read in place) or, on Windows,
// an open file read chunk by chunk.
#include <cstddef>
#include <cstdint>
#include <span>

class PngSource {
public:
    virtual ~PngSource() = default;
    virtual uint64_t Size() const = 0;
    // n bytes at offset, or null when they are not all there. Valid until the next Fetch.
    virtual const uint8_t *Fetch(uint64_t offset, size_t n) = 0;
    // A file gets the size test before its signature is read.
    virtual bool IsFile() const = 0;
};

class MemoryPngSource final : public PngSource {
public:
    explicit MemoryPngSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size(); }
    const uint8_t *Fetch(uint64_t offset, size_t n) override {
        if (offset > bytes_.size() || n > bytes_.size() - offset)
            return nullptr;
        return bytes_.data() + offset;
    }
    bool IsFile() const override { return false; }
    std::span<const uint8_t> Bytes() const { return bytes_; }

private:
    std::span<const uint8_t> bytes_;
};
