// A skinned form on the screen: what the mouse finds at its corners, the
// frame's pixels from the skin in both activation states.
#include <gtest/gtest.h>

#include <algorithm>

#include "clsCustomWndow.h"
#include "form_skin.h"
#include "frame_control.h"
#include "lumio_basic_form.h"
#include "memory_property_bag.h"
#include "test_host.h"
#include "wait_for.h"
#include "window_capture.h"

namespace {

using lumio::ComPtr;
using lumio::form::LumioBasicForm;
using lumio::form::Strip;
using lumio::host::ControlDesign;
using lumio::host::Form;
using lumio::host::FormDesign;

COLORREF StripPixel(Strip which, int x, int y) {
    const auto& s = lumio::form::StripData(which);
    const unsigned char* p = s.bgr + (y * s.width + x) * 3;
    return RGB(p[2], p[1], p[0]);
}

FormDesign Design() {
    FormDesign d;
    d.client_width = 320;
    d.client_height = 180;
    d.caption = L"Skinned form";
    d.back_color = 0xF0F0F0;
    return d;
}

// Loads the frame control onto form from an empty bag in user mode.
LumioBasicForm* Skin(Form& form) {
    ControlDesign d;
    d.create = &LumioBasicForm::Create;
    d.name = L"BasicForm1";
    d.rect = RECT{0, 0, 48, 48};
    d.bag = ComPtr<IPropertyBag>(lumio::MemoryPropertyBag::Create().get());
    if (!form.Load({d})) return nullptr;
    auto* site = form.Find(L"BasicForm1");
    return site ? static_cast<LumioBasicForm*>(static_cast<lumio::ControlBase*>(site->Object().get())) : nullptr;
}

class SkinnedFormLive : public testhost::OleTest {
protected:
    void Show(Form& form, LumioBasicForm* skin) {
        hwnd_ = form.hWnd();
        frame_ = skin->Window()->Frame();
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        ASSERT_TRUE(lumio::test::WaitUntil([&] { return GetForegroundWindow() == hwnd_ && frame_->DrawnActive(); }));
        ASSERT_TRUE(testhost::Settle(&form));
    }
    // The caption button of the frame with this ID, in window coordinates.
    // The caption button i (1 close, 2 maximise, 3 minimise), in window coordinates.
    lumio::FrameBox ButtonBox(int i) const {
        const auto& b = frame_->Geometry().buttons.at(i);
        EXPECT_TRUE(b.shown) << "button " << i;
        return b.rect;
    }
    // Compares a caption button's pixels with its skin cell (clipped to the button).
    void ExpectCell(const shots::Capture& shot, int i, Strip strip, int cell) {
        const lumio::FrameBox box = ButtonBox(i);
        const int w = std::min(box.Width(), lumio::form::kCellWidth), h = std::min(box.Height(), lumio::form::kCellHeight);
        ASSERT_GT(w, 2);
        ASSERT_GT(h, 2);
        for (auto [x, y] : {std::pair{1, 1}, {w / 2, h / 2}, {w - 2, h - 2}})
            EXPECT_EQ(shot.At(box.left + x, box.top + y), StripPixel(strip, cell * lumio::form::kCellWidth + x, y))
                << "button " << i << " at " << x << "," << y;
    }
    // Presses and releases the mouse over caption button i, away from the previous click.
    void ClickButton(Form& form, int i) {
        const lumio::FrameBox box = ButtonBox(i);
        RECT r;
        GetWindowRect(hwnd_, &r);
        const int x = r.left + (box.left + box.right) / 2, y = r.top + (box.top + box.bottom) / 2;
        Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
        ASSERT_TRUE(testhost::Settle(&form));
        Mouse(MOUSEEVENTF_LEFTDOWN, 0, 0);
        ASSERT_TRUE(testhost::Settle(&form));
        Mouse(MOUSEEVENTF_LEFTUP, 0, 0);
    }
    static void Mouse(DWORD flags, int x, int y) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        if (flags & MOUSEEVENTF_ABSOLUTE) {
            in.mi.dx = (x * 65535 + (GetSystemMetrics(SM_CXSCREEN) - 1) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
            in.mi.dy = (y * 65535 + (GetSystemMetrics(SM_CYSCREEN) - 1) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
        }
        in.mi.dwFlags = flags;
        SendInput(1, &in, sizeof(INPUT));
    }
    HWND hwnd_ = nullptr;
    lumio::clsFrameControl* frame_ = nullptr;
};

TEST_F(SkinnedFormLive, MouseFindsTheFormExceptAtItsTopCorners) {
    Form form(Design());
    LumioBasicForm* skin = Skin(form);
    ASSERT_NE(skin, nullptr);
    Show(form, skin);
    RECT r;
    GetWindowRect(hwnd_, &r);
    struct Case {
        POINT at;  // offset from the window's top-left, negative from the right/bottom
        bool ours;
    };
    const Case cases[] = {
        {{0, 0}, false}, {{-1, 0}, false}, {{0, 1}, false},
        {{0, -1}, true}, {{-1, -1}, true}, {{60, 0}, true},   {{0, 40}, true},
        {{-1, 40}, true}, {{4, 4}, true},  {{-5, 4}, true},
    };
    for (const Case& c : cases) {
        const POINT p{c.at.x >= 0 ? r.left + c.at.x : r.right + c.at.x, c.at.y >= 0 ? r.top + c.at.y : r.bottom + c.at.y};
        SCOPED_TRACE(testing::Message() << "offset " << c.at.x << "," << c.at.y);
        HWND found = WindowFromPoint(p);
        EXPECT_EQ(found == hwnd_ || IsChild(hwnd_, found), c.ours);
    }
    // The title strip moves the form; the client does not.
    const LRESULT title = SendMessageW(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(r.left + 60, r.top + 10));
    EXPECT_EQ(title, HTCAPTION);
    RECT client;
    GetClientRect(hwnd_, &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 180);
}

TEST_F(SkinnedFormLive, FrameComesFromTheSkinActiveAndInactive) {
    Form form(Design());
    LumioBasicForm* skin = Skin(form);
    ASSERT_NE(skin, nullptr);
    Show(form, skin);
    for (bool active : {true, false}) {
        SCOPED_TRACE(active ? "active" : "inactive");
        if (!active) {
            SendMessageW(hwnd_, WM_NCACTIVATE, FALSE, 0);
            ASSERT_TRUE(testhost::Settle(&form));
            ASSERT_FALSE(frame_->DrawnActive());
        }
        const shots::Capture shot = shots::CaptureFromScreen(hwnd_);
        shot.Save(active ? L"skinned_form_active.png" : L"skinned_form_inactive.png");
        const int f = active ? 1 : 0;
        const int mid = shot.height / 2;
        // The side edges: one colour down every row of each column.
        EXPECT_EQ(shot.At(0, mid), StripPixel(Strip::Left, f * 8, 30));
        EXPECT_EQ(shot.At(1, mid), StripPixel(Strip::Left, f * 8 + 1, 30));
        EXPECT_EQ(shot.At(shot.width - 1, mid), StripPixel(Strip::Right, f * 8 + 7, 30));
        // The bottom corners and edge.
        EXPECT_EQ(shot.At(0, shot.height - 1), StripPixel(Strip::Bottom, 0, f * 8 + 7));
        EXPECT_EQ(shot.At(shot.width - 1, shot.height - 1), StripPixel(Strip::Bottom, 20, f * 8 + 7));
        EXPECT_EQ(shot.At(shot.width / 2, shot.height - 1), StripPixel(Strip::Bottom, 10, f * 8 + 7));
        // The caption buttons: cells 0-3 active, 4-7 inactive, state normal.
        const int cell = active ? 0 : 4;
        ExpectCell(shot, 1, Strip::Close, cell);
        ExpectCell(shot, 2, Strip::Maximise, cell);
        ExpectCell(shot, 3, Strip::Minimise, cell);
    }
}

}  // namespace
