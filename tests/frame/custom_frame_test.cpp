// The custom frame on a real top-level form under Wine: painting through the
// client's callbacks, caption buttons, moving and sizing by real input, the
// system menu, the owner-drawn menu bar and the facade's life.
#include "custom_frame_fixture.h"
#include "window_capture.h"

#include <thread>

#include "modSubClasser.h"
#include "simple_dispatch.h"

using namespace lumio;
using namespace frametest;

namespace {

// Messages that reach the form's own procedure (the frame passes them on).
Log g_msgs;
WNDPROC g_formProc = nullptr;

bool g_verbose = false;  // also the messages of the message-level tests

LRESULT CALLBACK Recorder(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (g_verbose) {
        const bool caption = (GetWindowLongPtrW(h, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
        switch (m) {
        case WM_SETTEXT: g_msgs.push_back(std::string("settext caption=") + (caption ? "yes" : "no")); break;
        case WM_NCLBUTTONDOWN: g_msgs.push_back("nclbuttondown " + std::to_string(w)); break;
        case WM_NCHITTEST: g_msgs.push_back("nchittest"); break;
        case WM_NCPAINT: g_msgs.push_back("ncpaint"); break;
        case WM_KEYDOWN: g_msgs.push_back("keydown " + std::to_string(w)); break;
        default: break;
        }
    }
    switch (m) {
    case WM_CLOSE: g_msgs.push_back("close"); return 0;  // the form stays for the next step
    case WM_COMMAND: g_msgs.push_back("command " + std::to_string(LOWORD(w))); return 0;
    case WM_SYSCOMMAND: g_msgs.push_back("syscommand " + std::to_string(w & 0xFFF0)); break;
    case WM_MENUSELECT: g_msgs.push_back("select " + std::to_string(HIWORD(w)) + " " + std::to_string(l != 0)); break;
    case WM_INITMENUPOPUP:
        g_msgs.push_back(HIWORD(l) || HMENU(w) == GetSystemMenu(h, FALSE) ? "popup system"
                                                                          : "popup " + std::to_string(GetMenuItemID(HMENU(w), 0)));
        break;
    default: break;
    }
    return CallWindowProcW(g_formProc, h, m, w, l);
}

constexpr UINT kOpen = 101, kSave = 102, kCut = 201, kHelp = 301;

HMENU MakeMenu() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu(), edit = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kOpen, "&Open");
    AppendMenuA(file, MF_STRING, kSave, "&Save");
    AppendMenuA(edit, MF_STRING, kCut, "Cu&t");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    AppendMenuA(bar, MF_STRING, kHelp, "&Help");
    return bar;
}

class CustomFrame : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<host::Form>(nullptr, RECT{100, 100, 500, 400}, L"Framed");
        hwnd_ = form_->hWnd();
        g_formProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder)));
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_APPLICATION)));
        g_msgs.clear();
        g_verbose = false;
    }
    void TearDown() override {
        g_verbose = false;
        facade_.reset();
        form_.reset();
        ClipCursor(nullptr);
    }
    // Frames the form and shows it active.
    void Begin(IUnknown* client, bool withMenu = false) {
        if (withMenu) SetMenu(hwnd_, MakeMenu());
        facade_ = std::make_unique<clsCustomWndow>();
        facade_->BeginCustomWindow(form_->Dispatch().get(), client);
        ShowWindow(hwnd_, SW_SHOW);
        Activate();
    }
    void Activate() {
        SetForegroundWindow(hwnd_);
        lumio::test::WaitUntil([&] { return GetForegroundWindow() == hwnd_ && frame()->DrawnActive(); });
        Settle();
    }
    clsFrameControl* frame() const { return facade_->Frame(); }
    RECT WindowRect() const {
        RECT r;
        GetWindowRect(hwnd_, &r);
        return r;
    }
    // A point of the frame's geometry (window coordinates) on the screen.
    POINT Screen(int x, int y) const {
        const RECT r = WindowRect();
        return {r.left + x, r.top + y};
    }
    POINT CentreOf(const FrameBox& f) const { return Screen((f.left + f.right) / 2, (f.top + f.bottom) / 2); }
    void ClickAt(POINT p) {
        MouseTo(p.x, p.y);
        Settle();
        Button(true);
        Settle();
        Button(false);
    }
    LRESULT HitAt(POINT p) { return SendMessageW(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)); }
    bool Logged(const std::string& m) const { return std::find(g_msgs.begin(), g_msgs.end(), m) != g_msgs.end(); }

    std::unique_ptr<host::Form> form_;
    std::unique_ptr<clsCustomWndow> facade_;
    HWND hwnd_ = nullptr;
};

