#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "cThunkSubclass.h"
#include "module_lock.h"
#include "modSubClasser.h"
#include "wait_for.h"

using namespace lumio;

namespace {

using Logs = std::vector<std::string>;
Logs g_log;

void Log(const char* fmt, ...) {
    char buf[128];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    g_log.push_back(buf);
}

struct FakeBar : IMenuBarHooks {
    char name;
    LONG refs = 1;
    WPARAM swallowKey = 0;
    WPARAM swallowMouse = 0;
    int swallowFilterKeys = 0;  // how many filter-hook key-downs to swallow
    explicit FakeBar(char n) : name(n) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return ULONG(--refs); }

    void OnMenuMsgFilter(MSG* m, bool& handled) override {
        if (m->message == WM_KEYDOWN) {
            Log("%c:filter key %X", name, unsigned(m->wParam));
            if (swallowFilterKeys > 0) --swallowFilterKeys, handled = true;
        } else if (m->message == WM_TIMER) {
            Log("%c:filter timer", name);
        }
    }
    void OnMenuMouseHook(WPARAM w, LPARAM, bool& handled) override {
        if (w == WM_MOUSEMOVE) Log("%c:mouse move", name);
        handled = w == swallowMouse;
    }
    void OnMenuKeyboardHook(WPARAM w, LPARAM l, bool& handled) override {
        Log("%c:key %X %s", name, unsigned(w), static_cast<int32_t>(l) < 0 ? "up" : "down");
        handled = w == swallowKey;
    }
};

bool g_logWindowMouse = false;

LRESULT CALLBACK WindowProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_KEYDOWN) Log("window key %X", unsigned(w));
    if (m == WM_MOUSEMOVE && g_logWindowMouse) Log("window mouse move");
    return DefWindowProcW(h, m, w, l);
}

void Pump() { EXPECT_TRUE(lumio::test::Settle()); }

void Key(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

void MouseTo(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
}

// One window for the whole suite: under Wine without a window manager,
// hiding or destroying the active window stalls for two seconds.
class MenuHooks : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumioHookTest";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, L"LumioHookTest", L"hooks", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(hwnd_); }
    void SetUp() override {
        SetForegroundWindow(hwnd_);
        SetFocus(hwnd_);
        Pump();
        g_log.clear();
    }
    void TearDown() override {
        HookMenuKeyboardMouse(false, nullptr);
        HookMenuMsgFilter(false, nullptr);
        RefuseHookForTesting(0);
        g_logWindowMouse = false;
    }
    static inline HWND hwnd_ = nullptr;
};

TEST_F(MenuHooks, KeyboardAndMouseServeOneBarAtATime) {
    FakeBar a('A'), b('B');
    const long locks = ModuleLockCount();
    HookMenuKeyboardMouse(true, &a);
    EXPECT_EQ(ModuleLockCount(), locks + 2) << "installed hooks keep the module loaded";
    Key('Q');
    Pump();
    EXPECT_EQ(g_log, (Logs{"A:key 51 down", "window key 51", "A:key 51 up"}));

    HookMenuKeyboardMouse(true, &b);  // A's hooks go
    EXPECT_EQ(ModuleLockCount(), locks + 2);
    b.swallowKey = 'W';
    g_log.clear();
    Key('Q');
    Key('W');
    Pump();
    EXPECT_EQ(g_log, (Logs{"B:key 51 down", "window key 51", "B:key 51 up", "B:key 57 down", "B:key 57 up"}))
        << "a swallowed key never reaches the window";

    g_log.clear();
    MouseTo(200, 180);
    Pump();
    ASSERT_FALSE(g_log.empty());
    for (const std::string& line : g_log) EXPECT_EQ(line, "B:mouse move");

    HookMenuKeyboardMouse(false, nullptr);
    EXPECT_EQ(ModuleLockCount(), locks);
    g_log.clear();
    Key('Q');
    MouseTo(210, 170);
    Pump();
    EXPECT_EQ(g_log, (Logs{"window key 51"}));
    EXPECT_EQ(a.refs, 1);
    EXPECT_EQ(b.refs, 1) << "each call's counted reference is given back";
}

