#include "thunk_code.h"

namespace lumio {
namespace {

template <std::size_t N>
void PutLittleEndian(std::array<uint8_t, N>& code, std::size_t at, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) code[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::array<uint8_t, kThunkX86Size> BuildThunkX86(uint32_t context, uint32_t entry) {
    std::array<uint8_t, kThunkX86Size> code{
        0x58,                          // pop  eax           ; return address
        0x68, 0, 0, 0, 0,              // push context
        0x50,                          // push eax           ; return address back on top
        0xB8, 0, 0, 0, 0,              // mov  eax, entry
        0xFF, 0xE0,                    // jmp  eax
    };
    PutLittleEndian(code, 2, context, 4);
    PutLittleEndian(code, 8, entry, 4);
    return code;
}

std::array<uint8_t, kThunkX64Size> BuildThunkX64(uint64_t context, uint64_t entry) {
    std::array<uint8_t, kThunkX64Size> code{
        0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0,  // mov rax, context
        0x48, 0x89, 0x08,                    // mov [rax], rcx     ; hWnd into the context
        0x48, 0x89, 0xC1,                    // mov rcx, rax       ; context as first argument
        0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0,  // mov rax, entry
        0xFF, 0xE0,                          // jmp rax
    };
    PutLittleEndian(code, 2, context, 8);
    PutLittleEndian(code, 18, entry, 8);
    return code;
}

}  // namespace lumio
