#include "cThunkSubclass.h"

#include <commctrl.h>

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#include "executable_code.h"
#include "module_lock.h"
#include "thread_slot.h"
#include "thunk_code.h"

namespace lumio {

// The context one stub passes on. A block whose owner detached while a
// subclasser of another kind sat above it stays as a pass-through, and steps
// out as soon as it is the window's procedure again (or the block above it is
// one of ours). Each block runs this module's code, so it keeps the module
// loaded.
struct SubclassBlock {
    SubclassBlock() : registry(&t_blocks.get()) {
        ModuleLock();
        registry->push_back(this);
    }
    ~SubclassBlock() {
        std::erase(*registry, this);
        ModuleUnlock();
    }
    SubclassBlock(const SubclassBlock&) = delete;
    SubclassBlock& operator=(const SubclassBlock&) = delete;

    uintptr_t incomingHwnd = 0;      // must stay first: the x86-64 stub writes hWnd here
    cThunkSubclass* link = nullptr;  // null once detached
    int index = -1;                  // the entry in link's table
    HWND hWnd = nullptr;
    WNDPROC prev = nullptr;
    int depth = 0;                   // messages in flight through this block
    bool inChain = true;             // some procedure of the window still calls it
    bool freeWhenIdle = false;
    ExecutableCode code;

    // Every live block of this thread's windows.
    static ThreadSlot<std::vector<SubclassBlock*>> t_blocks;
    std::vector<SubclassBlock*>* const registry;

    bool IsCurrentProcedure() const {
        return GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(code.Address());
    }
    void CallOwner(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& hWnd, UINT& uMsg, WPARAM& wParam,
                   LPARAM& lParam) {
        try {
            link->owner_.zSubclass_Proc(bBefore, bHandled, lReturn, hWnd, uMsg, wParam, lParam);
        } catch (...) {
            // Nothing may unwind into the system's message dispatch.
        }
    }
    void Unchain() {
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
        inChain = false;
    }
    // Freed now, or when the last message in flight through it returns.
    void Release() {
        if (depth == 0) delete this;
        else freeWhenIdle = true;
    }
    void SetPrev(WNDPROC p) {
        prev = p;
        if (link) link->table_[index].lpPrevWndProc = reinterpret_cast<uintptr_t>(p);
    }

    // The block of ours that the window's chain enters through proc.
    static SubclassBlock* At(HWND h, LONG_PTR proc) {
        for (SubclassBlock* b : t_blocks.get())
            if (b->inChain && b->hWnd == h && reinterpret_cast<LONG_PTR>(b->code.Address()) == proc) return b;
        return nullptr;
    }
    // Takes a block out of the chain when nothing foreign calls it: it is the
    // window's procedure, or one of our blocks sits right above it. False
    // when a subclasser of another kind holds its address.
    bool Unlink() {
        if (IsCurrentProcedure()) {
            Unchain();
            return true;
        }
        for (SubclassBlock* above : *registry)
            if (above->inChain && above->hWnd == hWnd && above->prev == reinterpret_cast<WNDPROC>(code.Address())) {
                above->SetPrev(prev);
                inChain = false;
                return true;
            }
        return false;
    }
    // Pass-throughs that are the window's procedure step out, one after another.
    static void CollapseTop(HWND h) {
        while (SubclassBlock* top = At(h, GetWindowLongPtrA(h, GWLP_WNDPROC))) {
            if (top->link) return;
            top->Unchain();
            top->Release();
        }
    }
};
ThreadSlot<std::vector<SubclassBlock*>> SubclassBlock::t_blocks;
static_assert(offsetof(SubclassBlock, incomingHwnd) == 0);

LRESULT DispatchSubclassMessage(SubclassBlock* b, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const bool destroying = uMsg == WM_NCDESTROY;
    ++b->depth;
    bool bHandled = false;
    LRESULT lReturn = 0;
    bool collapsed = false;
    if (!b->link && b->inChain && b->IsCurrentProcedure()) {
        // A pass-through on top again: it steps out with any pass-through
        // under it, and the message goes to what the window's chain is now.
        SubclassBlock::CollapseTop(hWnd);
        collapsed = true;
    }
    if (b->link && b->link->table_[b->index].before.Matches(uMsg))
        b->CallOwner(true, bHandled, lReturn, hWnd, uMsg, wParam, lParam);
    if (!bHandled) {
        const WNDPROC next =
            collapsed ? reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) : b->prev;
        lReturn = CallWindowProcA(next, hWnd, uMsg, wParam, lParam);
        if (b->link && b->link->table_[b->index].after.Matches(uMsg)) {
            bool ignored = false;
            b->CallOwner(false, ignored, lReturn, hWnd, uMsg, wParam, lParam);
        }
    }
    if (destroying) {
        // The window is gone after this: free the entry, step out of the chain
        // when still on top of it, and go once idle.
        if (b->link) {
            b->link->table_.Clear(b->index);
            b->link = nullptr;
        }
        if (b->IsCurrentProcedure()) b->Unchain();
        b->inChain = false;
        b->freeWhenIdle = true;
    }
    if (--b->depth == 0 && b->freeWhenIdle) delete b;
    return lReturn;
}

