#pragma once
// Machine code of the per-window procedure stubs. A stub hands its window's
// context to one shared entry point and jumps there: it never returns
// through itself, so no frame of it is left on the stack for an unwinder.
#include <array>
#include <cstddef>
#include <cstdint>

namespace lumio {

// x86, stdcall. The stub slips the context in as a first argument, so the
// entry point is LRESULT __stdcall Entry(context, hWnd, uMsg, wParam, lParam)
// and removes twenty bytes of arguments on return.
inline constexpr std::size_t kThunkX86Size = 14;
std::array<uint8_t, kThunkX86Size> BuildThunkX86(uint32_t context, uint32_t entry);

// x86-64, Microsoft convention. Four register arguments leave no room for a
// fifth without a frame, so the stub stores hWnd (rcx) in the first
// pointer-sized field of the context and passes the context in its place:
// LRESULT Entry(context, uMsg, wParam, lParam). The entry point must read
// that field before it does anything that could dispatch a message.
inline constexpr std::size_t kThunkX64Size = 28;
std::array<uint8_t, kThunkX64Size> BuildThunkX64(uint64_t context, uint64_t entry);

}  // namespace lumio
