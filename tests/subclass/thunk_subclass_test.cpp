#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "cThunkSubclass.h"
#include "executable_code.h"
#include "live_objects.h"
#include "module_lock.h"

using namespace lumio;

namespace {

std::vector<std::string> g_log;

void Log(const char* fmt, ...) {
    char buf[160];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    g_log.push_back(buf);
}

constexpr UINT M1 = WM_USER + 1, M2 = WM_USER + 2, M3 = WM_USER + 3;

// The window's own procedure: logs test messages and answers 100 + wParam.
LRESULT CALLBACK BaseProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m >= M1 && m <= M3) {
        Log("prev %X w=%d", m, int(w));
        return 100 + LRESULT(w);
    }
    return DefWindowProcW(h, m, w, l);
}

struct Owner : ISubclassOwner {
    char name;
    std::function<void(bool, bool&, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM&)> act;
    explicit Owner(char n) : name(n) {}
    void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& hWnd, UINT& uMsg, WPARAM& wParam,
                        LPARAM& lParam) override {
        if (uMsg >= M1 && uMsg <= M3)
            Log("%c:%s %X w=%d r=%d", name, bBefore ? "before" : "after", uMsg, int(wParam), int(lReturn));
        if (act) act(bBefore, bHandled, lReturn, hWnd, uMsg, wParam, lParam);
    }
};

class Subclassing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = BaseProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumioSubclassTest";
        RegisterClassW(&wc);
    }
    HWND Make() {
        HWND h = CreateWindowExW(0, L"LumioSubclassTest", L"", WS_POPUP, 400, 400, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        windows_.push_back(h);
        return h;
    }
    void SetUp() override { g_log.clear(); }
    void TearDown() override {
        for (HWND h : windows_)
            if (IsWindow(h)) DestroyWindow(h);
    }
    static LONG_PTR Proc(HWND h) { return GetWindowLongPtrA(h, GWLP_WNDPROC); }
    std::vector<HWND> windows_;
};

using Logs = std::vector<std::string>;

// Callbacks that need the subclasser itself.
enum class Rewatch { kNone, kWatchAfter, kUnwatchAfter };

struct DispatchCase {
    const char* name;
    std::vector<std::pair<UINT, int32_t>> watches;  // message, phase
    std::function<void(bool, bool&, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM&)> act;
    UINT msg;
    WPARAM w;
    LRESULT result;
    Logs log;
    Rewatch rewatch = Rewatch::kNone;
};