TEST_F(CustomFrame, FullRepaintCallsTheClientInOrder) {
    RecordingClient client;
    Begin(&client, true);
    EXPECT_EQ(GetPropA(hwnd_, "lvImpCB_Ptr"), static_cast<HANDLE>(&client));
    EXPECT_TRUE(GetPropA(hwnd_, "lvCFrame_Optr"));
    EXPECT_EQ(GetMenu(hwnd_), nullptr) << "the bar took the menu from the system";
    const VARIANT none = facade_->IsSubclassed(nullptr);
    EXPECT_EQ(none.vt, VT_EMPTY);
    EXPECT_EQ(facade_->IsSubclassed(hwnd_).boolVal, VARIANT_TRUE);

    const RECT r = WindowRect();
    const std::string size = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
    const FrameGeometry& g = frame()->Geometry();
    client.calls.clear();
    facade_->Refresh();
    EXPECT_EQ(client.calls, (Log{"Border " + size,
                                 "MenuBar " + std::to_string(g.menuStrip.Width()) + "x" +
                                     std::to_string(g.menuStrip.Height()),
                                 "TitleBar " + std::to_string(g.title.Width()) + "x21", "Caption Framed",
                                 "Button 1 0", "Button 2 0", "Button 3 0"}));
    // The menu strip's background and the title strip are drawn off screen, the border on the window.
    EXPECT_EQ(client.menuBarDcType, DWORD(OBJ_MEMDC));
    EXPECT_EQ(client.titleBarDcType, DWORD(OBJ_MEMDC));
    EXPECT_EQ(client.borderDcType, DWORD(OBJ_DC));

    // A client that draws the title bar itself still gets caption and buttons over it.
    client.modifyTitle = true;
    client.calls.clear();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(client.Only("Caption"), Log{"Caption Framed"});
    EXPECT_EQ(client.Only("Button").size(), 3u);
    EXPECT_TRUE(client.Only("MenuBar").empty()) << "the cached background serves an unchanged focus";

    // An empty caption: no caption callback.
    SetWindowTextA(hwnd_, "");
    client.calls.clear();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(client.Only("Caption").empty());
    EXPECT_EQ(client.Only("TitleBar").size(), 1u);

    // Disabled buttons are drawn with state 3.
    facade_->EnableTBarBtns(8, false);
    client.calls.clear();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(client.Only("Button"), (Log{"Button 1 0", "Button 2 3", "Button 3 0"}));
}

TEST_F(CustomFrame, ScreenshotsOfTheDefaultFrame) {
    Begin(nullptr, true);
    EXPECT_EQ(GetPropA(hwnd_, "lvImpCB_Ptr"), nullptr);
    SetWindowTextA(hwnd_, "Lumiokit frame");
    Settle();
    const shots::Capture active = shots::CaptureFromScreen(hwnd_);
    active.Save(L"custom_frame_active.png");

    SendMessageW(hwnd_, WM_NCACTIVATE, FALSE, 0);
    Settle();
    EXPECT_FALSE(frame()->DrawnActive());
    const shots::Capture inactive = shots::CaptureFromScreen(hwnd_);
    inactive.Save(L"custom_frame_inactive.png");

    // The title strip's gradient starts in the caption colour of each state.
    const FrameGeometry& g = frame()->Geometry();
    auto rgbAt = [&](const shots::Capture& shot) { return shot.At(g.title.left + 30, g.title.top + 2); };
    EXPECT_EQ(rgbAt(active), GetSysColor(COLOR_ACTIVECAPTION) & 0xFFFFFF);
    EXPECT_EQ(rgbAt(inactive), GetSysColor(COLOR_INACTIVECAPTION) & 0xFFFFFF);
}

TEST_F(CustomFrame, CaptionButtonsByMouse) {
    RecordingClient client;
    Begin(&client);
    const FrameGeometry& g = frame()->Geometry();
    ClickAt(CentreOf(g.buttons[1].rect));
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return Logged("close"); })) << "released over the close button";
    EXPECT_EQ(frame()->DragMode(), 0);
    EXPECT_EQ(GetCapture(), nullptr);

    // Pressed, then released off the button: nothing, and it is drawn normal again.
    g_msgs.clear();
    const POINT press = CentreOf(g.buttons[1].rect);
    MouseTo(press.x + 6, press.y);  // apart from the first click: no double click
    Settle();
    Button(true);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return frame()->DragMode() == HTCLOSE; }));
    EXPECT_EQ(g.buttons[1].state, 2);
    const POINT off = Screen(g.title.left + 60, g.title.top + 5);
    MouseTo(off.x, off.y);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return g.buttons[1].state == 0; })) << "moved off: drawn normal";
    Button(false);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return frame()->DragMode() == 0; }));
    Settle();
    EXPECT_FALSE(Logged("close"));

    // Minimise and maximise go through the system commands.
    ClickAt(CentreOf(g.buttons[2].rect));
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return IsZoomed(hwnd_) != FALSE; }));
    EXPECT_TRUE(Logged("syscommand " + std::to_string(SC_MAXIMIZE)));

    // A disabled button answers no hit; a press sent anyway starts nothing.
    facade_->EnableTBarBtns(2, false);
    EXPECT_EQ(HitAt(CentreOf(g.buttons[1].rect)), HTNOWHERE);
    const POINT c = CentreOf(g.buttons[1].rect);
    SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(c.x, c.y));
    EXPECT_EQ(frame()->DragMode(), 0);
    EXPECT_EQ(g.buttons[1].state, 3) << "drawn inactive";
    g_msgs.clear();
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle();
    EXPECT_FALSE(Logged("close")) << "closing disabled";
}

