#include <cstring>

#include "imaging/mod_parsers_win.h"
#include "run_time_error.h"
#include "win_handles.h"

namespace lumio {

ComPtr<IPicture> PictureFromBytes(std::span<const std::uint8_t> bytes) {
    GlobalMemory block(GMEM_MOVEABLE, bytes.size());
    if (block.get() == nullptr) return nullptr;
    {
        GlobalLockGuard lock(block.get());
        if (lock.get() == nullptr) return nullptr;
        if (!bytes.empty()) std::memcpy(lock.get(), bytes.data(), bytes.size());
    }
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.get(), TRUE, stream.put()))) return nullptr; // the block is still ours
    block.release(); // the stream frees it now
    ComPtr<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.get(), 0, FALSE, IID_IPicture, picture.put_void())))
        return nullptr;
    return picture;
}

ComPtr<IPicture> PictureFromBytes(const std::vector<std::uint8_t> &bytes, std::int32_t start, std::int32_t length) {
    if (start < 0 || length < 0 || static_cast<std::size_t>(start) > bytes.size() ||
        static_cast<std::size_t>(length) > bytes.size() - static_cast<std::size_t>(start))
        Raise(kErrSubscriptOutOfRange);
    return PictureFromBytes(std::span(bytes).subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
}

} // namespace lumio
