#include "imaging/file_byte_source.h"

#include <new>

namespace lumio {

namespace {
std::uint64_t FileSize(HANDLE file) noexcept {
    LARGE_INTEGER size{};
    if (file == nullptr || file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size) || size.QuadPart <= 0)
        return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}
} // namespace

FileByteSource::FileByteSource(HANDLE file) noexcept : ByteSource(FileSize(file)), file_(file) {}

const std::uint8_t *FileByteSource::Fetch(std::uint64_t offset, std::size_t n) {
    if (!Contains(offset, n) || n > 0x7FFFFFFF) return nullptr;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN)) return nullptr;
    try {
        if (buffer_.size() < n) buffer_.resize(n);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    DWORD read = 0;
    if (!ReadFile(file_, buffer_.data(), static_cast<DWORD>(n), &read, nullptr) || read != n) return nullptr;
    return buffer_.data();
}

} // namespace lumio