TEST_F(CustomFrame, UserButtonsAddedBeforeBeginAreKept) {
    RecordingClient client;
    facade_ = std::make_unique<clsCustomWndow>();
    facade_->AddTitleBarButton("  pin ", 0, 0, 0, 0, 0, 0);
    facade_->BeginCustomWindow(form_->Dispatch().get(), &client);
    ShowWindow(hwnd_, SW_SHOW);
    Activate();
    const FrameGeometry& g = frame()->Geometry();
    ASSERT_EQ(g.buttons.size(), 5u);
    ASSERT_TRUE(g.buttons[4].shown);
    const POINT p = CentreOf(g.buttons[4].rect);
    EXPECT_EQ(HitAt(p), 34);
    ClickAt(p);
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return !client.clicks.empty(); }));
    EXPECT_EQ(client.clicks, (std::vector<std::string>{"pin"}));

    // Codes 31 to 33 and beyond the last entry are refused and reach the form as HTNOWHERE.
    for (WPARAM code : {31, 32, 33, 35, 40}) {
        SendMessageW(hwnd_, WM_NCLBUTTONDOWN, code, MAKELPARAM(p.x, p.y));
        EXPECT_EQ(frame()->DragMode(), 0) << code;
    }
}

TEST_F(CustomFrame, SizingStopsAtTheMinimumTrackSize) {
    RecordingClient client;
    Begin(&client);
    const RECT before = WindowRect();
    const int midY = (before.top + before.bottom) / 2;
    EXPECT_EQ(HitAt({before.left + 1, midY}), HTLEFT);
    MouseTo(before.left + 1, midY);
    Settle();
    Button(true);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return frame()->DragMode() == 2; }));
    for (int x = before.left + 5; x < before.right + 40; x += 4) {
        MouseTo(x, midY);
        Settle();
    }
    Button(false);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return frame()->DragMode() == 0; }));
    const RECT after = WindowRect();
    EXPECT_EQ(after.right, before.right) << "the right edge stays";
    EXPECT_EQ(after.right - after.left, GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(client.Only("Sizing"), (Log{"Sizing begin", "Sizing end"}));
    RECT clip;
    GetClipCursor(&clip);
    EXPECT_EQ(clip.right, GetSystemMetrics(SM_CXSCREEN)) << "the cursor is free again";
}

TEST_F(CustomFrame, CaptionDragMovesUnlessZoomedOrDisabled) {
    Begin(nullptr);
    const RECT before = WindowRect();
    const POINT grip = CentreOf(frame()->Geometry().title);
    MouseTo(grip.x, grip.y);
    Settle();
    Button(true);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return frame()->DragMode() == 1; }));
    MouseTo(grip.x + 30, grip.y + 20);
    Settle();
    Button(false);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return frame()->DragMode() == 0; }));
    RECT moved = WindowRect();
    EXPECT_EQ(moved.left, before.left + 30);
    EXPECT_EQ(moved.top, before.top + 20);

    // Moving disabled: the press is refused.
    facade_->EnableTBarBtns(32, false);
    const POINT g2 = CentreOf(frame()->Geometry().title);
    SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(g2.x, g2.y));
    EXPECT_EQ(frame()->DragMode(), 0);
    facade_->EnableTBarBtns(32, true);

    // Zoomed: the caption stays where it is.
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return IsZoomed(hwnd_) != FALSE; }));
    Settle();
    const RECT zoomed = WindowRect();
    const POINT g3 = CentreOf(frame()->Geometry().title);
    MouseTo(g3.x, g3.y);
    Settle();
    Button(true);
    Settle();
    MouseTo(g3.x + 40, g3.y + 40);
    Settle();
    Button(false);
    Settle();
    const RECT still = WindowRect();
    EXPECT_TRUE(EqualRect(&zoomed, &still));
    EXPECT_EQ(HitAt(Screen(1, 100)), HTNOWHERE) << "no sizing edges while zoomed";
}

TEST_F(CustomFrame, CaptureLostMidDragEndsIt) {
    Begin(nullptr);
    const POINT grip = CentreOf(frame()->Geometry().title);
    MouseTo(grip.x, grip.y);
    Settle();
    Button(true);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return frame()->DragMode() == 1; }));
    EXPECT_EQ(GetCapture(), hwnd_);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetCapture(other);
    EXPECT_EQ(frame()->DragMode(), 0) << "the drag ends with the capture";
    RECT clip;
    GetClipCursor(&clip);
    EXPECT_EQ(clip.right, GetSystemMetrics(SM_CXSCREEN));
    ReleaseCapture();
    Button(false);
    Settle();
    DestroyWindow(other);
    const RECT before = WindowRect();
    MouseTo(grip.x + 50, grip.y + 50);
    Settle();
    const RECT after = WindowRect();
    EXPECT_TRUE(EqualRect(&before, &after)) << "no drag follows the mouse";
}