TEST_F(MenuHooks, MessageFilterServesOneBarInsideTheMenuLoop) {
    FakeBar a('A'), b('B');
    HookMenuMsgFilter(true, &a);
    HookMenuMsgFilter(true, &b);  // A's hook goes
    b.swallowFilterKeys = 1;      // the first Escape is kept from the menu
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"one");
    // Inside the menu's modal loop a timer presses Escape, twice at most.
    static int presses;
    presses = 0;
    SetTimer(hwnd_, 7, 60, [](HWND, UINT, UINT_PTR, DWORD) CALLBACK {
        if (presses++ < 2) Key(VK_ESCAPE);
    });
    TrackPopupMenu(menu, TPM_LEFTALIGN, 150, 150, 0, hwnd_, nullptr);
    KillTimer(hwnd_, 7);
    DestroyMenu(menu);

    Logs keys;
    for (const std::string& line : g_log)
        if (line.find("key") != std::string::npos) keys.push_back(line);
    EXPECT_EQ(keys, (Logs{"B:filter key 1B", "B:filter key 1B"}));
    for (const std::string& line : g_log) EXPECT_EQ(line[0], 'B') << line;
    EXPECT_EQ(presses, 2) << "the swallowed Escape left the menu open";

    // Codes other than MSGF_MENU never reach the bar.
    g_log.clear();
    MSG m{hwnd_, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    MenuMsgFilterProc(MSGF_DIALOGBOX, 0, reinterpret_cast<LPARAM>(&m));
    EXPECT_TRUE(g_log.empty());
    EXPECT_EQ(MenuMsgFilterProc(MSGF_MENU, 0, reinterpret_cast<LPARAM>(&m)), 0);
    EXPECT_EQ(g_log, (Logs{"B:filter key 1B"}));
    EXPECT_EQ(b.refs, 1);
}

// The log with each run of equal lines cut to one: the system may send a
// move more than once.
Logs Runs() {
    Logs out;
    for (const std::string& line : g_log)
        if (out.empty() || out.back() != line) out.push_back(line);
    return out;
}

TEST_F(MenuHooks, AHandledMouseEventNeverReachesTheWindow) {
    FakeBar a('A');
    g_logWindowMouse = true;
    HookMenuKeyboardMouse(true, &a);
    MouseTo(150, 150);
    Pump();
    EXPECT_EQ(Runs(), (Logs{"A:mouse move", "window mouse move"})) << "the bar looks, the window gets it";

    a.swallowMouse = WM_MOUSEMOVE;
    g_log.clear();
    MouseTo(160, 170);
    Pump();
    EXPECT_EQ(Runs(), (Logs{"A:mouse move"})) << "a handled move is swallowed";
    // The answer a handled event gives the system, called as the system does.
    MOUSEHOOKSTRUCT mhs{{160, 170}, hwnd_, HTCLIENT, 0};
    EXPECT_EQ(MenuMouseHookProc(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&mhs)), 1);
    EXPECT_EQ(MenuMouseHookProc(HC_NOREMOVE, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&mhs)), 1);
    g_log.clear();
    EXPECT_EQ(MenuMouseHookProc(-1, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&mhs)), 0) << "a negative code is passed on";
    EXPECT_TRUE(g_log.empty());
    EXPECT_EQ(a.refs, 1);
}

