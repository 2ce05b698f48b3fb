// The section editor: its text, saving it back into the rules file, and its export.
#include "tools_fixture.h"

#include "window_capture.h"
#include "section_edit.h"
#include "wait_for.h"

namespace {

constexpr wchar_t kEditor[] = L"手动编辑";

const char kE1Text[] = "[E1]\r\nUIName=Name:E1\r\nPrimary=M60 ;机枪\r\nSecondary=Knife\r\nStrength=125\r\nSpeed=4\r\n"
                       "Armor=none\r\n";
const char kM60Text[] = "\r\n[M60]\r\nDamage=25\r\nWarhead=SA ;小型\r\n";

class SectionEditWindow : public ToolsWindow {
protected:
    // Opens the editor for the selected unit and runs steps on it (then cancels it).
    void WithEditor(std::function<void(HWND)> steps) {
        bool ran = false;
        ui::ModalScript script;
        script.Then(kEditor, [&](HWND w) {
            ran = true;
            steps(w);
            ui::Click(GetDlgItem(w, kSecCommand1));
        });
        ui::Click(Item(kCommand2));
        EXPECT_TRUE(ran);
    }
    static std::wstring EditorText(HWND w) {
        HWND t = GetDlgItem(w, kSecText1);
        std::wstring s(static_cast<size_t>(GetWindowTextLengthW(t)) + 1, L'\0');
        s.resize(static_cast<size_t>(GetWindowTextW(t, s.data(), static_cast<int>(s.size()))));
        return s;
    }
    static std::wstring W(const std::string &utf8) {
        int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring w(static_cast<size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
        return w;
    }
    static void SetEditorText(HWND w, const std::string &utf8) {
        SetWindowTextW(GetDlgItem(w, kSecText1), W(utf8).c_str());
    }
};

TEST_F(SectionEditWindow, NeedsAListedUnit) { EXPECT_EQ(ClickExpectingMessage(kCommand2), L"请先选择一个单位！"); }

TEST_F(SectionEditWindow, ShowsTheUnitWithItsWeaponsAndWarheadsAsAsked) {
    OpenBoth();
    WithEditor([&](HWND w) {
        EXPECT_FALSE(forms::IsChecked(GetDlgItem(w, kSecIsWH)));
        EXPECT_EQ(EditorText(w), W(kE1Text));
        for (auto [id, caption] : {std::pair{kSecCommand1, L"取消"}, {kSecCommand2, L"保存"},
                                   {kSecCommand3, L"另存小节"}, {kSecIsWH, L"编辑弹头"}})
            EXPECT_EQ(ui::Text(GetDlgItem(w, id)), caption);
        // Warheads only come with the weapons.
        ui::Click(GetDlgItem(w, kSecIsWH));
        EXPECT_EQ(EditorText(w), W(kE1Text));
    });
    forms::SetChecked(Item(kIsWeapon), true);
    forms::SetChecked(Item(kIsWH), true);
    WithEditor([&](HWND w) {
        EXPECT_TRUE(forms::IsChecked(GetDlgItem(w, kSecIsWH)));
        EXPECT_EQ(EditorText(w), W(std::string(kE1Text) + kM60Text + "\r\n[Knife]\r\n\r\n\r\n[SA]\r\n\r\n"));
        ui::Click(GetDlgItem(w, kSecIsWH)); // cleared: rebuilt without the warhead, edits discarded
        EXPECT_EQ(EditorText(w), W(std::string(kE1Text) + kM60Text + "\r\n[Knife]\r\n\r\n"));
    });
    EXPECT_FALSE(IsWindowEnabled(hwnd) == FALSE);
}

TEST_F(SectionEditWindow, SaveWritesEachSectionBack) {
    OpenBoth();
    forms::SetChecked(Item(kIsWeapon), true);
    WithEditor([&](HWND w) {
        std::string text = std::string(kE1Text) + kM60Text + "\r\n[Knife]\r\n\r\n";
        text.replace(text.find("Strength=125"), 12, "Strength=150\r\n\r\nVeteran=yes");
        text.replace(text.find("Damage=25"), 9, "Damage=30");
        SetEditorText(w, text);
        ui::Click(GetDlgItem(w, kSecCommand2));
        EXPECT_TRUE(IsWindow(w)); // the editor stays open
    });
    // A blank line inside the unit's part does not cut it short; nothing is registered.
    EXPECT_EQ(FileBytes(), Expect({{"Strength=125", "Strength=150\r\nVeteran=yes"}, {"Damage=25", "Damage=30"}}));
}

TEST_F(SectionEditWindow, SaveOfARenamedWeaponRegistersItAndWritesItsNewSection) {
    OpenBoth();
    forms::SetChecked(Item(kIsWeapon), true);
    WithEditor([&](HWND w) {
        std::string text = std::string(kE1Text) + kM60Text;
        text.replace(text.find("Primary=M60 ;机枪"), std::string("Primary=M60 ;机枪").size(), "Primary=M70");
        text.replace(text.find("[M60]"), 5, "[M70]");
        SetEditorText(w, text);
        ui::Click(GetDlgItem(w, kSecCommand2));
    });
    EXPECT_EQ(FileBytes(), Expect({{"Primary=M60 ;机枪", "Primary=M70"},
                                   {"3=M60\r\n", "3=M60\r\n4=M70\r\n"},
                                   {"Warhead=AP\r\n", "Warhead=AP\r\n[M70]\r\nDamage=25\r\nWarhead=SA ;小型\r\n"}}));
}

TEST_F(SectionEditWindow, SaveRefusesHeadersThatDoNotMatchTheNames) {
    OpenBoth();
    forms::SetChecked(Item(kIsWeapon), true);
    std::wstring said;
    WithEditor([&](HWND w) {
        std::string text = std::string(kE1Text) + kM60Text;
        text.replace(text.find("Primary=M60 ;机枪"), std::string("Primary=M60 ;机枪").size(), "Primary=M70");
        text.replace(text.find("Strength=125"), 12, "Strength=1");
        SetEditorText(w, text);
        ui::ModalScript box;
        box.Then(forms::kMessageTitle, [&](HWND b) {
            said = ui::MessageText(b);
            ui::PressOk(b);
        });
        ui::Click(GetDlgItem(w, kSecCommand2));
    });
    EXPECT_EQ(said, L"小节内容与武器或弹头名称不符，未保存。");
    EXPECT_EQ(FileBytes(), rules);
}

TEST_F(SectionEditWindow, ExportWritesTheEditedTextWithTheStoredWeapons) {
    OpenBoth();
    forms::SetChecked(Item(kIsWeapon), true);
    std::wstring out = OutFile(L"edited.txt");
    WithEditor([&](HWND w) {
        std::string text = std::string(kE1Text) + kM60Text;
        text.replace(text.find("Damage=25"), 9, "Damage=99");
        SetEditorText(w, text);
        answers = {out};
        ui::Click(GetDlgItem(w, kSecCommand3));
    });
    EXPECT_EQ(names.back(), L"美国大兵");
    EXPECT_EQ(ui::ReadBytes(out), ui::Ansi(std::string(kE1Text) + "\r\n[M60]\r\nDamage=99\r\nWarhead=SA ;小型\r\n" +
                                           kM60Text + "\r\n[Knife]\r\n\r\n\r\n"));
    EXPECT_EQ(FileBytes(), rules); // the rules file is not touched
}

TEST_F(SectionEditWindow, ExportAbandonedAtTheRenameShowsNoDialog) {
    OpenBoth();
    TurnOnComparison(ComparisonFile({"E1"}));
    forms::SetChecked(Item(kIsNameCom), true);
    size_t dialogs = filters.size();
    std::vector<Prompt> seen;
    WithEditor([&](HWND w) {
        ui::ModalScript script;
        script.Then(L"修改注册名", Answer(seen, L""));
        ui::Click(GetDlgItem(w, kSecCommand3));
        EXPECT_TRUE(script.Done());
    });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].proposal, L"E1");
    EXPECT_EQ(filters.size(), dialogs);
}

TEST_F(SectionEditWindow, ScreenshotOfTheEditor) {
    OpenBoth();
    forms::SetChecked(Item(kIsWeapon), true);
    WithEditor([&](HWND w) {
        SetWindowPos(w, HWND_TOPMOST, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(lumio::test::Settle());
        const shots::Capture shot = shots::CaptureFromScreen(w);
        ASSERT_GT(shot.width, 200);
        EXPECT_TRUE(ui::SavePng(L"editor_section_edit.png", shot.width, shot.height, shot.bgra));
    });
}

} // namespace