TEST_F(CustomFrame, HitTestsFollowMovesMadeByCode) {
    Begin(nullptr);
    SetWindowPos(hwnd_, nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Settle();
    const FrameGeometry& g = frame()->Geometry();
    EXPECT_EQ(HitAt(CentreOf(g.title)), HTCAPTION);
    EXPECT_EQ(HitAt(CentreOf(g.client)), HTCLIENT);
    EXPECT_EQ(HitAt(CentreOf(g.buttons[1].rect)), HTCLOSE);
    const RECT r = WindowRect();
    EXPECT_EQ(HitAt({r.right - 2, r.bottom - 2}), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt({r.left - 5, r.top}), HTNOWHERE);
}

TEST_F(CustomFrame, SystemMenuFollowsTheButtons) {
    Begin(nullptr);
    facade_->EnableTBarBtns(8, false);
    HMENU sys = GetSystemMenu(hwnd_, FALSE);
    ASSERT_TRUE(sys);
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoA(sys, 1967, FALSE, &mii));
    EXPECT_TRUE(mii.fState & MFS_GRAYED);
    EXPECT_FALSE(GetMenuItemInfoA(sys, SC_MAXIMIZE, FALSE, &mii));
    EXPECT_EQ(sizeof(MENUITEMINFOA), sizeof(void*) == 8 ? 80u : 48u);

    // While iconic, Move keeps its command and stays enabled although moving is off.
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return IsIconic(hwnd_) != FALSE; }));
    facade_->EnableTBarBtns(32, false);
    ASSERT_TRUE(GetMenuItemInfoA(sys, SC_MOVE, FALSE, &mii));
    EXPECT_EQ(mii.fState, 0u);
    EXPECT_FALSE(GetMenuItemInfoA(sys, 1962, FALSE, &mii));
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return !IsIconic(hwnd_); }));

    facade_->EndCustomWindow();
    sys = GetSystemMenu(hwnd_, FALSE);
    ASSERT_TRUE(GetMenuItemInfoA(sys, SC_MAXIMIZE, FALSE, &mii));
    EXPECT_EQ(mii.fState & MFS_GRAYED, 0u);
    EXPECT_FALSE(GetMenuItemInfoA(sys, 1967, FALSE, &mii));
}

TEST_F(CustomFrame, IconDoubleClickCloses) {
    Begin(nullptr);
    const POINT icon = CentreOf(frame()->Geometry().buttons[0].rect);
    EXPECT_EQ(HitAt(icon), HTSYSMENU);
    SendMessageW(hwnd_, WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(icon.x, icon.y));
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return Logged("close"); }));

    // A press that opens the system menu, then a release soon after: closes too.
    g_msgs.clear();
    SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(icon.x, icon.y));
    MSG request;
    EXPECT_TRUE(PeekMessageW(&request, hwnd_, 0x313, 0x313, PM_REMOVE)) << "the press asks for the system menu";
    SendMessageW(hwnd_, WM_NCLBUTTONUP, HTSYSMENU, MAKELPARAM(icon.x, icon.y));
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return Logged("close"); }));
}

TEST_F(CustomFrame, RegionFromTheClientAfterEveryResize) {
    RecordingClient client;
    client.makeRegion = true;
    Begin(&client);
    const int before = client.regions;
    SetWindowPos(hwnd_, nullptr, 0, 0, 333, 222, SWP_NOMOVE | SWP_NOZORDER);
    Settle();
    EXPECT_GT(client.regions, before);
    EXPECT_EQ(client.Only("Region").back(), "Region 333x222");
    RECT box{};
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(hwnd_, rgn), ERROR);
    GetRgnBox(rgn, &box);
    DeleteObject(rgn);
    EXPECT_EQ(box.right, 333);
    EXPECT_EQ(box.bottom, 222);
}

TEST_F(CustomFrame, BeginTwiceAndEndThenBegin) {
    RecordingClient client;
    Begin(&client);
    facade_->BorderStyle(5);
    facade_->BeginCustomWindow(form_->Dispatch().get(), &client);
    EXPECT_EQ(GetPropA(hwnd_, "lvCFrame_Optr"), static_cast<HANDLE>(static_cast<IFrameWindowProc*>(frame())));
    EXPECT_EQ(GetPropA(hwnd_, "lvImpCB_Ptr"), static_cast<HANDLE>(&client));
    EXPECT_EQ(facade_->IsSubclassed(hwnd_).boolVal, VARIANT_TRUE);
    client.calls.clear();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FALSE(client.Only("Border").empty()) << "the second frame paints";

    facade_->EndCustomWindow();
    EXPECT_EQ(facade_->IsSubclassed(hwnd_).boolVal, VARIANT_FALSE);
    EXPECT_EQ(GetPropA(hwnd_, "lvImpCB_Ptr"), nullptr);
    EXPECT_TRUE(IsWindowVisible(hwnd_)) << "as visible as before";
    facade_->BeginCustomWindow(form_->Dispatch().get(), nullptr);
    EXPECT_EQ(facade_->BorderStyle(), 4) << "a fresh frame takes its border from the window style";
    EXPECT_EQ(facade_->IsSubclassed(hwnd_).boolVal, VARIANT_TRUE);
}

TEST_F(CustomFrame, ALaterSubclasserSurvivesEnd) {
    Begin(nullptr);
    static WNDPROC s_below;
    static int s_seen;
    s_seen = 0;
    s_below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) CALLBACK -> LRESULT {
            if (m == WM_USER + 7) ++s_seen;
            return CallWindowProcW(s_below, h, m, w, l);
        })));
    facade_->EndCustomWindow();
    SendMessageW(hwnd_, WM_USER + 7, 0, 0);
    EXPECT_EQ(s_seen, 1) << "the later procedure is still the window's";
    g_msgs.clear();
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Logged("close")) << "and the chain below it still reaches the form";
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_below));
}

}  // namespace