TEST_F(Subclassing, DispatchRules) {
    HWND other = Make();
    const DispatchCase cases[] = {
        {"attached, nothing watched: the window behaves as before", {}, nullptr, M1, 2, 102, {"prev 401 w=2"}},
        {"a handled before-call answers without previous or after-call",
         {{M1, mpBoth}},
         [](bool before, bool& handled, LRESULT& r, HWND&, UINT&, WPARAM&, LPARAM&) {
             if (before) handled = true, r = 1;
         },
         M1, 2, 1, {"A:before 401 w=2 r=0"}},
        {"a wParam changed before reaches the previous procedure and the after-call",
         {{M1, mpBoth}},
         [](bool before, bool&, LRESULT&, HWND&, UINT&, WPARAM& w, LPARAM&) {
             if (before) w = 7;
         },
         M1, 2, 107, {"A:before 401 w=2 r=0", "prev 401 w=7", "A:after 401 w=7 r=107"}},
        {"the changed message is the one looked up after",
         {{M1, mpBefore}, {M3, mpAfter}},
         [](bool before, bool&, LRESULT&, HWND&, UINT& m, WPARAM&, LPARAM&) {
             if (before) m = M3;
         },
         M1, 4, 104, {"A:before 401 w=4 r=0", "prev 403 w=4", "A:after 403 w=4 r=104"}},
        {"an after-call sets the answer", {{M2, mpAfter}},
         [](bool, bool&, LRESULT& r, HWND&, UINT&, WPARAM&, LPARAM&) { r = -5; }, M2, 1, -5,
         {"prev 402 w=1", "A:after 402 w=1 r=101"}},
        {"bHandled in an after-call changes nothing", {{M2, mpAfter}},
         [](bool, bool& handled, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM&) { handled = true; }, M2, 1, 101,
         {"prev 402 w=1", "A:after 402 w=1 r=101"}},
        {"every message, after only", {{EVERY_MESSAGE, mpAfter}}, nullptr, M3, 0, 100,
         {"prev 403 w=0", "A:after 403 w=0 r=100"}},
        {"a message in one phase only", {{M1, mpAfter}, {M2, mpBefore}}, nullptr, M2, 0, 100,
         {"A:before 402 w=0 r=0", "prev 402 w=0"}},
        {"a watch made in the before-call applies to this message's after-phase",
         {{M1, mpBefore}},
         nullptr,
         M1, 3, 103, {"A:before 401 w=3 r=0", "prev 401 w=3", "A:after 401 w=3 r=103"}, Rewatch::kWatchAfter},
        {"an unwatch made in the before-call drops this message's after-call",
         {{M1, mpBoth}},
         nullptr,
         M1, 3, 103, {"A:before 401 w=3 r=0", "prev 401 w=3"}, Rewatch::kUnwatchAfter},
        {"hWnd changed before: the previous procedure is called for the other window",
         {{M1, mpBoth}},
         [other](bool before, bool&, LRESULT&, HWND& h, UINT&, WPARAM&, LPARAM&) {
             if (before) {
                 h = other;
             } else if (h != other) {
                 Log("after-call saw the original window");
             }
         },
         M1, 9, 109, {"A:before 401 w=9 r=0", "prev 401 w=9", "A:after 401 w=9 r=109"}},
    };
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND h = Make();
        Owner a('A');
        cThunkSubclass sc(a);
        ASSERT_EQ(sc.pAttachThunk(h), 0);
        for (auto [m, phase] : c.watches) sc.pWatchMessage(h, m, phase);
        a.act = c.act;
        if (c.rewatch == Rewatch::kWatchAfter)
            a.act = [&](bool before, bool&, LRESULT&, HWND& hw, UINT&, WPARAM&, LPARAM&) {
                if (before) sc.pWatchMessage(hw, M1, mpAfter);
            };
        if (c.rewatch == Rewatch::kUnwatchAfter)
            a.act = [&](bool before, bool&, LRESULT&, HWND& hw, UINT&, WPARAM&, LPARAM&) {
                if (before) sc.pUnwatchMessage(hw, M1, mpAfter);
            };
        g_log.clear();
        EXPECT_EQ(SendMessageA(h, c.msg, c.w, 0), c.result);
        EXPECT_EQ(g_log, c.log);
    }
}

TEST_F(Subclassing, CallbacksSeeAnsiMessagesOfAUnicodeWindow) {
    HWND h = Make();
    Owner a('A');
    std::string seen;
    a.act = [&](bool before, bool&, LRESULT&, HWND&, UINT& m, WPARAM&, LPARAM& l) {
        if (before && m == WM_SETTEXT) seen = reinterpret_cast<const char*>(l);
    };
    cThunkSubclass sc(a);
    sc.pAttachThunk(h);
    sc.pWatchMessage(h, WM_SETTEXT, mpBefore);
    SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u4E2D\u6587"));
    EXPECT_EQ(seen, "\xD6\xD0\xCE\xC4");  // code page 936
    wchar_t back[8]{};
    GetWindowTextW(h, back, 8);
    EXPECT_STREQ(back, L"\u4E2D\u6587") << "the text reaches the window intact";
}

TEST_F(Subclassing, ExceptionInACallbackStopsAtTheBoundary) {
    HWND h = Make();
    Owner a('A');
    a.act = [](bool, bool&, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM&) { throw std::runtime_error("owner fault"); };
    cThunkSubclass sc(a);
    sc.pAttachThunk(h);
    sc.pWatchMessage(h, M1, mpBoth);
    EXPECT_EQ(SendMessageA(h, M1, 1, 0), 101);
    EXPECT_EQ(g_log, (Logs{"A:before 401 w=1 r=0", "prev 401 w=1", "A:after 401 w=1 r=101"}));
}