namespace {

bool g_refuseInstall = false;

#if defined(__x86_64__) || defined(_M_X64)
LRESULT ThunkEntry(SubclassBlock* b, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DispatchSubclassMessage(b, reinterpret_cast<HWND>(b->incomingHwnd), uMsg, wParam, lParam);
}
auto BuildThunk(SubclassBlock* b) {
    return BuildThunkX64(reinterpret_cast<uint64_t>(b), reinterpret_cast<uint64_t>(&ThunkEntry));
}
#else
LRESULT __stdcall ThunkEntry(SubclassBlock* b, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DispatchSubclassMessage(b, hWnd, uMsg, wParam, lParam);
}
auto BuildThunk(SubclassBlock* b) {
    return BuildThunkX86(reinterpret_cast<uint32_t>(b), reinterpret_cast<uint32_t>(&ThunkEntry));
}
#endif

}  // namespace

cThunkSubclass::~cThunkSubclass() {
    if (!table_.Exists()) return;
    for (int i = table_.Size() - 1; i >= 0; --i)
        if (table_[i].hWnd) DetachEntry(i);
}

void cThunkSubclass::RefuseInstallForTesting(bool refuse) { g_refuseInstall = refuse; }

int cThunkSubclass::pAttachThunk(HWND hWnd) {
    if (!IsWindow(hWnd) || GetWindowThreadProcessId(hWnd, nullptr) != GetCurrentThreadId()) return -1;
    SubclassBlock::CollapseTop(hWnd);
    // A failed first attach leaves no table: nothing was attached.
    const bool hadTable = table_.Exists();
    auto refused = [&] {
        if (!hadTable) table_ = SubclassWindowTable{};
        return -1;
    };
    try {
        const int index = table_.TakeEntry();
        auto b = std::make_unique<SubclassBlock>();
        b->link = this;
        b->index = index;
        b->hWnd = hWnd;
        b->prev = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
        const auto code = BuildThunk(b.get());
        if (!b->code.Write(code.data(), code.size())) return refused();
        // Installed last, once the block is complete.
        if (g_refuseInstall) return refused();
        SetLastError(0);
        const LONG_PTR prev = SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(b->code.Address()));
        if (prev == 0 && GetLastError() != 0) return refused();
        b->prev = reinterpret_cast<WNDPROC>(prev);
        tSubclassEntry& e = table_[index];
        e.hWnd = reinterpret_cast<uintptr_t>(hWnd);
        e.lpPrevWndProc = static_cast<uintptr_t>(prev);
        e.lpThunk = b.release();
        return index;
    } catch (const std::bad_alloc&) {
        return refused();
    }
}

void cThunkSubclass::DetachEntry(int index) {
    auto* b = static_cast<SubclassBlock*>(table_[index].lpThunk);
    table_.Clear(index);
    if (!b) return;
    b->link = nullptr;
    b->index = -1;
    const HWND hWnd = b->hWnd;
    if (!IsWindow(hWnd)) {
        b->inChain = false;
        b->Release();
    } else if (b->Unlink()) {
        b->Release();
        SubclassBlock::CollapseTop(hWnd);
    }
    // Otherwise a subclasser of another kind calls this block: it stays as a
    // pass-through until it is the window's procedure again.
}

void cThunkSubclass::pWatchMessage(HWND hWnd, UINT uMsg, int32_t phase) {
    table_.Watch(reinterpret_cast<uintptr_t>(hWnd), uMsg, phase);
}

void cThunkSubclass::pUnwatchMessage(HWND hWnd, UINT uMsg, int32_t phase) {
    table_.Unwatch(reinterpret_cast<uintptr_t>(hWnd), uMsg, phase);
}

void cThunkSubclass::pDetachThunk(HWND hWnd) { DetachEntry(table_.EntryOf(reinterpret_cast<uintptr_t>(hWnd))); }

void cThunkSubclass::pDetachAllThunks() {
    if (!table_.Exists()) Raise(kErrSubscriptOutOfRange);
    for (int i = table_.Size() - 1; i >= 0; --i)
        if (table_[i].hWnd) DetachEntry(i);
}

int cThunkSubclass::LiveBlocks() { return static_cast<int>(SubclassBlock::t_blocks->size()); }

int cThunkSubclass::pThunkSlotOf(HWND hWnd, bool bFree) const {
    return table_.pThunkSlotOf(reinterpret_cast<uintptr_t>(hWnd), bFree);
}

FARPROC cThunkSubclass::pExportAddress(const char* sModule, const char* sFunction) {
    HMODULE module = GetModuleHandleA(sModule);
    return module ? GetProcAddress(module, sFunction) : nullptr;
}

bool cThunkSubclass::pExportExists(const char* sFunction, const char* sModule) {
    HMODULE module = GetModuleHandleA(sModule);
    HMODULE loaded = nullptr;
    if (!module) module = loaded = LoadLibraryA(sModule);
    if (!module) return false;
    const bool found = GetProcAddress(module, sFunction) != nullptr;
    if (loaded) FreeLibrary(loaded);
    return found;
}

void cThunkSubclass::pRequestMouseLeave(HWND hWnd) const {
    if (!m_TrackingAvailable) return;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = hWnd;
    tme.dwHoverTime = 0;
    if (m_User32Tracking) TrackMouseEvent(&tme);
    else _TrackMouseEvent(&tme);
}

}  // namespace lumio
