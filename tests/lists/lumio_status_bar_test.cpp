// LumioStatusBar in our container: bottom alignment, keys, shading, grip, text and mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "bar_test_support.h"
#include "live_objects.h"
#include "lumio_status_bar.h"
#include "real_input.h"
#include "std_objects.h"
#include "test_host.h"
#include "window_capture.h"

namespace {

using lumio::ComPtr;
using lumio::Variant;
using lumio::host::Site;
using lumio::lists::LumioStatusBar;
using namespace testhost;
using shots::CaptureWindow;
using shots::SkinPixel;

namespace id = lumio::tlb::dispid::LumioStatusBar;
namespace ev = lumio::tlb::dispid::LumioStatusBarEvents;

constexpr COLORREF kBack = RGB(244, 244, 244);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// Sees the form's WM_NCLBUTTONDOWN and keeps it from starting a sizing loop.
struct NcDownHook {
    static inline std::vector<std::pair<WPARAM, LPARAM>> seen;
    static inline WNDPROC previous = nullptr;
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == WM_NCLBUTTONDOWN) {
            seen.emplace_back(w, l);
            return 0;
        }
        return CallWindowProcW(previous, h, m, w, l);
    }
    explicit NcDownHook(HWND form) : form_(form) {
        seen.clear();
        previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    ~NcDownHook() { SetWindowLongPtrW(form_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous)); }
    HWND form_;
};

class StatusBarTest : public OleTest {
protected:
    Site* bar_ = nullptr;
    HWND hwnd_ = nullptr;
    IDispatch* Bar() { return bar_->Object().get(); }

