#include "imaging/byte_sink.h"

#include <new>
#include <stdexcept>

namespace lumio {

bool MemoryByteSink::Write(std::span<const std::uint8_t> bytes) {
    try {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    } catch (const std::bad_alloc &) {
        return false;
    } catch (const std::length_error &) {
        return false;
    }
    return true;
}

} // namespace lumio
