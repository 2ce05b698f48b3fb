#pragma once
// The C++ runtime's per-thread state, kept where unloading the library can
// free it (see cxx_thread_state.cpp).
namespace lumio {

// Frees every thread's exception globals. Only at FreeLibrary, when no other
// thread runs the library's code.
void FreeCxxThreadState();

}  // namespace lumio