TEST_F(Subclassing, DetachedEntryIsReusedAndItsWindowRestored) {
    HWND A = Make(), B = Make(), C = Make();
    const LONG_PTR original = Proc(A);
    const long locks = ModuleLockCount();
    Owner o('O');
    cThunkSubclass sc(o);
    EXPECT_EQ(sc.pAttachThunk(A), 0);
    EXPECT_EQ(sc.pAttachThunk(B), 1);
    EXPECT_EQ(ModuleLockCount(), locks + 2) << "a live block keeps the module loaded";
    EXPECT_NE(Proc(A), original);
    sc.pWatchMessage(A, M1, mpBefore);
    sc.pDetachThunk(A);
    EXPECT_EQ(Proc(A), original);
    EXPECT_EQ(ModuleLockCount(), locks + 1);
    EXPECT_EQ(sc.pThunkSlotOf(A, false), -1);
    EXPECT_EQ(sc.pAttachThunk(C), 0) << "C takes A's entry";
    EXPECT_EQ(sc.Table()[0].before.nCount, 0) << "and starts with empty tables";
    sc.pWatchMessage(C, M1, mpBefore);
    SendMessageA(A, M1, 0, 0);
    SendMessageA(C, M1, 0, 0);
    EXPECT_EQ(g_log, (Logs{"prev 401 w=0", "O:before 401 w=0 r=0", "prev 401 w=0"}));
}

TEST_F(Subclassing, ErrorsAndRefusals) {
    Owner o('O');
    cThunkSubclass sc(o);
    EXPECT_THROW(sc.pDetachAllThunks(), RunTimeError) << "nothing ever attached";
    EXPECT_THROW(sc.pThunkSlotOf(nullptr, true), RunTimeError);
    EXPECT_EQ(sc.pAttachThunk(reinterpret_cast<HWND>(0x1234)), -1) << "not a window";
    EXPECT_EQ(sc.pAttachThunk(nullptr), -1);

    // A window of another thread.
    HWND foreign = nullptr;
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr), done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread t([&] {
        foreign = CreateWindowExW(0, L"LumioSubclassTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        SetEvent(made);
        WaitForSingleObject(done, 10000);
        DestroyWindow(foreign);
    });
    WaitForSingleObject(made, 10000);
    const LONG_PTR before = Proc(foreign);
    EXPECT_EQ(sc.pAttachThunk(foreign), -1);
    EXPECT_EQ(Proc(foreign), before);
    SetEvent(done);
    t.join();
    CloseHandle(made);
    CloseHandle(done);

    HWND h = Make();
    EXPECT_THROW(sc.pWatchMessage(h, M1, mpAfter), RunTimeError) << "a window without an entry";
    EXPECT_THROW(sc.pUnwatchMessage(h, M1, mpAfter), RunTimeError);
    EXPECT_THROW(sc.pDetachThunk(h), RunTimeError);
    EXPECT_THROW(sc.pDetachAllThunks(), RunTimeError) << "a refusal leaves no table behind";
}

TEST_F(Subclassing, AFailedAttachLeavesTheWindowAsItWas) {
    struct Fault {
        const char* name;
        void (*set)(bool);
    } faults[] = {{"no executable memory", DenyExecutableMemoryForTesting},
                  {"the window refuses the procedure", cThunkSubclass::RefuseInstallForTesting}};
    for (const Fault& f : faults) {
        // A fresh owner, one with a window already, and a window under another owner's block.
        for (int setup = 0; setup < 3; ++setup) {
            SCOPED_TRACE(std::string(f.name) + ", setup " + std::to_string(setup));
            Owner o('O'), other('X');
            cThunkSubclass sc(o), sc2(other);
            HWND h = Make(), mine = Make();
            if (setup == 1) {
                ASSERT_EQ(sc.pAttachThunk(mine), 0);
            } else if (setup == 2) {
                ASSERT_EQ(sc2.pAttachThunk(h), 0);
            }
            const LONG_PTR before = Proc(h);
            const long locks = ModuleLockCount();
            const int blocks = cThunkSubclass::LiveBlocks();
            f.set(true);
            const int got = sc.pAttachThunk(h);
            f.set(false);
            EXPECT_EQ(got, -1);
            EXPECT_EQ(Proc(h), before);
            EXPECT_EQ(ModuleLockCount(), locks);
            EXPECT_EQ(cThunkSubclass::LiveBlocks(), blocks);
            EXPECT_EQ(SendMessageA(h, M1, 5, 0), 105) << "messages reach the window's procedure";
            if (setup == 1) {
                EXPECT_EQ(sc.pThunkSlotOf(h, false), -1) << "no entry for the window";
                EXPECT_EQ(sc.pThunkSlotOf(mine, false), 0);
            } else {
                EXPECT_THROW(sc.pDetachAllThunks(), RunTimeError) << "still nothing attached";
            }
            // The next attach, with memory and a willing window, works.
            const int again = sc.pAttachThunk(h);
            EXPECT_GE(again, 0);
            sc.pWatchMessage(h, M1, mpBefore);
            g_log.clear();
            SendMessageA(h, M1, 1, 0);
            EXPECT_EQ(g_log, (Logs{"O:before 401 w=1 r=0", "prev 401 w=1"}));
        }
    }
}