    // A form with a sizing border (so a flush bar shows its grip) and a new bar on it.
    void Start(bool sizable = true, IPropertyBag* bag = nullptr) {
        auto& f = NewForm(true);
        if (sizable) {
            SetWindowLongW(f.hWnd(), GWL_STYLE, GetWindowLongW(f.hWnd(), GWL_STYLE) | WS_THICKFRAME);
            SetWindowPos(f.hWnd(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
        bar_ = f.Add(LumioStatusBar::Create, L"StatusBar1", RECT{0, 0, 100, 40}, bag);
        ASSERT_NE(bar_, nullptr);
        hwnd_ = bar_->ControlWindow();
        Settle(form_.get());
        f.log().clear();
    }
    shots::Capture Look() {
        Settle(form_.get());
        return CaptureWindow(hwnd_);
    }
    RECT ClientOfForm() {
        RECT rc;
        GetClientRect(form().hWnd(), &rc);
        return rc;
    }
    std::vector<DISPID> Events() {
        std::vector<DISPID> ids;
        for (auto& e : form().log())
            if (!e.notice) ids.push_back(e.id);
        return ids;
    }
    void Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
        SendMessageW(hwnd_, msg, keys, MAKELPARAM(x, y));
    }
};

TEST_F(StatusBarTest, NewBarSitsAtTheFormsBottomFullWidthAnd23PixelsHigh) {
    Start();
    auto ext = bar_->ExtenderObject();
    Variant align, height;
    ASSERT_EQ(lumio::GetProperty(ext.get(), L"Align", align), S_OK);
    EXPECT_EQ(AsLong(align), 2);
    ASSERT_EQ(lumio::GetProperty(ext.get(), L"Height", height), S_OK);
    EXPECT_EQ(AsLong(height), 345);
    const RECT form = ClientOfForm();
    EXPECT_EQ(bar_->rect().left, 0);
    EXPECT_EQ(bar_->rect().right, form.right);
    EXPECT_EQ(bar_->rect().bottom, form.bottom);
    EXPECT_EQ(bar_->rect().bottom - bar_->rect().top, 23);
    // The form grows: the bar follows its bottom and width.
    SetWindowPos(form_->hWnd(), nullptr, 0, 0, 360, 250, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle(form_.get());
    const RECT grown = ClientOfForm();
    EXPECT_EQ(bar_->rect().right, grown.right);
    EXPECT_EQ(bar_->rect().bottom, grown.bottom);
    EXPECT_EQ(bar_->rect().top, grown.bottom - 23);
    // The new bar's text is its name; its style draws none.
    EXPECT_EQ(AsString(Get(Bar(), id::SimpleText)), L"StatusBar1");
    EXPECT_EQ(AsLong(Get(Bar(), id::Style)), 0);
    EXPECT_EQ(AsLong(Get(Bar(), id::ShowTips)), -1);
}

// A host that places its controls in pixels: the new bar asks for 23 of them.
TEST_F(StatusBarTest, NewBarIs23PixelsHighInAHostThatWorksInPixels) {
    auto& f = NewForm(true);
    f.SetScaleUnit(lumio::ScaleUnit::Pixels);
    bar_ = f.Add(LumioStatusBar::Create, L"StatusBar1", RECT{0, 0, 100, 40});
    ASSERT_NE(bar_, nullptr);
    Settle(form_.get());
    Variant height;
    ASSERT_EQ(lumio::GetProperty(bar_->ExtenderObject().get(), L"Height", height), S_OK);
    EXPECT_EQ(AsLong(height), 23);
    EXPECT_EQ(bar_->rect().bottom - bar_->rect().top, 23);
    EXPECT_EQ(bar_->rect().bottom, ClientOfForm().bottom);
}

TEST_F(StatusBarTest, EveryKeyRoundTripsAndEachWriteIsNoticed) {
    Start();
    auto font = lumio::CreateStdFont(L"Liberation Sans", 12, true);
    ASSERT_EQ(Put(Bar(), id::ForeColor, Variant::Long(0x0000FF)), S_OK);
    ASSERT_EQ(Put(Bar(), id::Enabled, Variant::Bool(false)), S_OK);
    ASSERT_EQ(lumio::PutPropertyById(Bar(), id::Font, Variant::Object(font.As<IDispatch>().get())), S_OK);
    ASSERT_EQ(Put(Bar(), id::Style, Variant::Long(1)), S_OK);
    ASSERT_EQ(Put(Bar(), id::SimpleText, Variant::String(L"就绪 ready")), S_OK);
    ASSERT_EQ(Put(Bar(), id::ShowTips, Variant::Bool(false)), S_OK);
    std::vector<DISPID> notices;
    for (auto& e : form().log())
        if (e.notice) notices.push_back(e.id);
    EXPECT_EQ(notices, (std::vector<DISPID>{id::ForeColor, id::Enabled, id::Font, id::Style, id::SimpleText,
                                            id::ShowTips}));
    auto bag = form().Save(bar_);
    ASSERT_TRUE(bag);
    EXPECT_EQ(bag->Keys().size(), 6u);
    Site* copy = form().Add(LumioStatusBar::Create, L"StatusBar2", RECT{0, 0, 200, 23}, bag.get());
    ASSERT_NE(copy, nullptr);
    IDispatch* c = copy->Object().get();
    EXPECT_EQ(AsLong(Get(c, id::ForeColor)), 0x0000FF);
    EXPECT_EQ(AsLong(Get(c, id::Enabled)), 0);
    EXPECT_EQ(AsLong(Get(c, id::Style)), 1);
    EXPECT_EQ(AsString(Get(c, id::SimpleText)), L"就绪 ready");
    EXPECT_EQ(AsLong(Get(c, id::ShowTips)), 0);
    Variant f = Get(c, id::Font);
    ComPtr<IFont> read = ComPtr<IDispatch>(f->pdispVal).As<IFont>();
    ASSERT_TRUE(read);
    BOOL bold = FALSE;
    read->get_Bold(&bold);
    EXPECT_TRUE(bold);
    // A bag without keys gives the defaults: the bar's name as its text.
    auto empty = lumio::MemoryPropertyBag::Create();
    Site* fresh = form().Add(LumioStatusBar::Create, L"StatusBar3", RECT{0, 0, 200, 23}, empty.get());
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(AsString(Get(fresh->Object().get(), id::SimpleText)), L"StatusBar3");
    EXPECT_EQ(AsLong(Get(fresh->Object().get(), id::ShowTips)), -1);
}

TEST_F(StatusBarTest, ShadesItsTopRowsAndShowsTheGripWhenFlush) {
    Start();
    const auto shot = Look();
    shot.Save(L"statusbar_grip.png");
    ASSERT_EQ(shot.height, 23);
    const int shade[] = {215, 221, 227, 232, 236, 240, 244};
    for (int x : {0, shot.width / 2, shot.width - 1})
        for (int y = 0; y <= 6; ++y) EXPECT_EQ(shot.At(x, y), RGB(shade[y], shade[y], shade[y])) << x << "," << y;
    EXPECT_EQ(shot.At(10, 15), kBack);
    // The grip's 17 x 17 bitmap sits at (W - 18, H - 18), its magenta left out.
    const int gx = shot.width - 18, gy = shot.height - 18;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) {
            const COLORREF skin = SkinPixel(L"RESGRIP", x, y);
            if (skin != kMagenta) {
                EXPECT_EQ(shot.At(gx + x, gy + y), skin) << x << "," << y;
            }
        }
}

TEST_F(StatusBarTest, NoGripUnlessSizableNormalFlushAndFullWidth) {
    // The grip's lowest dot, as a flush bar on a sizable form shows it.
    // A move alone repaints nothing: the grip test runs at the bar's next redraw.
    auto gripDrawn = [&] {
        Put(Bar(), id::Style, Variant::Long(0));
        const auto c = Look();
        const int gx = c.width - 18, gy = c.height - 18;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) {
                const COLORREF skin = SkinPixel(L"RESGRIP", x, y);
                if (skin != kMagenta && c.At(gx + x, gy + y) != skin) return false;
            }
        return true;
    };
    Start(false);  // a fixed border
    EXPECT_FALSE(gripDrawn());
    Look().Save(L"statusbar_fixed.png");
    Start(true);
    ASSERT_TRUE(gripDrawn());
    // Not aligned and raised off the bottom.
    auto ext = bar_->ExtenderObject();
    ASSERT_EQ(lumio::PutProperty(ext.get(), L"Align", Variant::Long(0)), S_OK);
    ASSERT_EQ(lumio::PutProperty(ext.get(), L"Top", Variant::Long(300)), S_OK);
    EXPECT_FALSE(gripDrawn());
    // Back at the bottom but narrower than the form.
    ASSERT_EQ(lumio::PutProperty(ext.get(), L"Align", Variant::Long(2)), S_OK);
    ASSERT_TRUE(gripDrawn());
    ASSERT_EQ(lumio::PutProperty(ext.get(), L"Align", Variant::Long(0)), S_OK);
    RECT r = bar_->rect();
    r.right -= 10;
    bar_->Move(r);
    EXPECT_FALSE(gripDrawn());
    // A maximised form.
    ASSERT_EQ(lumio::PutProperty(ext.get(), L"Align", Variant::Long(2)), S_OK);
    ShowWindow(form_->hWnd(), SW_MAXIMIZE);
    Settle(form_.get());
    EXPECT_TRUE(IsZoomed(form_->hWnd()));
    EXPECT_FALSE(gripDrawn());
    ShowWindow(form_->hWnd(), SW_RESTORE);
    Settle(form_.get());
    EXPECT_TRUE(gripDrawn());
}

TEST_F(StatusBarTest, TextOnlyInSimpleStyleClippedBesideTheGrip) {
    Start();
    // Full-block characters reach every column they cover.
    Put(Bar(), id::SimpleText, Variant::String(std::wstring(200, L'\u2588')));
    const auto normal = Look();
    normal.Save(L"statusbar_normal.png");
    Put(Bar(), id::Style, Variant::Long(1));
    const auto simple = Look();
    simple.Save(L"statusbar_simple.png");
    EXPECT_NE(simple.bgra, normal.bgra);
    const int w = simple.width, h = simple.height;
    // Style 0 drew nothing below the shading but the grip.
    for (int y = 7; y < h; ++y)
        for (int x = 0; x < w - 18; ++x) ASSERT_EQ(normal.At(x, y), kBack) << x << "," << y;
    // The text starts at x 5 and stops 14 px before the right edge.
    int first = w, last = -1;
    for (int x = 0; x < w; ++x)
        for (int y = 7; y < h; ++y)
            if (simple.At(x, y) != normal.At(x, y)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    EXPECT_GE(first, 5);
    EXPECT_LE(first, 7);
    EXPECT_EQ(last, w - 15);
    // Without the grip it runs to the edge.
    Start(false);
    Put(Bar(), id::SimpleText, Variant::String(std::wstring(200, L'\u2588')));
    Put(Bar(), id::Style, Variant::Long(1));
    const auto full = Look();
    last = -1;
    for (int x = 0; x < full.width; ++x)
        if (full.At(x, full.height / 2) != kBack) last = x;
    EXPECT_EQ(last, full.width - 1);
}

TEST_F(StatusBarTest, ShowTipsChangesNoPixel) {
    Start();
    Put(Bar(), id::Style, Variant::Long(1));
    const auto before = Look();
    Put(Bar(), id::ShowTips, Variant::Bool(false));
    EXPECT_EQ(Look().bgra, before.bgra);
}

TEST_F(StatusBarTest, LeftPressOnTheGripSizesTheFormOtherPressesOnlyRaiseMouseDown) {
    Start();
    NcDownHook hook(form_->hWnd());
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int gx = rc.right - 5, gy = rc.bottom - 5;
    // Right button on the grip, left button off it: MouseDown only.
    Mouse(WM_MOUSEMOVE, gx, gy);
    Mouse(WM_RBUTTONDOWN, gx, gy, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, gx, gy);
    Mouse(WM_MOUSEMOVE, 20, 10);
    Mouse(WM_LBUTTONDOWN, 20, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 20, 10);
    EXPECT_TRUE(hook.seen.empty());
    EXPECT_EQ(Events(), (std::vector<DISPID>{ev::MouseMove, ev::MouseDown, ev::MouseUp, ev::MouseMove,
                                             ev::MouseDown, ev::MouseUp, ev::Click}));
    // Over the grip the pointer is the diagonal sizer.
    Mouse(WM_MOUSEMOVE, gx, gy);
    SetCursorPos(0, 0);
    POINT screen{gx, gy};
    ClientToScreen(hwnd_, &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZENWSE));
    form().log().clear();
    Mouse(WM_LBUTTONDOWN, gx, gy, MK_LBUTTON);
    ASSERT_EQ(hook.seen.size(), 1u);
    EXPECT_EQ(hook.seen[0].first, static_cast<WPARAM>(HTBOTTOMRIGHT));
    EXPECT_EQ(hook.seen[0].second, 0);
    EXPECT_NE(GetCapture(), hwnd_);
    EXPECT_EQ(Events(), (std::vector<DISPID>{ev::MouseDown}));
    // The sizing loop kept that release. A press elsewhere, released over the
    // bar, is no click of the bar's.
    form().log().clear();
    SendMessageW(form_->hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    Mouse(WM_MOUSEMOVE, 20, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 20, 10);
    EXPECT_EQ(Events(), (std::vector<DISPID>{ev::MouseMove, ev::MouseUp}));
    // A double click reaches the host as DblClick.
    form().log().clear();
    Mouse(WM_LBUTTONDBLCLK, 20, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 20, 10);
    EXPECT_EQ(Events(), (std::vector<DISPID>{ev::DblClick, ev::MouseUp}));
}

// The user's hand on the grip, from a thread of its own: the form's sizing
// loop holds the test's thread until the button comes up.
TEST_F(StatusBarTest, DraggingTheGripSizesTheFormUnderRealInput) {
    Start();
    HWND form = form_->hWnd();
    SetForegroundWindow(form);
    Settle(form_.get());
    // The form follows the pointer while it moves, so each step can be waited for.
    BOOL fullDrag = FALSE;
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    RECT before;
    GetWindowRect(form, &before);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    POINT grip{rc.right - 5, rc.bottom - 5};
    ClientToScreen(hwnd_, &grip);
    const DWORD ui = GetCurrentThreadId();
    auto sizing = [ui] {
        GUITHREADINFO g{};
        g.cbSize = sizeof g;
        return GetGUIThreadInfo(ui, &g) && (g.flags & GUI_INMOVESIZE) != 0;
    };
    auto formSize = [form] {
        RECT r;
        GetWindowRect(form, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    const SIZE start = formSize();
    // Small steps: Wine's own sizing loop (no window manager) stops following the
    // pointer about 20 px past where the press began.
    constexpr int kDx = 15, kDy = 12;
    std::atomic<int> reached{0};  // 1 loop entered, 2 form grown, 3 loop left
    std::atomic<bool> done{false};
    std::thread hand([&] {
        using namespace std::chrono;
        auto waitFor = [](auto condition) {
            const auto end = steady_clock::now() + lumio::test::kDeadline;
            while (!condition()) {
                if (steady_clock::now() > end) return false;
                Sleep(1);
            }
            return true;
        };
        // Onto the grip from outside it, so that the bar sees the pointer arrive.
        auto at = [](int x, int y) {
            POINT p;
            return GetCursorPos(&p) && p.x == x && p.y == y;
        };
        realinput::MoveTo(grip.x - 40, grip.y);
        waitFor([&] { return at(grip.x - 40, grip.y); });
        realinput::MoveTo(grip.x, grip.y);
        waitFor([&] { return at(grip.x, grip.y); });
        realinput::SendMouse(MOUSEEVENTF_LEFTDOWN);
        if (waitFor(sizing)) {
            reached = 1;
            for (int step = 1; step <= 3; ++step) realinput::MoveTo(grip.x + kDx * step / 3, grip.y + kDy * step / 3);
            if (waitFor([&] {
                    const SIZE s = formSize();
                    return s.cx == start.cx + kDx && s.cy == start.cy + kDy;
                }))
                reached = 2;
        }
        realinput::SendMouse(MOUSEEVENTF_LEFTUP);
        if (waitFor([&] { return !sizing(); }) && reached == 2) reached = 3;
        done = true;
    });
    lumio::test::WaitUntil([&] { return done.load(); }, 4 * lumio::test::kDeadline);
    hand.join();
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, fullDrag, nullptr, 0);
    Settle(form_.get());
    EXPECT_EQ(reached.load(), 3);
    const SIZE after = formSize();
    EXPECT_EQ(after.cx, before.right - before.left + kDx);
    EXPECT_EQ(after.cy, before.bottom - before.top + kDy);
    // The bar followed the form's new bottom and width, its grip at the new corner.
    const RECT client = ClientOfForm();
    EXPECT_EQ(bar_->rect().right, client.right);
    EXPECT_EQ(bar_->rect().bottom, client.bottom);
    const auto shot = Look();
    shot.Save(L"statusbar_dragged.png");
    EXPECT_EQ(shot.width, client.right);
    const int gx = shot.width - 18, gy = shot.height - 18;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) {
            const COLORREF skin = SkinPixel(L"RESGRIP", x, y);
            if (skin != kMagenta) {
                ASSERT_EQ(shot.At(gx + x, gy + y), skin) << x << "," << y;
            }
        }
    // The press raised MouseDown once; the system's loop took the release.
    const auto events = Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), ev::MouseDown), 1);
}

TEST_F(StatusBarTest, NoGdiOrWindowGrowthOverCreateDestroyAndFontWrites) {
    NewForm(true);
    auto bag = lumio::MemoryPropertyBag::Create();
    EXPECT_TRUE(lumio::test::NoGrowth([&] {
        for (int i = 0; i < 100; ++i) {
            Site* s = form().Add(LumioStatusBar::Create, L"S", RECT{0, 0, 200, 23}, i % 2 ? bag.get() : nullptr);
            ASSERT_NE(s, nullptr);
            form().Remove(s);
        }
    }, 10));
    Site* s = form().Add(LumioStatusBar::Create, L"S", RECT{0, 0, 200, 23});
    ASSERT_NE(s, nullptr);
    IDispatch* d = s->Object().get();
    auto a = lumio::CreateStdFont(L"Liberation Sans", 9);
    auto b = lumio::CreateStdFont(L"Liberation Serif", 11, true);
    EXPECT_TRUE(lumio::test::NoGrowth([&] {
        for (int i = 0; i < 100; ++i)
            lumio::PutPropertyById(d, id::Font, Variant::Object((i % 2 ? a : b).As<IDispatch>().get()));
    }, 10));
}

}  // namespace
