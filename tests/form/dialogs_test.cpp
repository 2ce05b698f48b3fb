// The message box and the input box: button sets, places, results, the
// panel's height, the icon-less layout, closing through the frame, the
// input box's text and its prompt cap.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "class_table.h"
#include "form_dialogs.h"
#include "lumio_basic_form.h"
#include "lumiokit_ids.h"
#include "simple_dispatch.h"
#include "test_host.h"
#include "window_capture.h"

namespace {

using lumio::Variant;
using lumio::form::InputDialog;
using lumio::form::MessageBoxRequest;
using lumio::form::MessageDialog;

bool DialogUp() {
    if (MessageDialog* m = MessageDialog::Showing()) return IsWindowVisible(m->form().hWnd());
    if (InputDialog* i = InputDialog::Showing()) return IsWindowVisible(i->form().hWnd());
    return false;
}

// Runs act once the dialog is up, from inside its modal loop.
void WhenShown(std::function<void()> act) { lumio::test::ActWhen(DialogUp, std::move(act)); }

void ClickWindow(HWND h) {
    RECT rc;
    GetClientRect(h, &rc);
    LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(h, WM_LBUTTONUP, 0, at);
}

std::wstring CaptionOf(lumio::host::Site* s) {
    Variant v;
    lumio::GetPropertyById(s->Object().get(), -518, v);
    return v->vt == VT_BSTR && v->bstrVal ? v->bstrVal : L"";
}

void SaveWindowShot(HWND hwnd, const wchar_t* name) { shots::CaptureWholeWindow(hwnd).Save(name); }

// Lower-case letters as key presses, to whichever window has the focus.
void TypeLetters(const char* letters) {
    std::vector<INPUT> in;
    for (const char* c = letters; *c; ++c)
        for (DWORD up : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
            INPUT i{};
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = static_cast<WORD>(*c - 'a' + 'A');
            i.ki.dwFlags = up;
            in.push_back(i);
        }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

class DialogsTest : public testhost::OleTest {};

// The input box's field is a LumioTextBox; without that class linked in there is no input box to test.
#define SKIP_WITHOUT_TEXT_BOX()                                              \
    if (!lumio::FindControlClass(lumio::tlb::CLSID_LumioTextBox)) GTEST_SKIP() << "LumioTextBox is not built in"

TEST_F(DialogsTest, ButtonSetsFillFromTheRightAndMapTheirResult) {
    struct Case {
        long set;
        const wchar_t* captions[3];  // nullptr: hidden
        long results[3];
    };
    const Case cases[] = {
        {0, {nullptr, nullptr, L"确定"}, {-1, -1, 0}},
        {1, {nullptr, L"确定", L"取消"}, {-1, 0, 1}},
        {2, {nullptr, L"是(&Y)", L"否(&N)"}, {-1, 2, 3}},
        {3, {L"是(&Y)", L"否(&N)", L"取消"}, {2, 3, 1}},
        {4, {nullptr, L"重试(&R)", L"取消"}, {-1, 5, 1}},
        {5, {L"放弃(&A)", L"重试(&R)", L"忽略(&I)"}, {4, 5, 6}},
        {6, {nullptr, nullptr, nullptr}, {-1, -1, -1}},
    };
    for (const Case& c : cases) {
        for (int i = 1; i <= 3; ++i) {
            SCOPED_TRACE(testing::Message() << "set " << c.set << " button " << i);
            MessageDialog dialog(c.set, 1);
            dialog.SetMainText(L"Main");
            auto* b = dialog.Button(i);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->visible(), c.captions[i - 1] != nullptr);
            if (!c.captions[i - 1]) continue;
            EXPECT_EQ(CaptionOf(b), c.captions[i - 1]);
            // Right-aligned, 10 px apart and from the edges.
            RECT client;
            GetClientRect(dialog.form().hWnd(), &client);
            RECT r = b->rect();
            EXPECT_EQ(r.right, client.right - 10 - (3 - i) * (73 + 10));
            EXPECT_EQ(r.bottom, client.bottom - 10);
            WhenShown([&] { ClickWindow(b->ControlWindow()); });
            dialog.ShowModal(testhost::TopWindow());
            EXPECT_EQ(dialog.mResult, c.results[i - 1]);
            EXPECT_FALSE(IsWindowVisible(dialog.form().hWnd()));
        }
    }
}

TEST_F(DialogsTest, ScreenshotPerIcon) {
    const wchar_t* names[] = {L"message_none.png", L"message_warning.png", L"message_error.png",
                              L"message_information.png", L"message_question.png"};
    for (long icon = 0; icon <= 4; ++icon) {
        MessageDialog dialog(icon == 4 ? 3 : 1, icon);
        dialog.SetMainText(L"Save the changes to rules.ini?");
        dialog.SetContentText(icon ? L"Your changes are lost if you do not save them." : L"");
        dialog.SetTitle(L"Lumiokit");
        WhenShown([&] {
            testhost::Settle(&dialog.form());
            SaveWindowShot(dialog.form().hWnd(), names[icon]);
            dialog.form().Hide();
        });
        dialog.ShowModal(testhost::TopWindow());
    }
}

TEST_F(DialogsTest, EnterPressesTheRightmostButton) {
    MessageDialog dialog(2, 4);
    EXPECT_EQ(dialog.form().DefaultSite(), dialog.Button(3));
    WhenShown([&] {
        HWND focus = dialog.Button(2)->ControlWindow();
        SetFocus(focus);
        PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
    });
    dialog.ShowModal(testhost::TopWindow());
    EXPECT_EQ(dialog.mResult, 3);
}

// The default button and the focused one wear their blue border as soon as the
// box first shows: their form is activated by the show, after they hooked it.
TEST_F(DialogsTest, DefaultAndFocusedButtonsShowTheirBorderAtFirstShow) {
    MessageDialog dialog(2, 4);
    dialog.SetMainText(L"Replace the existing file?");
    EXPECT_NE(GetActiveWindow(), dialog.form().hWnd()) << "activated while loading";
    struct Look {
        int button;
        COLORREF edge, inner;
    };
    const Look looks[] = {
        {2, RGB(60, 127, 177), RGB(72, 216, 251)},  // the focus, first in tab order
        {3, RGB(60, 127, 177), RGB(72, 216, 251)},  // the default
    };
    WhenShown([&] {
        for (const Look& l : looks) {
            SCOPED_TRACE(l.button);
            HWND b = dialog.Button(l.button)->ControlWindow();
            RECT rc;
            GetClientRect(b, &rc);
            const int mid = rc.bottom / 2;
            EXPECT_TRUE(testhost::WaitUntil(&dialog.form(), [&] { return shots::WindowPixel(b, 1, mid) == l.inner; }))
                << std::hex << shots::WindowPixel(b, 1, mid);
            EXPECT_EQ(shots::WindowPixel(b, 0, mid), l.edge);
        }
        SaveWindowShot(dialog.form().hWnd(), L"message_first_show.png");
        dialog.form().Hide();
    });
    dialog.ShowModal(testhost::TopWindow());
}

// Without a title, or with an empty one, both boxes keep their design caption.
TEST_F(DialogsTest, TitleIsTheCaptionUnlessEmpty) {
    SKIP_WITHOUT_TEXT_BOX();
    lumio::host::Form owner(lumio::host::FormDesign{});
    auto* site = owner.Add(&lumio::form::LumioBasicForm::Create, L"BasicForm1", RECT{0, 0, 48, 48});
    ASSERT_NE(site, nullptr);
    namespace id = lumio::tlb::dispid::LumioBasicForm;
    struct Case {
        DISPID method;
        std::vector<Variant> args;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {id::ShowMsgBox, {Variant::String(L"Main")}, L"Dialog Caption"},
        {id::ShowMsgBox,
         {Variant::String(L"Main"), Variant::String(L""), Variant::Long(0), Variant::Long(0), Variant::String(L"")},
         L"Dialog Caption"},
        {id::ShowMsgBox,
         {Variant::String(L"Main"), Variant::String(L""), Variant::Long(0), Variant::Long(0),
          Variant::String(L"Lumiokit")},
         L"Lumiokit"},
        {id::ShowInputBox, {Variant::String(L"Prompt")}, L"Dialog Caption"},
        {id::ShowInputBox, {Variant::String(L"Prompt"), Variant::String(L""), Variant::String(L"")}, L"Dialog Caption"},
        {id::ShowInputBox, {Variant::String(L"Prompt"), Variant::String(L""), Variant::String(L"Lumiokit")},
         L"Lumiokit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.method == id::ShowMsgBox ? "message box, " : "input box, ")
                                        << c.args.size() << " arguments");
        std::wstring caption = L"(not shown)";
        WhenShown([&] {
            HWND h = c.method == id::ShowMsgBox ? MessageDialog::Showing()->form().hWnd()
                                                : InputDialog::Showing()->form().hWnd();
            wchar_t text[64] = {};
            GetWindowTextW(h, text, 64);
            caption = text;
            PostMessageW(h, WM_CLOSE, 0, 0);
        });
        Variant result;
        EXPECT_EQ(testhost::InvokeWith(site->Object().get(), c.method, DISPATCH_METHOD, c.args, &result), S_OK);
        EXPECT_EQ(caption, c.caption);
    }
}

TEST_F(DialogsTest, PanelFollowsTheTextsAndNoIconMovesTheMainText) {
    MessageDialog dialog(0, 0);
    EXPECT_EQ(dialog.lMain()->rect().left, 10);
    dialog.SetMainText(L"Main text");
    const long main_h = dialog.lMain()->rect().bottom - dialog.lMain()->rect().top;
    auto panel = [&] { return dialog.pContainer()->rect().bottom - dialog.pContainer()->rect().top; };
    EXPECT_EQ(panel(), main_h + 40);
    dialog.SetContentText(L"Content text that is long enough to wrap at least once inside its width.");
    const long content_h = dialog.lContent()->rect().bottom - dialog.lContent()->rect().top;
    EXPECT_EQ(panel(), main_h + content_h + 40);
    EXPECT_EQ(dialog.lContent()->rect().top, dialog.lMain()->rect().bottom + 10);
    EXPECT_EQ(dialog.Line1()->from().y, panel());
    MessageDialog with_icon(0, 1);
    EXPECT_EQ(with_icon.lMain()->rect().left, 51);
}

TEST_F(DialogsTest, ClosingThroughTheFrameAnswersCancelWhereOffered) {
    for (long set : {0L, 1L, 2L, 3L, 5L}) {
        SCOPED_TRACE(set);
        MessageDialog dialog(set, 0);
        WhenShown([&] { PostMessageW(dialog.form().hWnd(), WM_CLOSE, 0, 0); });
        dialog.ShowModal(testhost::TopWindow());
        EXPECT_EQ(dialog.mResult, set == 0 ? 0 : 1);
        EXPECT_FALSE(dialog.form().Unloaded());  // still readable
        EXPECT_TRUE(dialog.form().Unload(1));    // the caller's own unload goes through
    }
}

TEST_F(DialogsTest, InputBoxReturnsTheTextOrEmptyWhenCancelled) {
    SKIP_WITHOUT_TEXT_BOX();
    struct Case {
        const char* how;
        std::wstring expected;
    };
    for (const Case& c : {Case{"ok", L"typed"}, Case{"cancel", L""}, Case{"close", L""}}) {
        SCOPED_TRACE(c.how);
        std::string how = c.how;
        WhenShown([how] {
            InputDialog* d = InputDialog::Showing();
            ASSERT_NE(d, nullptr);
            // Typed at the field, which has the focus, over the default text.
            d->SetText(L"");
            TypeLetters("typed");
            ASSERT_TRUE(testhost::WaitUntil(&d->form(), [d] { return d->Text() == L"typed"; })) << "typing";
            if (how == "ok") {
                testhost::Settle(&d->form());
                SaveWindowShot(d->form().hWnd(), L"input_box.png");
            }
            if (how == "ok") ClickWindow(d->form().Find(L"OKButton")->ControlWindow());
            else if (how == "cancel") ClickWindow(d->form().Find(L"CancelButton")->ControlWindow());
            else PostMessageW(d->form().hWnd(), WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(lumio::form::RunInputBox(testhost::TopWindow(), L"Prompt", L"start", L""), c.expected);
    }
}

TEST_F(DialogsTest, LongPromptIsCappedAndTheFieldHasTheFocus) {
    SKIP_WITHOUT_TEXT_BOX();
    InputDialog dialog;
    dialog.SetPrompt(std::wstring(200, L'W'));
    RECT r = dialog.lPrompt()->rect();
    EXPECT_EQ(r.right - r.left, 273);
    dialog.SetPrompt(L"Short");
    r = dialog.lPrompt()->rect();
    EXPECT_LT(r.right - r.left, 273);
    HWND field = dialog.form().Find(L"tInput")->ControlWindow();
    HWND focus = nullptr;
    WhenShown([&] {
        focus = GetFocus();
        dialog.form().Hide();
    });
    dialog.ShowModal(testhost::TopWindow());
    EXPECT_TRUE(focus == field || IsChild(field, focus));
}

}  // namespace