TEST_F(Subclassing, SameOwnerAttachedTwiceChainsAndUnwindsInReverse) {
    HWND h = Make();
    const LONG_PTR original = Proc(h);
    Owner o('O');
    cThunkSubclass sc(o);
    EXPECT_EQ(sc.pAttachThunk(h), 0);
    const LONG_PTR first = Proc(h);
    EXPECT_EQ(sc.pAttachThunk(h), 1);
    EXPECT_EQ(sc.Table()[1].lpPrevWndProc, static_cast<uintptr_t>(first));
    sc.pWatchMessage(h, M1, mpBefore);  // the last entry: the outer block
    sc.pWatchMessage(h, M1, mpAfter);
    EXPECT_EQ(SendMessageA(h, M1, 1, 0), 101);
    EXPECT_EQ(g_log, (Logs{"O:before 401 w=1 r=0", "prev 401 w=1", "O:after 401 w=1 r=101"}));
    sc.pDetachAllThunks();
    EXPECT_EQ(Proc(h), original);
}

// Two owners on one window, detached in both orders: the later subclasser
// must never be left calling freed code.
TEST_F(Subclassing, TwoOwnersOnOneWindowDetachInEitherOrder) {
    for (bool firstGoesFirst : {true, false}) {
        SCOPED_TRACE(firstGoesFirst ? "first owner detaches first" : "second owner detaches first");
        HWND h = Make();
        const LONG_PTR original = Proc(h);
        const long locks = ModuleLockCount();
        Owner o1('1'), o2('2');
        auto s1 = std::make_unique<cThunkSubclass>(o1);
        auto s2 = std::make_unique<cThunkSubclass>(o2);
        s1->pAttachThunk(h);
        s1->pWatchMessage(h, M1, mpBoth);
        s2->pAttachThunk(h);
        s2->pWatchMessage(h, M1, mpBoth);
        g_log.clear();
        SendMessageA(h, M1, 0, 0);
        EXPECT_EQ(g_log, (Logs{"2:before 401 w=0 r=0", "1:before 401 w=0 r=0", "prev 401 w=0",
                               "1:after 401 w=0 r=100", "2:after 401 w=0 r=100"}));
        if (firstGoesFirst) {
            s1->pDetachThunk(h);
            s1.reset();  // the owner's state is gone for good
            g_log.clear();
            EXPECT_EQ(SendMessageA(h, M1, 1, 0), 101);
            EXPECT_EQ(g_log, (Logs{"2:before 401 w=1 r=0", "prev 401 w=1", "2:after 401 w=1 r=101"}));
            s2->pDetachThunk(h);
            s2.reset();
            EXPECT_EQ(Proc(h), original) << "the first block left the chain under the second";
            EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
        } else {
            s2->pDetachThunk(h);
            s2.reset();
            g_log.clear();
            EXPECT_EQ(SendMessageA(h, M1, 1, 0), 101);
            EXPECT_EQ(g_log, (Logs{"1:before 401 w=1 r=0", "prev 401 w=1", "1:after 401 w=1 r=101"}));
            s1->pDetachThunk(h);
            s1.reset();
            EXPECT_EQ(Proc(h), original);
        }
        g_log.clear();
        EXPECT_EQ(SendMessageA(h, M1, 2, 0), 102);
        EXPECT_EQ(g_log, (Logs{"prev 401 w=2"}));
        EXPECT_TRUE(DestroyWindow(h));
        EXPECT_EQ(ModuleLockCount(), locks) << "every block is gone with its window";
    }
}

