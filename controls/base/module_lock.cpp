#include "module_lock.h"

#include <atomic>

namespace lumio {
namespace {

std::atomic<long> g_locks{0};

}  // namespace

void ModuleLock() { g_locks.fetch_add(1); }
void ModuleUnlock() { g_locks.fetch_sub(1); }
long ModuleLockCount() { return g_locks.load(); }

}  // namespace lumio
