// The bars never take the focus: a click leaves it where it is, Tab passes them by.
#include <gtest/gtest.h>

#include "lumio_list_box.h"
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
        {L"VScroll1", &lumio::lists::LumioScrollbar::Create},
    };
    for (const auto& c : cases) {
        auto& f = NewForm(true);
        Site* other = f.Add(&lumio::lists::LumioListBox::Create, L"Other", RECT{10, 10, 60, 100});
        Site* bar = f.Add(c.create, c.name, RECT{80, 10, 97, 200});
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

// Two lists, the first with its own bar showing, and a bar between them: Tab
// goes from list to list both ways, and a click on the first list's bar
// leaves the focus on the second list.
TEST_F(BarFocusTest, TabOrderSkipsTheStandAloneBarAndTheListsOwnBar) {
    auto& f = NewForm(true);
    Site* first = f.Add(&lumio::lists::LumioListBox::Create, L"List1", RECT{10, 10, 110, 60});
    Site* bar = f.Add(&lumio::lists::LumioScrollbar::Create, L"VScroll1", RECT{120, 10, 137, 150});
    Site* second = f.Add(&lumio::lists::LumioListBox::Create, L"List2", RECT{150, 10, 250, 60});
    ASSERT_TRUE(first && bar && second);
    for (int i = 0; i < 20; ++i) Call(first->Object().get(), lumio::tlb::dispid::LumioListBox::AddItem, {lumio::Variant::String(L"item")});
    Settle(&f);
    HWND inner = GetWindow(first->ControlWindow(), GW_CHILD);
    ASSERT_TRUE(inner && IsWindowVisible(inner)) << "the first list shows its bar";
    SetFocus(first->ControlWindow());
    const HWND lists[] = {first->ControlWindow(), second->ControlWindow()};
    for (bool backwards : {false, true}) {
        for (int step = 1; step <= 4; ++step) {
            f.MoveFocus(backwards);
            Settle(&f);
            EXPECT_EQ(GetFocus(), lists[step % 2]) << (backwards ? "Shift+Tab " : "Tab ") << step;
        }
    }
    SetFocus(second->ControlWindow());
    Click(inner);
    Settle(&f);
    EXPECT_EQ(GetFocus(), second->ControlWindow()) << "a click on the list's bar";
}

}  // namespace
