// The bars never take the focus: a click leaves it where it is, Tab passes them by.
#include <gtest/gtest.h>

#include "lumio_progress_bar.h"
#include "lumio_scrollbar.h"
#include "test_host.h"

namespace {

using lumio::host::Site;
using namespace testhost;

class BarFocusTest : public OleTest {};

void Click(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    INPUT in[3]{};
    for (auto& i : in) i.type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[0].mi.dx = MulDiv(r.left + 5, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in[0].mi.dy = MulDiv(r.top + 5, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
}

TEST_F(BarFocusTest, ClickAndTabLeaveTheFocusOnTheOtherControl) {
    struct Case {
        const wchar_t* name;
        lumio::host::CreateFunction create;
    } cases[] = {
        {L"ProgressBar1", &lumio::lists::LumioProgressBar::Create},
    };
    for (const auto& c : cases) {
        auto& f = NewForm(true);
        Site* other = f.Add(&lumio::lists::LumioScrollbar::Create, L"Other", RECT{10, 10, 27, 100});
        Site* bar = f.Add(c.create, c.name, RECT{60, 10, 260, 33});
        ASSERT_TRUE(other && bar);
        Settle(&f);
        SetFocus(other->ControlWindow());
        ASSERT_EQ(GetFocus(), other->ControlWindow());
        Click(bar->ControlWindow());
        Settle(&f);
        EXPECT_EQ(GetFocus(), other->ControlWindow()) << c.name;
        f.MoveFocus(false);
        EXPECT_EQ(GetFocus(), other->ControlWindow()) << c.name;
        f.MoveFocus(true);
        EXPECT_EQ(GetFocus(), other->ControlWindow()) << c.name;
    }
}

}  // namespace
