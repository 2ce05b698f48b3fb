#include "executable_code.h"

#include <windows.h>

#include <cstring>

namespace lumio {
namespace {

// One private heap of executable memory for every block of the process, so
// that blocks share pages instead of taking a 64 KB reservation each. It goes
// with the module: no block outlives the module lock it holds.
class CodeHeap {
public:
    CodeHeap() : heap_(HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0)) {}
    ~CodeHeap() {
        if (heap_) HeapDestroy(heap_);
    }
    CodeHeap(const CodeHeap&) = delete;
    CodeHeap& operator=(const CodeHeap&) = delete;
    HANDLE Get() const { return heap_; }

private:
    HANDLE heap_;
};

bool g_denied = false;

HANDLE TheCodeHeap() {
    static CodeHeap heap;
    return heap.Get();
}

}  // namespace

void DenyExecutableMemoryForTesting(bool deny) { g_denied = deny; }

bool ExecutableCode::Write(const uint8_t* bytes, std::size_t size) {
    Free();
    HANDLE heap = g_denied ? nullptr : TheCodeHeap();
    void* p = heap ? HeapAlloc(heap, 0, size) : nullptr;
    if (!p) return false;
    std::memcpy(p, bytes, size);
    FlushInstructionCache(GetCurrentProcess(), p, size);
    address_ = p;
    return true;
}

void ExecutableCode::Free() {
    if (address_) HeapFree(TheCodeHeap(), 0, address_);
    address_ = nullptr;
}

}  // namespace lumio
