// The runtime's input rules, driven by window messages and by real input.
#include "probe_control.h"
#include "sequence_check.h"
#include "test_host.h"

namespace {

using lumio::host::Form;
using lumio::host::Site;
using namespace testhost;

class InputTest : public OleTest {
protected:
    Site* probe_ = nullptr;
    HWND hwnd_ = nullptr;
    void Start() {
        Form& f = NewForm();
        HRESULT hr = S_OK;
        probe_ = f.Add(probe::Create, L"Probe1", RECT{10, 10, 110, 40}, nullptr, nullptr, &hr);
        ASSERT_NE(probe_, nullptr) << std::hex << hr;
        hwnd_ = probe_->ControlWindow();
        Pump();
        probe::Log().clear();
        f.log().clear();
    }
    void Post(UINT msg, WPARAM wp, int x, int y) { PostMessageW(hwnd_, msg, wp, MAKELPARAM(x, y)); }
    void Pump() { EXPECT_TRUE(Settle(form_.get())); }
    // The log without mouse moves, which the window system adds of its own.
    std::vector<std::wstring> Seen() {
        std::vector<std::wstring> r;
        for (auto& e : probe::Log())
            if (e.rfind(L"MouseMove", 0) != 0) r.push_back(e);
        return r;
    }
    std::vector<DISPID> Events() {
        std::vector<DISPID> r;
        for (auto& e : form().log())
            if (!e.notice) r.push_back(e.id);
        return r;
    }
};

TEST_F(InputTest, MessageSequences) {
    struct Case {
        std::vector<std::tuple<UINT, WPARAM, int, int>> input;
        lumio::test::Sequence<std::wstring> seen;
    } cases[] = {
        {{{WM_LBUTTONDOWN, MK_LBUTTON, 5, 6}, {WM_LBUTTONUP, 0, 5, 6}},
         {"left click", {L"GotFocus", L"MouseDown 1 0 5 6 focused captured", L"MouseUp 1", L"Click"}}},
        {{{WM_LBUTTONDOWN, MK_LBUTTON, 5, 6}, {WM_LBUTTONUP, 0, 300, 6}},
         {"released outside", {L"GotFocus", L"MouseDown 1 0 5 6 focused captured", L"MouseUp 1"}}},
        {{{WM_LBUTTONDOWN, MK_LBUTTON, 5, 6}, {WM_LBUTTONUP, 0, 5, 6}, {WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 6},
          {WM_LBUTTONUP, 0, 5, 6}},
         {"double click",
          {L"GotFocus", L"MouseDown 1 0 5 6 focused captured", L"MouseUp 1", L"Click", L"DblClick", L"MouseUp 1"}}},
        {{{WM_RBUTTONDOWN, MK_RBUTTON, 7, 8}, {WM_RBUTTONUP, 0, 7, 8}},
         {"right press", {L"GotFocus", L"MouseDown 2 0 7 8 focused captured", L"MouseUp 2"}}},
        {{{WM_LBUTTONDOWN, MK_LBUTTON, 1, 1}, {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 1, 1},
          {WM_LBUTTONUP, MK_RBUTTON, 1, 1}, {WM_RBUTTONUP, 0, 1, 1}},
         {"two buttons: capture until the last is up",
          {L"GotFocus", L"MouseDown 1 0 1 1 focused captured", L"MouseDown 2 0 1 1 focused captured",
           L"MouseUp 1 captured", L"Click", L"MouseUp 2"}}},
        {{{WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT | MK_CONTROL, 2, 3}, {WM_MBUTTONUP, 0, 2, 3}},
         {"shift and control", {L"GotFocus", L"MouseDown 4 3 2 3 focused captured", L"MouseUp 4"}}},
    };
    for (const Case& c : cases) {
        Start();
        SetFocus(form().hWnd());
        Pump();
        probe::Log().clear();
        for (auto& [msg, wp, x, y] : c.input) Post(msg, wp, x, y);
        Pump();
        EXPECT_TRUE(lumio::test::CheckSequence(c.seen, Seen()));
        EXPECT_NE(GetCapture(), hwnd_) << c.seen.Name;
    }
}

TEST_F(InputTest, EventsFollowTheHandlers) {
    Start();
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 5, 6);
    Post(WM_LBUTTONUP, 0, 5, 6);
    Pump();
    EXPECT_EQ(Events(), (std::vector<DISPID>{DISPID_MOUSEDOWN, DISPID_MOUSEUP, DISPID_CLICK}));
    auto& down = form().log()[0];
    ASSERT_EQ(down.args.size(), 4u);
    EXPECT_EQ(down.args[0].vt(), VT_I2);
    EXPECT_EQ(down.args[2].vt(), VT_R4);
    EXPECT_EQ(down.args[2]->fltVal, 5.0f);
}

