#include "zlib/zlib_library.h"

#include "imaging/byte_source.h"

namespace lumio {

const char *ZlibLibraryName(std::int32_t index) noexcept {
    // Index 0 keeps the last name tried, as the search leaves it.
    return index == kZlib1Dll ? "zlib1.dll" : "zlib.dll";
}

std::optional<bool> ScanCodeForCdecl(std::span<const std::uint8_t> code) noexcept {
    if (code.size() > kCallingConventionScanLimit) code = code.first(kCallingConventionScanLimit);
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i] == 0xC2 && i + 2 < code.size() && code[i + 1] == 12 && code[i + 2] == 0) return false;
        if (code[i] == 0xC3 && (i == 0 || code[i - 1] != 0x33)) return true;
    }
    return std::nullopt;
}

std::optional<bool> GuessCdeclFromCode(std::uint32_t entry, const CodeAt &codeAt) {
    std::uint32_t address = entry;
    std::span<const std::uint8_t> code = codeAt(address);
    for (int hops = 0; hops < 4 && !code.empty(); ++hops) {
        std::uint32_t next;
        if (code[0] == 0xEB && code.size() >= 2) {
            next = address + 2 + static_cast<std::uint32_t>(static_cast<std::int8_t>(code[1]));
        } else if (code[0] == 0xE9 && code.size() >= 5) {
            next = address + 5 + ReadLittleEndian32(code.data() + 1);
        } else if (code[0] == 0xFF && code.size() >= 6 && code[1] == 0x25) {
            std::span<const std::uint8_t> slot = codeAt(ReadLittleEndian32(code.data() + 2));
            if (slot.size() < 4) break;
            next = ReadLittleEndian32(slot.data());
        } else {
            break;
        }
        address = next;
        code = codeAt(address);
    }
    return ScanCodeForCdecl(code);
}

} // namespace lumio
