#include "executable_code.h"

#include <windows.h>

#include <cstring>

namespace lumio {

bool ExecutableCode::Write(const uint8_t* bytes, std::size_t size) {
    Free();
    void* p = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!p) return false;
    std::memcpy(p, bytes, size);
    DWORD old = 0;
    if (!VirtualProtect(p, size, PAGE_EXECUTE_READ, &old)) {
        VirtualFree(p, 0, MEM_RELEASE);
        return false;
    }
    FlushInstructionCache(GetCurrentProcess(), p, size);
    address_ = p;
    return true;
}

void ExecutableCode::Free() {
    if (address_) VirtualFree(address_, 0, MEM_RELEASE);
    address_ = nullptr;
}

}  // namespace lumio
