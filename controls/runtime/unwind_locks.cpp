// For the 32-bit build. The DWARF unwinder that this module carries (for its
// exceptions) keeps its table of frames behind a lock and a run-once from the
// POSIX thread layer. That layer gives the calling thread a thread record on
// the first run-once, and allocates every lock; all of it stays behind when
// the library is freed, about 350 bytes a load. The build renames the
// unwinder's calls to these, which need no memory at all.
#include <windows.h>

static_assert(sizeof(SRWLOCK) == sizeof(void*), "a lock lives in the unwinder's pointer-sized mutex");

namespace {
SRWLOCK g_onceLock = SRWLOCK_INIT;
}

extern "C" {

// The unwinder's run-once routines take no locks of their own and run no
// other run-once, so one lock serves them all.
int lumio_unwind_once(volatile long* once, void (*fn)()) {
    if (__atomic_load_n(once, __ATOMIC_ACQUIRE)) return 0;
    AcquireSRWLockExclusive(&g_onceLock);
    if (!*once) {
        fn();
        __atomic_store_n(once, 1, __ATOMIC_RELEASE);
    }
    ReleaseSRWLockExclusive(&g_onceLock);
    return 0;
}

int lumio_unwind_mutex_init(void** mutex, const void*) {
    *reinterpret_cast<SRWLOCK*>(mutex) = SRWLOCK_INIT;
    return 0;
}

int lumio_unwind_mutex_lock(void** mutex) {
    AcquireSRWLockExclusive(reinterpret_cast<SRWLOCK*>(mutex));
    return 0;
}

int lumio_unwind_mutex_unlock(void** mutex) {
    ReleaseSRWLockExclusive(reinterpret_cast<SRWLOCK*>(mutex));
    return 0;
}

}  // extern "C"