namespace {

// Keys pressed from a timer while a menu's modal loop runs: each step waits
// for its entry in the message log (empty: the next tick), then acts.
struct Script {
    std::vector<std::pair<std::string, std::function<void()>>> steps;
    size_t next = 0, seen = 0;
    DWORD start = 0;
};
Script g_script;

void CALLBACK ScriptTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_script.next >= g_script.steps.size()) return;
    if (GetTickCount() - g_script.start > 8000) {
        // A step that never came: close any menu, so that the test fails instead of hanging.
        g_msgs.push_back("script timed out");
        g_script.next = g_script.steps.size();
        EndMenu();
        return;
    }
    auto& [wait, act] = g_script.steps[g_script.next];
    bool found = wait.empty();
    while (!found && g_script.seen < g_msgs.size()) found = g_msgs[g_script.seen++] == wait;
    if (!found) return;
    ++g_script.next;
    act();
}

class CustomFrameMenu : public CustomFrame {
protected:
    void SetUp() override {
        CustomFrame::SetUp();
        Begin(&client_, true);
        bar_ = frame()->MenuBar();
        ASSERT_EQ(bar_->Cells().size(), 3u);
        SetTimer(hwnd_, 77, 40, &ScriptTick);
    }
    void TearDown() override {
        KillTimer(hwnd_, 77);
        g_script = {};
        CustomFrame::TearDown();
    }
    void Run(std::vector<std::pair<std::string, std::function<void()>>> steps) {
        g_script = {};
        g_script.steps = std::move(steps);
        g_script.seen = g_msgs.size();
        g_script.start = GetTickCount();
    }
    bool ScriptDone() const { return g_script.next >= g_script.steps.size(); }
    POINT ItemCentre(int i) const {
        const FrameBox& strip = frame()->Geometry().menuStrip;
        const FrameBox& c = bar_->Cells()[static_cast<size_t>(i)];
        return Screen(strip.left + (c.left + c.right) / 2, strip.top + (c.top + c.bottom) / 2);
    }
    RecordingClient client_;
    clsMenuBarControl* bar_ = nullptr;
};

TEST_F(CustomFrameMenu, MouseOpensAnItemsPopup) {
    EXPECT_EQ(HitAt(ItemCentre(0)), 30);
    EXPECT_EQ(HitAt(ItemCentre(1)), 30);
    Run({{"popup 101", [] { Key(VK_DOWN); }}, {"", [] { Key(VK_RETURN); }}});
    ClickAt(ItemCentre(0));
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return Logged("command 101"); })) << ::testing::PrintToString(g_msgs);
    EXPECT_FALSE(bar_->TrackingState());
    EXPECT_EQ(bar_->HotIndex(), -2);

    // An item without a popup sends its command.
    g_msgs.clear();
    ClickAt(ItemCentre(2));
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return Logged("command 301"); })) << ::testing::PrintToString(g_msgs);
}

// A press on the item whose popup is open closes the popup and leaves that
// item hot; the release opens nothing again.
TEST_F(CustomFrameMenu, PressOnTheOpenItemClosesItAndKeepsItHot) {
    const POINT item = ItemCentre(0);
    Run({{"popup 101", [item] { Button(true); }}});
    ClickAt(item);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return ScriptDone() && !bar_->TrackingState(); }));
    Button(false);
    Settle();
    EXPECT_EQ(bar_->HotIndex(), 0);
    EXPECT_EQ(bar_->HighlightMode() & 3, 1) << "hot, not pressed";
    EXPECT_EQ(std::count(g_msgs.begin(), g_msgs.end(), "popup 101"), 1) << ::testing::PrintToString(g_msgs);
}

TEST_F(CustomFrameMenu, AltLetterOpensWithTheFirstItemSelected) {
    EXPECT_EQ(bar_->Mnemonics().size(), 0u);
    Run({{"popup 201", [] { Key(VK_RETURN); }}});
    Key('E', true);
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return Logged("command 201"); })) << ::testing::PrintToString(g_msgs);
    EXPECT_EQ(bar_->Mnemonics(), "feh");

    g_msgs.clear();
    Key('H', true);
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return Logged("command 301"); })) << ::testing::PrintToString(g_msgs);
}

TEST_F(CustomFrameMenu, LeftAndRightThroughTheSystemMenuThenEscape) {
    Run({{"popup 101", [] { Key(VK_LEFT); }},
         {"popup system", [] { Key(VK_RIGHT); }},
         {"popup 101", [] { Key(VK_ESCAPE); }}});
    Key('F', true);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return ScriptDone(); })) << ::testing::PrintToString(g_msgs);
    // Escape leaves the bar hot for the keyboard on that item.
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return bar_->TrackingState() && bar_->HotIndex() == 0; }))
        << ::testing::PrintToString(g_msgs);
    EXPECT_EQ(bar_->HighlightMode() & 3, 1);
    Key(VK_LEFT);
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return bar_->HotIndex() == 2; })) << "the hot state wraps to the last item";
    Key(VK_RIGHT);
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return bar_->HotIndex() == 0; })) << "and back to the first";
    Key(VK_ESCAPE);
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return !bar_->TrackingState(); }));
    EXPECT_EQ(bar_->HotIndex(), -2);
}

