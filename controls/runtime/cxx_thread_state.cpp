// The C++ runtime linked into this module keeps two pieces of per-thread
// state through its POSIX thread layer, which frees them only when a thread
// ends: the lock behind function-local statics (about 0.8 KB on the first
// one a thread meets) and the exception globals (about 1.5 KB on its first
// throw). A host that loads and frees the library on one thread would keep
// both from every load. These replacements use system locks that need no
// memory and a slot that FreeCxxThreadState empties when the module goes.
#include "cxx_thread_state.h"

#include <windows.h>

#include <cxxabi.h>

#include <cstdlib>
#include <exception>
#include <new>

namespace __cxxabiv1 {

// The layout the runtime's throw and catch code expects.
struct __cxa_eh_globals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};

}  // namespace __cxxabiv1

namespace {

// Guard bytes: [0] done (the compiler's fast path reads it), [1] being
// initialised, [4..7] the initialising thread.
struct GuardBytes {
    volatile char done;
    volatile char busy;
    char unused[2];
    volatile DWORD owner;
};
static_assert(sizeof(GuardBytes) == sizeof(__cxxabiv1::__guard));

SRWLOCK g_guardLock = SRWLOCK_INIT;
CONDITION_VARIABLE g_guardDone = CONDITION_VARIABLE_INIT;

GuardBytes& Bytes(__cxxabiv1::__guard* g) { return *reinterpret_cast<GuardBytes*>(g); }

// Every thread's exception globals, so that unloading frees them all.
struct EhBlock {
    __cxxabiv1::__cxa_eh_globals globals{};
    EhBlock* next = nullptr;
};
SRWLOCK g_ehLock = SRWLOCK_INIT;
INIT_ONCE g_ehOnce = INIT_ONCE_STATIC_INIT;
DWORD g_ehIndex = TLS_OUT_OF_INDEXES;
EhBlock* g_ehBlocks = nullptr;
bool g_ehClosed = false;
// After the module's clean-up (static destructors still to run) and when no
// block can be made: one shared block rather than none.
__cxxabiv1::__cxa_eh_globals g_ehLast{};

BOOL CALLBACK AllocEhIndex(PINIT_ONCE, PVOID, PVOID*) {
    g_ehIndex = TlsAlloc();
    return TRUE;
}

}  // namespace

namespace __cxxabiv1 {

extern "C" int __cxa_guard_acquire(__guard* g) {
    GuardBytes& b = Bytes(g);
    if (__atomic_load_n(&b.done, __ATOMIC_ACQUIRE)) return 0;
    AcquireSRWLockExclusive(&g_guardLock);
    for (;;) {
        if (b.done) break;
        if (!b.busy) {
            b.busy = 1;
            b.owner = GetCurrentThreadId();
            ReleaseSRWLockExclusive(&g_guardLock);
            return 1;
        }
        // A static whose initialiser reaches itself again would wait forever.
        if (b.owner == GetCurrentThreadId()) std::terminate();
        SleepConditionVariableSRW(&g_guardDone, &g_guardLock, INFINITE, 0);
    }
    ReleaseSRWLockExclusive(&g_guardLock);
    return 0;
}

extern "C" void __cxa_guard_release(__guard* g) noexcept {
    GuardBytes& b = Bytes(g);
    AcquireSRWLockExclusive(&g_guardLock);
    b.busy = 0;
    b.owner = 0;
    __atomic_store_n(&b.done, 1, __ATOMIC_RELEASE);
    ReleaseSRWLockExclusive(&g_guardLock);
    WakeAllConditionVariable(&g_guardDone);
}

extern "C" void __cxa_guard_abort(__guard* g) noexcept {
    GuardBytes& b = Bytes(g);
    AcquireSRWLockExclusive(&g_guardLock);
    b.busy = 0;
    b.owner = 0;
    ReleaseSRWLockExclusive(&g_guardLock);
    WakeAllConditionVariable(&g_guardDone);
}

extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept {
    if (g_ehIndex == TLS_OUT_OF_INDEXES) return &g_ehLast;
    auto* block = static_cast<EhBlock*>(TlsGetValue(g_ehIndex));
    return block ? &block->globals : &g_ehLast;
}

extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept {
    InitOnceExecuteOnce(&g_ehOnce, AllocEhIndex, nullptr, nullptr);
    if (g_ehIndex == TLS_OUT_OF_INDEXES) return &g_ehLast;
    if (auto* block = static_cast<EhBlock*>(TlsGetValue(g_ehIndex))) return &block->globals;
    AcquireSRWLockExclusive(&g_ehLock);
    EhBlock* block = g_ehClosed ? nullptr : new (std::nothrow) EhBlock;
    if (block) {
        block->next = g_ehBlocks;
        g_ehBlocks = block;
    }
    ReleaseSRWLockExclusive(&g_ehLock);
    if (!block) return &g_ehLast;
    TlsSetValue(g_ehIndex, block);
    return &block->globals;
}

}  // namespace __cxxabiv1

namespace lumio {

void FreeCxxThreadState() {
    AcquireSRWLockExclusive(&g_ehLock);
    g_ehClosed = true;
    EhBlock* blocks = g_ehBlocks;
    g_ehBlocks = nullptr;
    const DWORD index = g_ehIndex;
    g_ehIndex = TLS_OUT_OF_INDEXES;
    ReleaseSRWLockExclusive(&g_ehLock);
    while (blocks) {
        EhBlock* next = blocks->next;
        delete blocks;
        blocks = next;
    }
    if (index != TLS_OUT_OF_INDEXES) TlsFree(index);
}

}  // namespace lumio
