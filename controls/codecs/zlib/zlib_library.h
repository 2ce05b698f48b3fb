#pragma once
// The zlib libraries looked for by name, and the guess of a 32-bit library's calling
// convention from the code of its crc32 export. Portable: the probe that loads the
// libraries is zlib/win/zlib_probe.h.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace lumio {

// zlib library numbers, shared with the zlib binding: the search goes 2, 1, 0.
enum ZlibLibrary : std::int32_t {
    kZlibNone = 0,
    kZlibDll = 1,  // "zlib.dll"
    kZlib1Dll = 2, // "zlib1.dll"
};
const char *ZlibLibraryName(std::int32_t index) noexcept;

// How far the calling-convention scan reads into crc32's code at most.
constexpr std::size_t kCallingConventionScanLimit = 4096;

// Guesses a 32-bit x86 function's calling convention from its machine code,
// read from its entry: a "ret 12" (C2 0C 00) means stdcall with 12 bytes of
// arguments, a plain "ret" (C3) not preceded by 33 (an "xor r32, ebx") means
// cdecl. Empty when neither is found within the given bytes.
std::optional<bool> ScanCodeForCdecl(std::span<const std::uint8_t> code) noexcept;

// The readable bytes of a 32-bit module at an address (empty where none are).
using CodeAt = std::function<std::span<const std::uint8_t>(std::uint32_t address)>;
// The same guess for the function at `entry`, first following the jumps that
// linkers put at an export's entry (jmp rel8, jmp rel32, jmp [import slot]),
// so that the scan reads the function's own code, not whatever lies after a jump.
std::optional<bool> GuessCdeclFromCode(std::uint32_t entry, const CodeAt &codeAt);

} // namespace lumio