TEST_F(CustomFrame, ThousandCyclesLeaveNoHandlesBehind) {
    // Hidden: Wine's X11 side of every frame change would make a shown window's
    // cycles ten times slower; the frame paints through its window DC either way.
    SetMenu(hwnd_, MakeMenu());
    auto cycle = [&] {
        clsCustomWndow facade;
        facade.BeginCustomWindow(form_->Dispatch().get(), nullptr);
        facade.Refresh();
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        SendMessageW(hwnd_, WM_NCACTIVATE, FALSE, 0);
        facade.EndCustomWindow();
    };
    for (int i = 0; i < 5; ++i) cycle();  // warm-up: caches of the system fill once
    Settle();
    const int gdi = CountGdiObjects(), user = CountUserObjects();
    for (int i = 0; i < 1000; ++i) cycle();
    Settle();
    EXPECT_EQ(CountGdiObjects(), gdi);
    EXPECT_EQ(CountUserObjects(), user);
    EXPECT_TRUE(GetMenu(hwnd_)) << "the menu is the window's again";
}

}  // namespace

namespace {

TEST_F(CustomFrame, FacadeStylesAndTheClientSize) {
    SetMenu(hwnd_, MakeMenu());
    RECT clientBefore;
    GetClientRect(hwnd_, &clientBefore);
    facade_ = std::make_unique<clsCustomWndow>();
    // Styles set before beginning; the menu bar is made at once.
    IFontDisp* none = facade_->Font_MenuBar();
    ASSERT_TRUE(none);
    BSTR name = nullptr;
    IFont* f = nullptr;
    none->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f));
    f->get_Name(&name);
    CY size{};
    f->get_Size(&size);
    EXPECT_EQ(frame()->MenuBar()->GetFont().name, "Tahoma") << "no menu font yet";
    EXPECT_TRUE(name && *name) << "the font object names the face Wine realises for it";
    EXPECT_EQ(size.int64, 82500);
    SysFreeString(name);
    f->Release();
    none->Release();
    facade_->MenuSelect_FlatStyle(true);
    EXPECT_TRUE(facade_->MenuSelect_FlatStyle());
    facade_->FontColor_Menubar(1, 0x0000FF);
    facade_->FontColor_Menubar(4, 0x00FF00);
    EXPECT_EQ(facade_->FontColor_Menubar(1), 0x0000FFu);
    EXPECT_EQ(facade_->FontColor_Menubar(4), 0u) << "a state outside 0-3 is ignored";
    facade_->FontColor_TBar(false, 0x123456);
    EXPECT_EQ(facade_->FontColor_TBar(false), 0x123456u);
    EXPECT_EQ(facade_->FontColor_TBar(true), 0x80000009u);
    facade_->AlwaysActive(false, true);
    EXPECT_TRUE(facade_->AlwaysActive(false));
    EXPECT_FALSE(facade_->AlwaysActive(true));

    facade_->BeginCustomWindow(form_->Dispatch().get(), nullptr);
    ShowWindow(hwnd_, SW_SHOW);
    Activate();
    RECT clientAfter;
    GetClientRect(hwnd_, &clientAfter);
    EXPECT_EQ(clientAfter.right, clientBefore.right) << "the client keeps its size under the new frame";
    EXPECT_EQ(clientAfter.bottom, clientBefore.bottom);
    EXPECT_EQ(frame()->Geometry().titleThickness, 21);

    facade_->VerticalCaption(true);
    Settle();
    EXPECT_TRUE(facade_->VerticalCaption());
    const FrameGeometry& g = frame()->Geometry();
    EXPECT_EQ(g.title.Width(), 21) << "the title strip runs down the left side";
    EXPECT_EQ(HitAt(CentreOf(g.title)), HTCAPTION);
    GetClientRect(hwnd_, &clientAfter);
    EXPECT_EQ(clientAfter.right, clientBefore.right);
    EXPECT_EQ(clientAfter.bottom, clientBefore.bottom);
    SetWindowTextA(hwnd_, "Vertical");
    Settle();
    shots::CaptureFromScreen(hwnd_).Save(L"custom_frame_vertical.png");

    // A form object whose hWnd is not a top-level window is ignored.
    host::Form child(hwnd_, RECT{0, 0, 50, 50}, L"child");
    clsCustomWndow other;
    other.BeginCustomWindow(child.Dispatch().get(), nullptr);
    EXPECT_EQ(other.IsSubclassed(child.hWnd()).boolVal, VARIANT_FALSE);
}

}  // namespace

