#include "zlib/zlib_call.h"

namespace lumio {

#if defined(__i386__)
// uint32_t call(fn, const uint32_t *args, uint32_t count), cdecl. EBP holds the
// stack pointer across the call; the callee preserves EBP in either convention.
extern "C" std::uint32_t LumioCallRestoringStack(const void *fn, const std::uintptr_t *args, std::uint32_t count)
    asm("lumio_call_restoring_stack");
asm(R"(
    .text
    .p2align 4
    .globl lumio_call_restoring_stack
lumio_call_restoring_stack:
    pushl %ebp
    movl  %esp, %ebp
    movl  16(%ebp), %ecx
    movl  12(%ebp), %edx
    testl %ecx, %ecx
    jz    2f
1:  pushl -4(%edx,%ecx,4)
    decl  %ecx
    jnz   1b
2:  call  *8(%ebp)
    movl  %ebp, %esp
    popl  %ebp
    ret
)");

std::uint32_t CallZlibExport(const void *function, std::span<const std::uintptr_t> args) noexcept {
    if (function == nullptr || args.size() > kMaxZlibCallArgs) return 0;
    return LumioCallRestoringStack(function, args.data(), static_cast<std::uint32_t>(args.size()));
}

#else

std::uint32_t CallZlibExport(const void *function, std::span<const std::uintptr_t> args) noexcept {
    if (function == nullptr || args.size() > kMaxZlibCallArgs) return 0;
    using W = std::uintptr_t;
    const W *a = args.data();
    void *f = const_cast<void *>(function);
    switch (args.size()) {
    case 0: return reinterpret_cast<std::uint32_t (*)()>(f)();
    case 1: return reinterpret_cast<std::uint32_t (*)(W)>(f)(a[0]);
    case 2: return reinterpret_cast<std::uint32_t (*)(W, W)>(f)(a[0], a[1]);
    case 3: return reinterpret_cast<std::uint32_t (*)(W, W, W)>(f)(a[0], a[1], a[2]);
    case 4: return reinterpret_cast<std::uint32_t (*)(W, W, W, W)>(f)(a[0], a[1], a[2], a[3]);
    default: return reinterpret_cast<std::uint32_t (*)(W, W, W, W, W)>(f)(a[0], a[1], a[2], a[3], a[4]);
    }
}

#endif

} // namespace lumio