TEST_F(InputTest, KeyCodesAreReadBackFromTheEventHandler) {
    Start();
    form().OnEvent([](Site&, DISPID id, DISPPARAMS* p) {
        if (id == DISPID_KEYDOWN) *p->rgvarg[1].piVal = 0;  // KeyCode: cancel
        if (id == DISPID_KEYPRESS && *p->rgvarg[0].piVal == 'a') *p->rgvarg[0].piVal = 'b';
    });
    SetFocus(hwnd_);
    Pump();
    probe::Log().clear();
    Post(WM_KEYDOWN, 'A', 0, 0);  // translated into WM_CHAR 'a' as well
    Pump();
    std::vector<std::wstring> want{L"KeyDown 65 0", L"KeyDown read back 0", L"KeyPress 97", L"KeyPress read back 98"};
    EXPECT_EQ(Seen(), want);
    // A Chinese character arrives as its code in the ANSI code page (GBK D6D0).
    PostMessageW(hwnd_, WM_CHAR, 0x4E2D, 1);
    Pump();
    EXPECT_EQ(probe::Log().back(), L"KeyPress read back -10544");
}

TEST_F(InputTest, TabMovesTheFocusThroughTheHost) {
    Start();
    Site* second = form().Add(probe::Create, L"Probe2", RECT{10, 50, 110, 80});
    SetFocus(hwnd_);
    Pump();
    probe::Log().clear();
    Post(WM_KEYDOWN, VK_TAB, 0, 0);
    Pump();
    EXPECT_EQ(GetFocus(), second->ControlWindow());
    // Arrows stay with the control.
    Post(WM_KEYDOWN, VK_RIGHT, 0, 0);
    Pump();
    EXPECT_EQ(GetFocus(), second->ControlWindow());
    EXPECT_EQ(Seen().at(Seen().size() - 2), L"KeyDown 39 0");
}

// Another window taking the activation for a while leaves the focus where it was.
TEST_F(InputTest, FocusComesBackWhenTheFormIsActivatedAgain) {
    Form top(nullptr, RECT{0, 0, 300, 200}, L"Top");
    top.Add(probe::Create, L"Probe1", RECT{10, 10, 110, 40});
    Site* second = top.Add(probe::Create, L"Probe2", RECT{10, 50, 110, 80});
    ShowWindow(top.hWnd(), SW_SHOW);
    SetForegroundWindow(top.hWnd());
    SetFocus(second->ControlWindow());
    EXPECT_TRUE(Settle(&top));
    ASSERT_EQ(GetFocus(), second->ControlWindow());
    HWND other = CreateWindowExW(0, L"STATIC", L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 320, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    EXPECT_TRUE(Settle(&top));
    EXPECT_NE(GetFocus(), second->ControlWindow());
    SetForegroundWindow(top.hWnd());
    EXPECT_TRUE(Settle(&top));
    EXPECT_EQ(GetFocus(), second->ControlWindow());
    DestroyWindow(other);
}

TEST_F(InputTest, AccessKeyFocusesAndRaisesAccessKeyPress) {
    Start();
    Site* second = form().Add(probe::Create, L"Probe2", RECT{10, 50, 110, 80});
    static_cast<probe::ProbeControl*>(static_cast<IDispatch*>(second->Object().get()))->SetAccessKeys(L"k");
    SetFocus(hwnd_);
    Pump();
    probe::Log().clear();
    PostMessageW(hwnd_, WM_SYSKEYDOWN, 'K', 0x20000000);
    Pump();
    EXPECT_EQ(GetFocus(), second->ControlWindow());
    EXPECT_EQ(probe::Log().back(), L"AccessKeyPress 107");
}

TEST_F(InputTest, RealMouseClick) {
    Start();
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    SetCursorPos(rc.left + 20, rc.top + 10);
    Pump();
    probe::Log().clear();
    form().log().clear();
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, in, sizeof(INPUT)), 2u);
    WaitUntil(form_.get(), [&] { return !Events().empty() && Events().back() == DISPID_CLICK; });
    EXPECT_EQ(Events(), (std::vector<DISPID>{DISPID_MOUSEDOWN, DISPID_MOUSEUP, DISPID_CLICK}));
}

}  // namespace
