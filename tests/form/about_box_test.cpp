// The about box: every about method shows the same box, loaded afresh each
// time and unloaded by OK.
#include <gtest/gtest.h>

#include <functional>

#include "about_box.h"
#include "class_table.h"
#include "lumiokit_ids.h"
#include "test_host.h"
#include "window_capture.h"

namespace {

using lumio::form::AboutDialog;

HWND g_seen = nullptr;
int g_shown = 0;
bool g_shot = false;

HWND AboutWindow() { return lumio::host::DefaultInstance<AboutDialog>().form().hWnd(); }

void PressOk() {
    AboutDialog& box = lumio::host::DefaultInstance<AboutDialog>();
    HWND hwnd = box.form().hWnd();
    ++g_shown;
    EXPECT_NE(hwnd, g_seen);  // a fresh load every time
    g_seen = hwnd;
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 376);
    EXPECT_EQ(client.bottom, 214);
    if (!g_shot) {
        g_shot = true;
        testhost::Settle(&box.form());
        shots::CaptureWholeWindow(hwnd).Save(L"about_box.png");
    }
    HWND ok = box.form().Find(L"cmdOK")->ControlWindow();
    RECT r;
    GetClientRect(ok, &r);
    PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom / 2));
    PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom / 2));
}

class AboutBoxTest : public testhost::OleTest {};

TEST_F(AboutBoxTest, EveryAboutMethodShowsTheBoxFreshlyLoaded) {
    // The button's AboutBox and the About of the eight others share -552.
    const CLSID* classes[] = {&lumio::tlb::CLSID_LumioButton,      &lumio::tlb::CLSID_LumioCheckBox,
                              &lumio::tlb::CLSID_LumioOptionButton, &lumio::tlb::CLSID_LumioGroupBox,
                              &lumio::tlb::CLSID_LumioTab,          &lumio::tlb::CLSID_LumioListBox,
                              &lumio::tlb::CLSID_LumioScrollbar,    &lumio::tlb::CLSID_LumioProgressBar,
                              &lumio::tlb::CLSID_LumioStatusBar};
    auto& f = NewForm();
    int n = 0;
    for (const CLSID* clsid : classes) {
        const lumio::ControlClass* cls = lumio::FindControlClass(*clsid);
        ASSERT_NE(cls, nullptr);
        auto* site = f.Add(cls->create, L"C" + std::to_wstring(n++), RECT{10, 10, 110, 40});
        ASSERT_NE(site, nullptr);
        const int before = g_shown;
        lumio::test::ActWhen([] { return IsWindowVisible(AboutWindow()) != FALSE; }, PressOk);
        EXPECT_EQ(testhost::Call(site->Object().get(), -552, {}), S_OK);
        EXPECT_EQ(g_shown, before + 1);
        EXPECT_FALSE(IsWindow(g_seen));  // OK unloaded it
    }
    EXPECT_EQ(g_shown, 9);
}

}  // namespace
