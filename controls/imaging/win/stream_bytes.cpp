#include <algorithm>
#include <cstring>

#include "imaging/cgdiplus.h"
#include "imaging/mod_parsers_win.h"
#include "win_handles.h"

namespace lumio {

bool StreamToArray(IStream *stream, std::vector<std::uint8_t> &bytes) {
    HGLOBAL memory = nullptr;
    if (stream == nullptr || FAILED(GetHGlobalFromStream(stream, &memory))) return false;
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return false;
    // The block may be larger than what was written to the stream.
    const SIZE_T size = std::min<SIZE_T>(GlobalSize(memory), static_cast<SIZE_T>(stat.cbSize.QuadPart));
    if (size == 0) return false;
    GlobalLockGuard lock(memory);
    if (lock.get() == nullptr) return false;
    bytes.assign(static_cast<const std::uint8_t *>(lock.get()), static_cast<const std::uint8_t *>(lock.get()) + size);
    return true;
}

ComPtr<IStream> ArrayToStream(const std::vector<std::uint8_t> &bytes, std::size_t start) {
    ComPtr<IStream> stream;
    if (bytes.empty()) {
        if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return nullptr;
        return stream;
    }
    if (start >= bytes.size()) return nullptr;
    const std::size_t size = bytes.size() - start;
    GlobalMemory block(GMEM_MOVEABLE, size);
    if (block.get() == nullptr) return nullptr;
    {
        GlobalLockGuard lock(block.get());
        if (lock.get() == nullptr) return nullptr;
        std::memcpy(lock.get(), bytes.data() + start, size);
    }
    if (FAILED(CreateStreamOnHGlobal(block.get(), TRUE, stream.put()))) return nullptr;
    block.release();
    return stream;
}

std::wstring PointerToString(const wchar_t *text) {
    if (text == nullptr) return {};
    return std::wstring(text, static_cast<std::size_t>(lstrlenW(text)));
}

} // namespace lumio