namespace {

TEST_F(CustomFrame, MessagesTheFrameAnswersAndPassesOn) {
    Begin(nullptr);
    g_verbose = true;
    // Text: stored by the form's procedure while the caption style is off; answered 0.
    EXPECT_EQ(SendMessageA(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("New title")), 0);
    EXPECT_TRUE(Logged("settext caption=no"));
    EXPECT_EQ(GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CAPTION, WS_CAPTION) << "and back afterwards";
    char text[32] = {};
    GetWindowTextA(hwnd_, text, sizeof text);
    EXPECT_STREQ(text, "New title");

    // A press outside every frame part reaches the form as HTNOWHERE.
    g_msgs.clear();
    SendMessageW(hwnd_, WM_NCLBUTTONDOWN, 0, 0);
    EXPECT_TRUE(Logged("nclbuttondown 0"));

    // The close command by WM_COMMAND, as the menu strip sends system-menu choices.
    g_msgs.clear();
    SendMessageW(hwnd_, WM_COMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return Logged("close"); }));

    // Maximise while disabled: handled, nothing happens.
    facade_->EnableTBarBtns(8, false);
    g_msgs.clear();
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Settle();
    EXPECT_FALSE(IsZoomed(hwnd_));
    EXPECT_FALSE(Logged("syscommand " + std::to_string(SC_MAXIMIZE)));

    // Iconic: hit tests and painting go to the form's procedure.
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return IsIconic(hwnd_) != FALSE; }));
    g_msgs.clear();
    SendMessageW(hwnd_, WM_NCHITTEST, 0, 0);
    SendMessageW(hwnd_, WM_NCPAINT, 1, 0);
    EXPECT_TRUE(Logged("nchittest"));
    EXPECT_TRUE(Logged("ncpaint"));
}

TEST_F(CustomFrame, AltWithoutAMenuLeavesTheKeysToTheForm) {
    Begin(nullptr);
    SetFocus(hwnd_);
    g_verbose = true;
    Key(VK_MENU);
    Settle();
    g_msgs.clear();
    Key('Q');
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return Logged("keydown 81"); })) << ::testing::PrintToString(g_msgs);
    EXPECT_FALSE(frame()->MenuBar()->TrackingState());
}

TEST_F(CustomFrame, KeepActiveDrawsTheActiveLook) {
    RecordingClient client;
    Begin(&client);
    const FrameGeometry& g = frame()->Geometry();
    auto titleColour = [&] {
        Settle();
        return shots::CaptureFromScreen(hwnd_).At(g.title.left + 30, g.title.top + 2);
    };
    const COLORREF active = GetSysColor(COLOR_ACTIVECAPTION) & 0xFFFFFF;
    const COLORREF inactive = GetSysColor(COLOR_INACTIVECAPTION) & 0xFFFFFF;

    // For this application: active while another of its windows is, not once it is left.
    facade_->AlwaysActive(false, true);
    SendMessageW(hwnd_, WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(frame()->DrawnActive());
    EXPECT_EQ(titleColour(), active);
    SendMessageW(hwnd_, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(titleColour(), inactive);

    // For all threads: active whatever happens.
    facade_->AlwaysActive(true, true);
    EXPECT_EQ(titleColour(), active);
    facade_->AlwaysActive(true, false);
    SendMessageW(hwnd_, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(titleColour(), inactive);
}

}  // namespace

namespace {

TEST_F(CustomFrame, ASharedAccessKeyMovesToTheNextItem) {
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_STRING, 1, "&File");
    AppendMenuA(bar, MF_STRING, 2, "&View");
    AppendMenuA(bar, MF_STRING, 3, "F&ormat");
    AppendMenuA(bar, MF_STRING, 4, "&Fit");
    SetMenu(hwnd_, bar);
    Begin(nullptr);
    clsMenuBarControl* mb = frame()->MenuBar();
    Key('F', true);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return mb->TrackingState() && mb->HotIndex() == 0; }))
        << "only highlighted: two items share the key";
    Key('F');
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return mb->HotIndex() == 3; })) << "the next item with that key";
    Key('F');
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return mb->HotIndex() == 0; })) << "and round again";
    EXPECT_TRUE(g_msgs.empty()) << "no command yet";
    Key(VK_RETURN);
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return Logged("command 1"); }));
    EXPECT_FALSE(mb->TrackingState());
}

}  // namespace

namespace {

TEST_F(CustomFrameMenu, RightClickOnTheCaptionShowsTheSystemMenu) {
    Run({{"popup system", [] { Key(VK_ESCAPE); }}});
    const POINT p = CentreOf(frame()->Geometry().title);
    MouseTo(p.x, p.y);
    Settle();
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, in, sizeof(INPUT));
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return ScriptDone(); })) << ::testing::PrintToString(g_msgs);
    EXPECT_FALSE(Logged("script timed out"));
}

TEST_F(CustomFrameMenu, HoverHighlightInTheFlatStyle) {
    facade_->MenuSelect_FlatStyle(true);
    facade_->SetMenuSelectColors(RGB(0, 0, 128), RGB(200, 220, 255));
    const POINT p = ItemCentre(1);
    MouseTo(p.x, p.y);
    ASSERT_TRUE(lumio::test::WaitUntil([&] { return bar_->HotIndex() == 1; }));
    Settle();
    const shots::Capture shot = shots::CaptureFromScreen(hwnd_);
    shot.Save(L"custom_frame_menu_hover.png");
    const FrameBox& strip = frame()->Geometry().menuStrip;
    const FrameBox& cell = bar_->Cells()[1];
    auto at = [&](int x, int y) { return shot.At(strip.left + x, strip.top + y); };
    EXPECT_EQ(at(cell.left + 1, cell.top + 1), RGB(0, 0, 128)) << "framed in colour 1, one pixel in";
    EXPECT_EQ(at(cell.left + 3, cell.top + 3), RGB(200, 220, 255)) << "filled with colour 2";
    // Leaving the strip clears the highlight.
    const POINT away = CentreOf(frame()->Geometry().client);
    MouseTo(away.x, away.y);
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return bar_->HotIndex() < 0; }));
}

}  // namespace