TEST_F(Subclassing, WindowDestroyedWhileSubclassed) {
    HWND h = Make(), keep = Make();
    Owner o('O');
    std::vector<UINT> seen;
    o.act = [&](bool before, bool&, LRESULT&, HWND&, UINT& m, WPARAM&, LPARAM&) {
        if (m == WM_DESTROY || m == WM_NCDESTROY) seen.push_back(before ? m : m | 0x10000);
    };
    {
        cThunkSubclass sc(o);
        sc.pAttachThunk(keep);
        EXPECT_EQ(sc.pAttachThunk(h), 1);
        sc.pWatchMessage(h, WM_DESTROY, mpBefore);
        sc.pWatchMessage(h, WM_NCDESTROY, mpBoth);
        EXPECT_TRUE(DestroyWindow(h));
        EXPECT_EQ(seen, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY, WM_NCDESTROY | 0x10000}));
        EXPECT_EQ(sc.Table()[1].hWnd, 0u) << "the entry of a destroyed window is free";
        const int next = sc.pAttachThunk(Make());
        EXPECT_EQ(next, 1);
        EXPECT_NO_THROW(sc.pDetachAllThunks());
    }
    // Destroyed under a second subclasser, with both still attached: each
    // block passes the message on and goes.
    HWND h2 = Make();
    Owner o2('P');
    cThunkSubclass s1(o), s2(o2);
    s1.pAttachThunk(h2);
    s2.pAttachThunk(h2);
    s1.pWatchMessage(h2, WM_NCDESTROY, mpAfter);
    seen.clear();
    EXPECT_TRUE(DestroyWindow(h2));
    EXPECT_EQ(seen, (std::vector<UINT>{WM_NCDESTROY | 0x10000}));
    EXPECT_EQ(s1.pThunkSlotOf(h2, false), -1);
    EXPECT_EQ(s2.pThunkSlotOf(h2, false), -1);
}

TEST_F(Subclassing, NestedMessages) {
    HWND h = Make();
    const LONG_PTR original = Proc(h);
    Owner o('O');
    cThunkSubclass sc(o);
    sc.pAttachThunk(h);
    sc.pWatchMessage(h, M1, mpBoth);
    sc.pWatchMessage(h, M2, mpBoth);
    o.act = [&](bool before, bool&, LRESULT&, HWND& hw, UINT& m, WPARAM&, LPARAM&) {
        if (before && m == M1) Log("nested answer %d", int(SendMessageA(hw, M2, 5, 0)));
    };
    EXPECT_EQ(SendMessageA(h, M1, 1, 0), 101);
    EXPECT_EQ(g_log, (Logs{"O:before 401 w=1 r=0", "O:before 402 w=5 r=0", "prev 402 w=5",
                           "O:after 402 w=5 r=105", "nested answer 105", "prev 401 w=1", "O:after 401 w=1 r=101"}));

    // Detached inside a nested message: the outer message still finishes
    // through the block (previous procedure, no after-call), which goes only
    // once it is idle.
    o.act = [&](bool before, bool&, LRESULT&, HWND& hw, UINT& m, WPARAM&, LPARAM&) {
        if (before && m == M1) SendMessageA(hw, M2, 5, 0);
        if (before && m == M2) sc.pDetachThunk(hw);
    };
    g_log.clear();
    EXPECT_EQ(SendMessageA(h, M1, 1, 0), 101);
    EXPECT_EQ(g_log, (Logs{"O:before 401 w=1 r=0", "O:before 402 w=5 r=0", "prev 402 w=5", "prev 401 w=1"}));
    EXPECT_EQ(Proc(h), original);
    g_log.clear();
    SendMessageA(h, M1, 1, 0);
    EXPECT_EQ(g_log, (Logs{"prev 401 w=1"}));
}

