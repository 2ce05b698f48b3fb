// The forms layer under Wine: twips, modal windows, message box, input box, file choice.
#include "forms/forms.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

namespace {

struct OwnerWindow {
    HWND hwnd;
    OwnerWindow() {
        forms::RegisterFormClass(L"QvnTestOwner", DefWindowProcW);
        hwnd = CreateWindowExW(0, L"QvnTestOwner", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~OwnerWindow() { DestroyWindow(hwnd); }
};

TEST(Forms, TwipsBecomePixelsThroughTheDpi) {
    OwnerWindow owner;
    ASSERT_EQ(forms::Dpi(owner.hwnd), 96); // Wine's default screen
    struct Case {
        int twips, pixels;
    } cases[] = {{0, 0}, {15, 1}, {1440, 96}, {4900, 327}, {7040, 469}, {1411, 94}, {7, 0}, {8, 1}};
    for (auto c : cases) EXPECT_EQ(forms::TwipsToPixels(owner.hwnd, c.twips), c.pixels) << c.twips;
}

TEST(Forms, MessageBoxHasTheExclamationIconAndBlocksItsOwner) {
    OwnerWindow owner;
    bool ownerEnabledMeanwhile = true;
    HICON icon = nullptr;
    std::wstring text;
    ui::ModalScript script;
    script.Then(forms::kMessageTitle, [&](HWND box) {
        ownerEnabledMeanwhile = IsWindowEnabled(owner.hwnd);
        text = ui::MessageText(box);
        icon = reinterpret_cast<HICON>(SendDlgItemMessageW(box, 0x0440, STM_GETICON, 0, 0));
        ui::PressOk(box);
    });
    forms::MsgBox(owner.hwnd, L"请先打开Rules！");
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(text, L"请先打开Rules！");
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
    EXPECT_EQ(icon, LoadIconW(nullptr, IDI_EXCLAMATION));
}

// The input box's edit control and buttons.
HWND InputEdit(HWND box) { return FindWindowExW(box, nullptr, L"EDIT", nullptr); }

TEST(Forms, InputBoxGivesTheTextOnOkAndNothingOnCancel) {
    OwnerWindow owner;
    struct Case {
        const wchar_t *typed; // nullptr: leave the default
        int command;          // IDOK, IDCANCEL, or 0 for the close box
        const wchar_t *expected;
    } cases[] = {
        {nullptr, IDOK, L"默认"},
        {L"新的文字", IDOK, L"新的文字"},
        {L"新的文字", IDCANCEL, L""},
        {nullptr, 0, L""},
    };
    for (const auto &c : cases) {
        std::wstring prompt;
        ui::ModalScript script;
        script.Then(L"标题", [&](HWND box) {
            prompt = ui::Text(FindWindowExW(box, nullptr, L"STATIC", nullptr));
            if (c.typed) SetWindowTextW(InputEdit(box), c.typed);
            if (c.command) PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(c.command), 0);
            else PostMessageW(box, WM_CLOSE, 0, 0);
        });
        std::wstring got = forms::InputBox(owner.hwnd, L"输入名称", L"标题", L"默认");
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(got, c.expected) << (c.typed ? c.typed : L"(default)") << " " << c.command;
        EXPECT_EQ(prompt, L"输入名称");
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
    }
}

TEST(Forms, ModalWindowsNestAndGiveTheInputBack) {
    OwnerWindow owner;
    bool ownerDisabledInInner = false;
    ui::ModalScript script;
    script.Then(L"标题", [&](HWND box) {
        // A message box over the input box: both owners stay disabled until it goes.
        forms::MsgBox(box, L"内层");
        EXPECT_TRUE(IsWindowEnabled(box));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    script.Then(forms::kMessageTitle, [&](HWND box) {
        ownerDisabledInInner = !IsWindowEnabled(owner.hwnd);
        ui::PressOk(box);
    });
    std::wstring got = forms::InputBox(owner.hwnd, L"p", L"标题", L"x");
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(got, L"x");
    EXPECT_TRUE(ownerDisabledInInner);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
}

TEST(Forms, FileChoiceGoesToTheReplacedChooserUntilRestored) {
    std::wstring seenFilter;
    bool seenSave = false;
    forms::SetFileChooser([&](HWND, std::wstring_view filter, bool save) -> std::optional<std::wstring> {
        seenFilter = filter;
        seenSave = save;
        return save ? std::nullopt : std::optional<std::wstring>(L"C:\\x\\Rules.ini");
    });
    auto open = forms::ShowOpen(nullptr, L"Rules文件(Rules.ini,Rulesmd.ini)|Rules.ini;Rulesmd.ini");
    ASSERT_TRUE(open);
    EXPECT_EQ(*open, L"C:\\x\\Rules.ini");
    EXPECT_EQ(seenFilter, L"Rules文件(Rules.ini,Rulesmd.ini)|Rules.ini;Rulesmd.ini");
    EXPECT_FALSE(seenSave);
    EXPECT_FALSE(forms::ShowSave(nullptr, L"文本|*.txt"));
    EXPECT_TRUE(seenSave);
    forms::SetFileChooser(nullptr);

    // Restored: the common dialog comes up; cancelling it gives nothing.
    ui::ModalScript script;
    script.Then(L"打开", [](HWND dlg) { PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_FALSE(forms::ShowOpen(nullptr, L"Rules文件(Rules.ini,Rulesmd.ini)|Rules.ini;Rulesmd.ini"));
    EXPECT_TRUE(script.Done());
}

} // namespace
