#pragma once
// Calls a zlib export whose calling convention is only guessed.
//
// On 32-bit x86 a zlib library may be cdecl (the caller removes the
// arguments) or stdcall (the callee does). The call saves the stack pointer
// in a callee-saved register and restores it afterwards, so a wrong guess
// cannot unbalance the stack. On x86-64 there is a single convention.
#include <cstddef>
#include <cstdint>
#include <span>

namespace lumio {

constexpr std::size_t kMaxZlibCallArgs = 5;

// Calls `function` with the arguments in order (each passed as one machine
// word; on x86 only the low 32 bits) and returns its 32-bit result. Every
// zlib entry used here (crc32, uncompress, compress, compress2) returns a
// 32-bit value. Returns 0 without calling for a null function or more than
// kMaxZlibCallArgs arguments.
std::uint32_t CallZlibExport(const void *function, std::span<const std::uintptr_t> args) noexcept;

} // namespace lumio