TEST_F(MenuHooks, RemovalTakesAMouseHookStoredWithoutAKeyboardHook) {
    FakeBar a('A');
    const long locks = ModuleLockCount();
    RefuseHookForTesting(WH_KEYBOARD);
    HookMenuKeyboardMouse(true, &a);
    RefuseHookForTesting(0);
    EXPECT_EQ(InstalledMenuHooks(), 1);
    EXPECT_EQ(ModuleLockCount(), locks + 1);
    Key('Q');
    MouseTo(170, 150);
    Pump();
    EXPECT_EQ(Runs(), (Logs{"window key 51", "A:mouse move"})) << "no keyboard hook; the mouse hook serves A";

    HookMenuKeyboardMouse(false, nullptr);
    EXPECT_EQ(InstalledMenuHooks(), 0);
    EXPECT_EQ(ModuleLockCount(), locks) << "the mouse hook went too";
    g_log.clear();
    MouseTo(180, 160);
    Pump();
    EXPECT_TRUE(g_log.empty());
}

TEST_F(MenuHooks, EachThreadKeepsItsOwnHooks) {
    FakeBar a('A'), b('B');
    HookMenuKeyboardMouse(true, &a);
    HookMenuMsgFilter(true, &a);
    const long locks = ModuleLockCount();
    HANDLE installed = CreateEventW(nullptr, TRUE, FALSE, nullptr), removeNow = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    int otherHooks = -1, otherAfter = -1;
    std::thread other([&] {
        HookMenuKeyboardMouse(true, &b);  // leaves A's hooks on the first thread alone
        otherHooks = InstalledMenuHooks();
        // The procedures serve the bar of the thread they run on.
        MenuKeyboardHookProc(HC_ACTION, 'K', 0);
        SetEvent(installed);
        WaitForSingleObject(removeNow, 10000);
        HookMenuKeyboardMouse(false, nullptr);
        otherAfter = InstalledMenuHooks();
    });
    WaitForSingleObject(installed, 10000);
    EXPECT_EQ(otherHooks, 2);
    EXPECT_EQ(InstalledMenuHooks(), 3) << "this thread's set is untouched";
    EXPECT_EQ(ModuleLockCount(), locks + 2);
    EXPECT_EQ(g_log, (Logs{"B:key 4B down"}));
    g_log.clear();
    MenuKeyboardHookProc(HC_ACTION, 'K', 0);
    EXPECT_EQ(g_log, (Logs{"A:key 4B down"}));

    HookMenuKeyboardMouse(false, nullptr);  // this thread's only
    HookMenuMsgFilter(false, nullptr);
    EXPECT_EQ(ModuleLockCount(), locks - 3 + 2) << "the other thread's hooks stay";
    SetEvent(removeNow);
    other.join();
    EXPECT_EQ(otherAfter, 0);
    EXPECT_EQ(ModuleLockCount(), locks - 3);
    CloseHandle(installed);
    CloseHandle(removeNow);
    EXPECT_EQ(a.refs, 1);
    EXPECT_EQ(b.refs, 1);
}

struct NoOwner : ISubclassOwner {
    void zSubclass_Proc(bool, bool&, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM&) override {}
};

TEST_F(MenuHooks, MouseLeaveRequest) {
    NoOwner o;
    cThunkSubclass sc(o);
    RECT r;
    GetWindowRect(hwnd_, &r);
    // Cursor onto the window, ask, cursor away: counts the leave notices.
    auto leaves = [&](std::chrono::milliseconds wait) {
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        sc.pRequestMouseLeave(hwnd_);
        SetCursorPos(5, 5);
        int n = 0;
        lumio::test::WaitUntil([&] { return n > 0; }, wait, [&](MSG& msg) {
            if (msg.message == WM_MOUSELEAVE && msg.hwnd == hwnd_) ++n;
            return false;
        });
        return n;
    };
    EXPECT_EQ(leaves(std::chrono::milliseconds(600)), 0) << "no tracking service: nothing asked";
    for (bool user32 : {true, false}) {
        sc.m_TrackingAvailable = true;
        sc.m_User32Tracking = user32;
        EXPECT_EQ(leaves(lumio::test::kDeadline), 1) << (user32 ? "user32" : "comctl32");
    }
}

}  // namespace
