#pragma once
// Self-subclassing: a control receives the messages of any window of its
// thread through a code block of that window's own, with no shared window
// procedure and no global registry of windows.
//
// Each attached window gets a tiny stub as its window procedure. The stub
// passes the window's context to stateless dispatch code, which for every
// message: calls the owner before the previous procedure when the message is
// in the before-table; unless a before-call set bHandled, calls the previous
// procedure (CallWindowProcA, with the arguments as the before-call left
// them) and then the owner again when the (possibly changed) message is in
// the after-table. Tables are read afresh at each phase, so a change made
// inside a callback applies to the rest of the message.
#include <windows.h>

#include "subclass_table.h"

namespace lumio {

// The owner's callback. The arguments are the message as it stands: changes
// made before the previous procedure runs are what it receives. bHandled set
// in a before-call skips the previous procedure and the after-call, and
// lReturn is what the window procedure answers. An exception escaping the
// callback is dropped at the window-procedure boundary.
class ISubclassOwner {
public:
    virtual void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg,
                                WPARAM& wParam, LPARAM& lParam) = 0;

protected:
    ~ISubclassOwner() = default;
};

struct SubclassBlock;

class cThunkSubclass {
public:
    explicit cThunkSubclass(ISubclassOwner& owner) : owner_(owner) {}
    cThunkSubclass(const cThunkSubclass&) = delete;
    cThunkSubclass& operator=(const cThunkSubclass&) = delete;
    // Detaches every window still attached.
    ~cThunkSubclass();

    // Subclasses hWnd and returns its entry, or -1 (nothing changed) for a
    // non-window, a window of another thread, or when the block cannot be
    // made or installed. Attaching a window twice chains two blocks.
    int pAttachThunk(HWND hWnd);
    // Raise error 9 for a window without an entry.
    void pWatchMessage(HWND hWnd, UINT uMsg, int32_t phase);
    void pUnwatchMessage(HWND hWnd, UINT uMsg, int32_t phase);
    // Frees the window's last entry at once. The block leaves the window's
    // chain when it is the window's procedure or one of our blocks sits right
    // above it; under a subclasser of another kind it stays as a plain
    // pass-through, cut off from this owner, until it is the window's
    // procedure again (it steps out on its next message) or the window goes.
    void pDetachThunk(HWND hWnd);
    // Every attached window, last entry first.
    void pDetachAllThunks();
    int pThunkSlotOf(HWND hWnd, bool bFree) const;

    const SubclassWindowTable& Table() const { return table_; }
    // Blocks of this thread's windows still alive, pass-throughs included.
    static int LiveBlocks();

    // GetProcAddress in a module that is already loaded; 0 otherwise.
    static FARPROC pExportAddress(const char* sModule, const char* sFunction);
    // Whether the module exports the function; a module loaded for the
    // question is freed again.
    static bool pExportExists(const char* sFunction, const char* sModule);

    // Tests stand for a window that refuses a new procedure.
    static void RefuseInstallForTesting(bool refuse);

    // Asks for one WM_MOUSELEAVE; nothing when no tracking service exists.
    void pRequestMouseLeave(HWND hWnd) const;
    bool m_TrackingAvailable = false;  // some mouse-leave service exists
    bool m_User32Tracking = false;     // user32 has TrackMouseEvent

private:
    friend struct SubclassBlock;
    friend LRESULT DispatchSubclassMessage(SubclassBlock*, HWND, UINT, WPARAM, LPARAM);
    void DetachEntry(int index);

    ISubclassOwner& owner_;
    SubclassWindowTable table_;
};

}  // namespace lumio