TEST_F(Subclassing, OwnerGoneInsideItsOwnCallback) {
    HWND h = Make();
    Owner o('O');
    auto sc = std::make_unique<cThunkSubclass>(o);
    sc->pAttachThunk(h);
    sc->pWatchMessage(h, M1, mpBoth);
    o.act = [&](bool before, bool&, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM&) {
        if (before) sc.reset();
    };
    EXPECT_EQ(SendMessageA(h, M1, 3, 0), 103);
    EXPECT_EQ(g_log, (Logs{"O:before 401 w=3 r=0", "prev 401 w=3"}));
}

// A subclasser of another kind: a plain window procedure over the chain.
WNDPROC g_foreignPrev = nullptr;
LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m >= M1 && m <= M3) Log("foreign %X", m);
    return CallWindowProcA(g_foreignPrev, h, m, w, l);
}
void InstallForeign(HWND h) {
    g_foreignPrev = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
}
void RemoveForeign(HWND h) { SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignPrev)); }

TEST_F(Subclassing, PassThroughStepsOutOnceItIsTheWindowsProcedureAgain) {
    HWND h = Make();
    const LONG_PTR original = Proc(h);
    const long locks = ModuleLockCount();
    Owner o1('1'), o2('2');
    cThunkSubclass s1(o1), s2(o2);
    s1.pAttachThunk(h);
    s2.pAttachThunk(h);
    s1.pWatchMessage(h, M1, mpBefore);
    s2.pWatchMessage(h, M1, mpBefore);
    InstallForeign(h);
    s2.pDetachThunk(h);
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 2) << "under a foreign subclasser the block must stay";
    s1.pDetachThunk(h);
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 1) << "under our own pass-through the block leaves at once";
    g_log.clear();
    EXPECT_EQ(SendMessageA(h, M1, 1, 0), 101);
    EXPECT_EQ(g_log, (Logs{"foreign 401", "prev 401 w=1"}));
    EXPECT_EQ(ModuleLockCount(), locks + 1);

    RemoveForeign(h);
    g_log.clear();
    EXPECT_EQ(SendMessageA(h, M1, 2, 0), 102) << "the message still reaches the window";
    EXPECT_EQ(g_log, (Logs{"prev 401 w=2"}));
    EXPECT_EQ(Proc(h), original) << "the pass-through stepped out on its first message";
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
    EXPECT_EQ(ModuleLockCount(), locks);

    // Already on top again when a new owner attaches: it is skipped at once.
    s1.pAttachThunk(h);
    InstallForeign(h);
    s1.pDetachThunk(h);
    RemoveForeign(h);
    s2.pAttachThunk(h);
    EXPECT_EQ(s2.Table()[s2.pThunkSlotOf(h, false)].lpPrevWndProc, static_cast<uintptr_t>(original));
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 1);
    s2.pDetachThunk(h);
    EXPECT_EQ(Proc(h), original);
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
}

// A block is freed only once no call of it runs: detached from inside its
// own callback while an owner's block sits above it, the message finishes.
TEST_F(Subclassing, DetachedUnderOurOwnBlockWhileItRuns) {
    HWND h = Make();
    const LONG_PTR original = Proc(h);
    Owner o1('1'), o2('2');
    cThunkSubclass s1(o1), s2(o2);
    s1.pAttachThunk(h);
    s2.pAttachThunk(h);
    s1.pWatchMessage(h, M1, mpBoth);
    s2.pWatchMessage(h, M1, mpBoth);
    o1.act = [&](bool before, bool&, LRESULT&, HWND& hw, UINT&, WPARAM&, LPARAM&) {
        if (before) {
            s1.pDetachThunk(hw);
            Log("inner answer %d", int(SendMessageA(hw, M1, 5, 0)));
        }
    };
    EXPECT_EQ(SendMessageA(h, M1, 1, 0), 101);
    EXPECT_EQ(g_log, (Logs{"2:before 401 w=1 r=0", "1:before 401 w=1 r=0", "2:before 401 w=5 r=0", "prev 401 w=5",
                           "2:after 401 w=5 r=105", "inner answer 105", "prev 401 w=1", "2:after 401 w=1 r=101"}));
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 1);
    s2.pDetachThunk(h);
    EXPECT_EQ(Proc(h), original);
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
}