namespace {

int CountMenus() {
    int n = 0;
    for (uintptr_t h = 0x20; h <= 0xFFF0; h += 2)
        if (IsMenu(reinterpret_cast<HMENU>(h))) ++n;
    return n;
}

struct WindowState {
    LONG_PTR style, exStyle;
    RECT rect;
    HMENU menu;
    static WindowState Of(HWND h) {
        WindowState s{GetWindowLongPtrW(h, GWL_STYLE), GetWindowLongPtrW(h, GWL_EXSTYLE), {}, GetMenu(h)};
        GetWindowRect(h, &s.rect);
        return s;
    }
    void ExpectSame(HWND h) const {
        const WindowState now = Of(h);
        EXPECT_EQ(now.style, style);
        EXPECT_EQ(now.exStyle, exStyle);
        EXPECT_TRUE(EqualRect(&now.rect, &rect)) << now.rect.left << "," << now.rect.top << " " << now.rect.right
                                                 << "," << now.rect.bottom;
        EXPECT_EQ(now.menu, menu);
    }
};

// The window procedure cannot be changed: the window is left as it was and
// the facade says it is not framed; the next Begin frames it in full.
TEST_F(CustomFrame, AnAttachMadeToFailLeavesTheWindowAsItWas) {
    SetMenu(hwnd_, MakeMenu());
    ShowWindow(hwnd_, SW_SHOW);
    Settle();
    const WindowState before = WindowState::Of(hwnd_);
    RecordingClient client;
    facade_ = std::make_unique<clsCustomWndow>();
    FailNextFrameAttach();
    facade_->BeginCustomWindow(form_->Dispatch().get(), &client);
    Settle();
    before.ExpectSame(hwnd_);
    EXPECT_EQ(facade_->IsSubclassed(hwnd_).boolVal, VARIANT_FALSE);
    EXPECT_EQ(GetPropA(hwnd_, "lvImpCB_Ptr"), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(hwnd_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&Recorder));

    facade_->BeginCustomWindow(form_->Dispatch().get(), &client);
    EXPECT_EQ(facade_->IsSubclassed(hwnd_).boolVal, VARIANT_TRUE);
    EXPECT_EQ(GetMenu(hwnd_), nullptr) << "the bar took the menu";
    client.calls.clear();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FALSE(client.Only("Border").empty()) << "the frame paints";
    facade_->EndCustomWindow();
    EXPECT_EQ(GetMenu(hwnd_), before.menu);
}

// A window of another thread is refused before anything changes.
TEST_F(CustomFrame, AWindowOfAnotherThreadIsRefused) {
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr), quit = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND other = nullptr;
    std::thread owner([&] {
        other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW, 50, 50, 300, 200, nullptr,
                                CreateMenu(), nullptr, nullptr);
        SetEvent(made);
        while (MsgWaitForMultipleObjects(1, &quit, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        }
        DestroyWindow(other);
    });
    WaitForSingleObject(made, INFINITE);
    ASSERT_NE(other, nullptr);
    const WindowState before = WindowState::Of(other);
    auto form = SimpleDispatch::Create();
    form->Add({DISPID_HWND, L"hWnd", [&](VARIANT* r) {
                   r->vt = VT_I8;
                   r->llVal = reinterpret_cast<LONG_PTR>(other);
                   return S_OK;
               }});
    RecordingClient client;
    clsCustomWndow facade;
    facade.BeginCustomWindow(form.get(), &client);
    before.ExpectSame(other);
    EXPECT_EQ(facade.IsSubclassed(other).boolVal, VARIANT_FALSE);
    EXPECT_EQ(GetPropA(other, "lvImpCB_Ptr"), nullptr);
    SetEvent(quit);
    owner.join();
    CloseHandle(made);
    CloseHandle(quit);
}

// The bar holds the window's menu; a window destroyed while the facade
// lives takes that menu and its popups with it.
TEST_F(CustomFrame, AWindowDestroyedUnderALiveFacadeLeavesNoMenu) {
    auto cycle = [] {
        host::Form form(nullptr, RECT{120, 120, 420, 320}, L"Doomed");
        SetMenu(form.hWnd(), MakeMenu());
        clsCustomWndow facade;
        facade.BeginCustomWindow(form.Dispatch().get(), nullptr);
        EXPECT_EQ(facade.IsSubclassed(form.hWnd()).boolVal, VARIANT_TRUE);
        DestroyWindow(form.hWnd());
    };
    cycle();
    Settle();
    const int menus = CountMenus();
    for (int i = 0; i < 5; ++i) cycle();
    Settle();
    EXPECT_EQ(CountMenus(), menus);
}

}  // namespace
