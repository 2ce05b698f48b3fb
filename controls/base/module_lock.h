#pragma once
// The module's lifetime count: live objects, installed hooks, subclassed
// windows and server locks each hold one. The server refuses to unload
// while it is above zero.

namespace lumio {

void ModuleLock();
void ModuleUnlock();
long ModuleLockCount();

}  // namespace lumio