// A form that lives for hours while controls come and go: the chain, the
// module locks and the committed memory stay flat.
TEST_F(Subclassing, LongLivedWindowWithOwnersComingAndGoing) {
    constexpr int kRounds = 10000;
    HWND h = Make();
    const LONG_PTR original = Proc(h);
    const long locks = ModuleLockCount();
    Owner o1('1'), o2('2'), o3('3');
    auto cycleOutOfOrder = [&](bool foreign) {
        cThunkSubclass s1(o1), s2(o2);
        s1.pAttachThunk(h);
        s2.pAttachThunk(h);
        if (foreign) InstallForeign(h);
        s1.pDetachThunk(h);
        ASSERT_EQ(cThunkSubclass::LiveBlocks(), 1);
        ASSERT_EQ(SendMessageA(h, M1, 1, 0), 101);
        s2.pDetachThunk(h);
        if (foreign) {
            ASSERT_EQ(cThunkSubclass::LiveBlocks(), 1) << "one pass-through under the foreign subclasser";
            RemoveForeign(h);
            ASSERT_EQ(SendMessageA(h, M1, 2, 0), 102);
        }
        ASSERT_EQ(cThunkSubclass::LiveBlocks(), 0);
        ASSERT_EQ(Proc(h), original);
    };
    for (bool foreign : {false, true}) {
        SCOPED_TRACE(foreign ? "with a foreign subclasser above" : "our owners only");
        for (int i = 0; i < 100; ++i) cycleOutOfOrder(foreign);  // warm-up
        g_log.clear();
        const size_t committed = test::CommittedPrivateBytes();
        for (int i = 0; i < kRounds; ++i) {
            cycleOutOfOrder(foreign);
            if (::testing::Test::HasFatalFailure()) return;
            if (i % 256 == 0) g_log.clear();
        }
        g_log.clear();
        EXPECT_EQ(ModuleLockCount(), locks);
        EXPECT_LT(test::CommittedPrivateBytes(), committed + 512 * 1024) << "was " << committed;
    }

    // Interleaved: attach 1, attach 2, detach 1, attach 3, detach 2, ...
    {
        ISubclassOwner* owners[] = {&o1, &o2, &o3};
        std::unique_ptr<cThunkSubclass> older = std::make_unique<cThunkSubclass>(o1);
        older->pAttachThunk(h);
        const size_t committed = test::CommittedPrivateBytes();
        for (int i = 0; i < kRounds; ++i) {
            auto newer = std::make_unique<cThunkSubclass>(*owners[(i + 1) % 3]);
            newer->pAttachThunk(h);
            older->pDetachThunk(h);
            ASSERT_EQ(cThunkSubclass::LiveBlocks(), 1) << "round " << i;
            older = std::move(newer);
            ASSERT_EQ(SendMessageA(h, M1, 3, 0), 103);
            if (i % 256 == 0) g_log.clear();
        }
        EXPECT_EQ(cThunkSubclass::LiveBlocks(), 1);
        older->pDetachThunk(h);
        EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
        EXPECT_EQ(Proc(h), original);
        EXPECT_EQ(ModuleLockCount(), locks);
        EXPECT_LT(test::CommittedPrivateBytes(), committed + 512 * 1024) << "was " << committed;
    }
}

TEST(ThunkSubclassExports, LookupsAndLoading) {
    EXPECT_EQ(cThunkSubclass::pExportAddress("user32", "CallWindowProcA"),
              GetProcAddress(GetModuleHandleA("user32"), "CallWindowProcA"));
    EXPECT_EQ(cThunkSubclass::pExportAddress("user32", "NoSuchExport"), nullptr);
    EXPECT_TRUE(cThunkSubclass::pExportExists("TrackMouseEvent", "User32"));
    EXPECT_FALSE(cThunkSubclass::pExportExists("NoSuchExport", "User32"));
    EXPECT_FALSE(cThunkSubclass::pExportExists("x", "no_such_module_here.dll"));
    // A module loaded only for the question is freed again, and
    // pExportAddress never loads one.
    ASSERT_EQ(GetModuleHandleA("msimg32"), nullptr);
    EXPECT_TRUE(cThunkSubclass::pExportExists("AlphaBlend", "msimg32"));
    EXPECT_EQ(GetModuleHandleA("msimg32"), nullptr);
    EXPECT_EQ(cThunkSubclass::pExportAddress("msimg32", "AlphaBlend"), nullptr);
}

}  // namespace
