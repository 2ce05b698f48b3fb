// The message box and the input box: button sets, places, results, the
// panel's height, the icon-less layout, closing through the frame, the
// input box's text and its prompt cap.
#include <gtest/gtest.h>

#include <functional>

#include "class_table.h"
#include "form_dialogs.h"
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
            shots::CaptureWholeWindow(dialog.form().hWnd()).Save(names[icon]);
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
                shots::CaptureWholeWindow(d->form().hWnd()).Save(L"input_box.png");
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
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == field || IsChild(field, focus));
}

}  // namespace
