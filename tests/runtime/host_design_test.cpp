// Forms of our container built from a design: window styles, client size,
// late-bound form members, light controls, control arrays, modal show with
// an owner, unload and the per-thread default instance.
#include <gtest/gtest.h>

#include "host_form.h"
#include "probe_control.h"
#include "std_objects.h"
#include "test_host.h"

namespace {

using lumio::Variant;
using lumio::host::ControlDesign;
using lumio::host::Form;
using lumio::host::FormDesign;
using testhost::OleTest;

class HostDesignTest : public OleTest {};

TEST_F(HostDesignTest, BorderStylesGiveTheirWindowStyles) {
    struct Case {
        int border;
        bool max, min, mdi;
        bool caption, thick, tool, maxbox, minbox;
    };
    const Case cases[] = {
        {0, true, true, false, false, false, false, false, false},
        {1, true, true, false, true, false, false, true, true},
        {2, true, false, false, true, true, false, true, false},
        {2, false, false, false, true, true, false, false, false},
        {3, true, true, false, true, false, false, false, false},
        {4, true, true, false, true, false, true, false, false},
        {5, true, true, false, true, true, true, false, false},
        {3, false, false, true, true, true, false, true, true},  // an MDI parent ignores the rest
    };
    for (const Case& c : cases) {
        FormDesign d;
        d.border_style = c.border;
        d.max_button = c.max;
        d.min_button = c.min;
        d.mdi_parent = c.mdi;
        auto ws = lumio::host::FormStyles(d);
        SCOPED_TRACE(testing::Message() << "border " << c.border << " mdi " << c.mdi);
        EXPECT_EQ((ws.style & WS_CAPTION) == WS_CAPTION, c.caption);
        EXPECT_EQ((ws.style & WS_THICKFRAME) != 0, c.thick);
        EXPECT_EQ((ws.ex_style & WS_EX_TOOLWINDOW) != 0, c.tool);
        EXPECT_EQ((ws.style & WS_MAXIMIZEBOX) != 0, c.maxbox);
        EXPECT_EQ((ws.style & WS_MINIMIZEBOX) != 0, c.minbox);
    }
}

TEST_F(HostDesignTest, DesignedFormKeepsClientSizeAndAnswersLateBound) {
    FormDesign d;
    d.client_width = 376;
    d.client_height = 214;
    d.caption = L"Dialog Caption";
    d.border_style = 3;
    d.max_button = false;
    d.show_in_taskbar = false;
    Form form(d);
    RECT rc;
    GetClientRect(form.hWnd(), &rc);
    EXPECT_EQ(rc.right, 376);
    EXPECT_EQ(rc.bottom, 214);
    auto disp = form.Dispatch();
    EXPECT_EQ(testhost::AsLong(testhost::Get(disp.get(), 6)), 3);
    Variant v;
    ASSERT_EQ(lumio::GetProperty(disp.get(), L"MaxButton", v), S_OK);
    EXPECT_EQ(v->boolVal, VARIANT_FALSE);
    ASSERT_EQ(lumio::GetProperty(disp.get(), L"ShowInTaskBar", v), S_OK);
    EXPECT_EQ(v->boolVal, VARIANT_FALSE);

    // Caption, BackColor and Height are written late-bound too.
    ASSERT_EQ(lumio::PutProperty(disp.get(), L"Caption", Variant::String(L"New")), S_OK);
    wchar_t text[32] = {};
    GetWindowTextW(form.hWnd(), text, 32);
    EXPECT_STREQ(text, L"New");
    ASSERT_EQ(lumio::PutProperty(disp.get(), L"BackColor", Variant::Long(0xF0F0F0)), S_OK);
    EXPECT_EQ(form.AmbientBackColor(), 0xF0F0F0u);
    ASSERT_EQ(lumio::PutProperty(disp.get(), L"Height", Variant::Long(1500)), S_OK);
    GetWindowRect(form.hWnd(), &rc);
    EXPECT_EQ(rc.bottom - rc.top, 100);
}

TEST_F(HostDesignTest, MdiParentAnswersActiveFormAndNoBorderStyle) {
    FormDesign d;
    d.mdi_parent = true;
    Form form(d);
    Variant v;
    EXPECT_NE(lumio::GetProperty(form.Dispatch().get(), L"BorderStyle", v), S_OK);
    EXPECT_NE(lumio::GetProperty(form.Dispatch().get(), L"MaxButton", v), S_OK);
    EXPECT_EQ(lumio::GetProperty(form.Dispatch().get(), L"hWnd", v), S_OK);
    EXPECT_EQ(lumio::GetProperty(form.Dispatch().get(), L"ActiveForm", v), S_OK);
    Form plain(FormDesign{});
    EXPECT_NE(lumio::GetProperty(plain.Dispatch().get(), L"ActiveForm", v), S_OK);
}

TEST_F(HostDesignTest, LoadReadsControlsInUserModeAsAnArray) {
    Form form(FormDesign{});
    form.SetUserMode(false);
    std::vector<ControlDesign> controls(3);
    for (int i = 0; i < 3; ++i) {
        controls[i].create = &probe::Create;
        controls[i].name = L"cmd";
        controls[i].rect = RECT{10, 10 + 30 * i, 80, 35 + 30 * i};
        controls[i].index = i;
    }
    ASSERT_TRUE(form.Load(controls));
    EXPECT_TRUE(form.UserMode());
    ShowWindow(form.hWnd(), SW_SHOWNA);
    ASSERT_NE(form.Find(L"cmd", 2), nullptr);
    EXPECT_EQ(form.Find(L"cmd", 3), nullptr);
    EXPECT_EQ(testhost::AsLong(testhost::Get(form.Find(L"cmd", 1)->ExtenderObject().get(), lumio::host::kExtIndex)), 1);

    // One handler hears every member of the array, told the index.
    form.log().clear();
    testhost::Call(form.Find(L"cmd", 2)->Object().get(), probe::kPing, {});
    ASSERT_FALSE(form.log().empty());
    EXPECT_EQ(form.log().back().index, 2);
}

TEST_F(HostDesignTest, LabelsFollowTheirSizingRule) {
    Form form(FormDesign{});
    auto font = lumio::CreateStdFont();
    auto* wrap = form.AddPiece<lumio::host::Label>(L"lContent", RECT{10, 10, 110, 20},
                                                   lumio::host::Label::Sizing::WrapDown);
    auto* line = form.AddPiece<lumio::host::Label>(L"lPrompt", RECT{10, 100, 20, 110},
                                                   lumio::host::Label::Sizing::OneLine);
    wrap->SetFont(font.get());
    line->SetFont(font.get());
    const std::wstring text = L"several words that will not fit on one short line";
    wrap->SetCaption(text);
    line->SetCaption(text);
    RECT w = wrap->rect(), l = line->rect();
    EXPECT_EQ(w.right - w.left, 100);  // keeps its design width
    EXPECT_GT(w.bottom - w.top, 2 * (l.bottom - l.top) - 2);  // and grows down
    EXPECT_GT(l.right - l.left, 150);  // grows along its line
    line->SetCaption(L"");
    EXPECT_EQ(line->rect().right - line->rect().left, 0);
    EXPECT_EQ(form.FindPiece(L"lPrompt"), line);
}

TEST_F(HostDesignTest, ModalShowIsOwnedAndUnloadDestroysTheWindow) {
    Form form(FormDesign{});
    HWND owner = testhost::TopWindow();
    HWND seen_owner = nullptr;
    bool owner_enabled = true;
    lumio::test::ActWhen([&] { return IsWindowVisible(form.hWnd()) != FALSE; },
                         [&] { PostMessageW(form.hWnd(), WM_CLOSE, 0, 0); });
    form.OnQueryUnload([&](short&, short mode) {
        seen_owner = GetWindow(form.hWnd(), GW_OWNER);
        owner_enabled = IsWindowEnabled(owner) != FALSE;
        EXPECT_EQ(mode, 0);
    });
    HWND hwnd = form.hWnd();
    form.ShowModal(owner);
    EXPECT_EQ(seen_owner, owner);
    EXPECT_FALSE(owner_enabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_TRUE(form.Unloaded());
    EXPECT_FALSE(IsWindow(hwnd));
}

struct Dialog {
    Form form_{FormDesign{}};
    Form& form() { return form_; }
};

TEST_F(HostDesignTest, DefaultInstanceIsMadeAnewAfterUnload) {
    Dialog& a = lumio::host::DefaultInstance<Dialog>();
    EXPECT_EQ(&lumio::host::DefaultInstance<Dialog>().form(), &a.form());
    HWND first = a.form().hWnd();
    a.form().Unload();
    EXPECT_FALSE(IsWindow(first));
    Dialog& b = lumio::host::DefaultInstance<Dialog>();
    EXPECT_FALSE(b.form().Unloaded());
    EXPECT_TRUE(IsWindow(b.form().hWnd()));
    b.form().Unload();
}

}  // namespace
