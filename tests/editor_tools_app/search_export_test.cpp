// Search, the list export, the comparison file and the section export from the main window.
#include "tools_fixture.h"
#include "wait_for.h"

namespace {

// Handles what the thread has queued the way the program's own loop does (dialog keys included).
bool SettleLikeTheProgram(HWND main) {
    return lumio::test::Settle([main](MSG &m) { return IsDialogMessageW(main, &m) != FALSE; });
}

void Key(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

TEST_F(ToolsWindow, SearchAndExportNeedAList) {
    EXPECT_EQ(ClickExpectingMessage(kSearch), L"请先打开Rules！");
    EXPECT_EQ(ClickExpectingMessage(kExport), L"请先打开Rules！");
    EXPECT_TRUE(filters.empty());
}

TEST_F(ToolsWindow, SearchSelectsTheFirstMatchInTheChosenColumnAndShowsItsValues) {
    OpenBoth();
    const struct {
        int column;
        const wchar_t *typed;
        int selected;
    } cases[] = {
        {0, L"E2", 1},         {0, L"CANEWY", 2}, {1, L"工程", 1}, {2, L"Pistol", 1},
        {3, L"Knife", 0},      {0, L" E", 0},     {0, L"", 0},     {0, L"E2 extra", 1},
    };
    for (const auto &c : cases) {
        ui::ListViewSelect(List(), 2);
        SendMessageW(Item(kSearchType), CB_SETCURSEL, static_cast<WPARAM>(c.column), 0);
        SetBox(kSearchName, c.typed);
        ui::Click(Item(kSearch));
        EXPECT_EQ(form->SelectedItem(), c.selected) << c.typed;
    }
    // The value boxes follow the found unit, so that a save goes where the values came from.
    ui::ListViewSelect(List(), 0);
    SendMessageW(Item(kSearchType), CB_SETCURSEL, 0, 0);
    SetBox(kSearchName, L"E2");
    ui::Click(Item(kSearch));
    EXPECT_EQ(form->CurrentUnit, "E2");
    EXPECT_EQ(Box(kHPText), L"75");
}

TEST_F(ToolsWindow, NoMatchSaysSoAndKeepsTheSelection) {
    OpenBoth();
    ui::ListViewSelect(List(), 1);
    SetBox(kSearchName, L"坦克 X");
    EXPECT_EQ(ClickExpectingMessage(kSearch), L"找不到“坦克 X”。\r\n请确认您的输入是否正确，然后重试。\r\n"
                                              L"或者该CSF文件中没有您所需单位的中文名。");
    EXPECT_EQ(form->SelectedItem(), 1);
}

TEST_F(ToolsWindow, EnterInTheSearchBoxSearchesOnce) {
    OpenBoth();
    SetForegroundWindow(hwnd);
    SetFocus(Item(kSearchName));
    ASSERT_EQ(GetFocus(), Item(kSearchName));
    SetBox(kSearchName, L"Nothing");
    std::vector<std::wstring> boxes;
    auto record = [&](HWND box) {
        boxes.push_back(ui::MessageText(box));
        ui::PressOk(box);
    };
    {
        ui::ModalScript script;
        script.Then(forms::kMessageTitle, record).Then(forms::kMessageTitle, record);
        Key(VK_RETURN);
        EXPECT_TRUE(SettleLikeTheProgram(hwnd));
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].substr(0, 12), L"找不到“Nothing”");
    // After a key the search is the window's default button and the box keeps the focus.
    EXPECT_TRUE(GetWindowLongW(Item(kSearch), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetFocus(), Item(kSearchName));

    // A posted Enter, and Enter with a match: one search, no message.
    boxes.clear();
    SendMessageW(Item(kSearchType), CB_SETCURSEL, 0, 0);
    SetBox(kSearchName, L"CANEWY");
    {
        ui::ModalScript script;
        script.Then(forms::kMessageTitle, record);
        PostMessageW(Item(kSearchName), WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_TRUE(SettleLikeTheProgram(hwnd));
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(form->SelectedItem(), 2);
}

TEST_F(ToolsWindow, ListExportIsTabAlignedInTheAnsiCodePage) {
    OpenBoth();
    std::wstring out = OutFile(L"list.txt");
    answers = {std::nullopt};
    ui::Click(Item(kExport));
    EXPECT_EQ(ui::ReadBytes(out), ""); // cancelled: no file
    answers = {out};
    ui::Click(Item(kExport));
    EXPECT_EQ(filters.back(), L"文本文件(*.txt)|*.txt");
    EXPECT_EQ(names.back(), L"");
    EXPECT_TRUE(saves.back());
    EXPECT_EQ(ui::ReadBytes(out), ui::Ansi("注册名\t\t中文名\t\t\t主武器\t\t\t副武器\r\n\r\n"
                                           "E1\t\t美国大兵\t\tM60\t\t\tKnife\t\r\n"
                                           "E2\t\t工程师\t\t\tPistol\t\t\t\t\r\n"
                                           "CANEWY04\t\t\t\tPistol\t\t\t\t\r\n"));
}

TEST_F(ToolsWindow, CompareTurnsOnTheComparisonOptions) {
    OpenBoth();
    EXPECT_EQ(titles.back(), L""); // the open dialogs keep the platform's title
    answers = {std::nullopt};
    ui::Click(Item(kCompare));
    EXPECT_EQ(titles.back(), L"打开对比源文件");
    EXPECT_EQ(filters.back(), L"Rules文件(Rules.ini,Rulesmd.ini)|Rules.ini;Rulesmd.ini");
    EXPECT_FALSE(IsWindowEnabled(Item(kIsWepCom)));
    EXPECT_EQ(Box(kCompare), L"开启");

    std::wstring cmp = ComparisonFile({"M60"});
    TurnOnComparison(cmp);
    EXPECT_EQ(Box(kOrigFile), cmp);
    for (int id : {kIsWepCom, kIsNameCom, kIsWHCom}) EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;
    EXPECT_NE(FindWindowExW(hwnd, nullptr, L"BUTTON", L"对比系统（已开启）"), nullptr);
    EXPECT_EQ(Box(kCompare), L"更改");
    EXPECT_FALSE(saves.back());
    // The next dialog has its own title again.
    answers = {std::nullopt};
    ui::Click(Item(kExport));
    EXPECT_EQ(titles.back(), L"");
}

TEST_F(ToolsWindow, SectionExportWritesTheUnitWithItsLinkedSections) {
    OpenBoth();
    forms::SetChecked(Item(kIsWeapon), true);
    forms::SetChecked(Item(kIsWH), true);
    std::wstring out = OutFile(L"unit.txt");
    answers = {out};
    ui::Click(Item(kCommand5));
    EXPECT_EQ(names.back(), L"美国大兵"); // the name column while names are shown
    EXPECT_EQ(filters.back(), L"文本文件(*.txt)|*.txt");
    EXPECT_EQ(ui::ReadBytes(out),
              ui::Ansi("[E1]\r\nUIName=Name:E1\r\nPrimary=M60 ;机枪\r\nSecondary=Knife\r\nStrength=125\r\nSpeed=4\r\n"
                       "Armor=none\r\n\r\n[M60]\r\nDamage=25\r\nWarhead=SA ;小型\r\n\r\n[Knife]\r\n\r\n"
                       "\r\n[SA]\r\n\r\n\r\n"));
    // Without names shown, the unit's Name value is proposed (none here).
    forms::SetChecked(Item(kIsName), false);
    answers = {std::nullopt};
    ui::Click(Item(kCommand5));
    EXPECT_EQ(names.back(), L"");
}

TEST_F(ToolsWindow, SectionExportRenamesWhatTheComparisonFileHolds) {
    OpenBoth();
    TurnOnComparison(ComparisonFile({"M60", "M61", "E1"}));
    forms::SetChecked(Item(kIsWepCom), true);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(kIsWepCom, BN_CLICKED), reinterpret_cast<LPARAM>(Item(kIsWepCom)));
    ASSERT_TRUE(forms::IsChecked(Item(kIsWeapon)));
    forms::SetChecked(Item(kIsNameCom), true);
    std::wstring out = OutFile(L"renamed.txt");
    std::vector<Prompt> seen;
    {
        ui::ModalScript script;
        script.Then(L"修改注册名", Answer(seen, L"E1X"))
            .Then(L"修改武器名称", Answer(seen, L"M61"))
            .Then(L"修改武器名称", Answer(seen, L"M62"));
        answers = {out};
        ui::Click(Item(kCommand5));
        EXPECT_TRUE(script.Done());
    }
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, L"注册名：E1已存在，请修改名称。");
    EXPECT_EQ(seen[0].proposal, L"E1");
    EXPECT_EQ(seen[1].text, L"武器：M60已存在！请修改名称。");
    EXPECT_EQ(seen[1].proposal, L"M60");
    EXPECT_EQ(seen[2].text, L"武器：M61已存在！请修改名称。"); // the answer exists too: asked again
    EXPECT_EQ(ui::ReadBytes(out),
              ui::Ansi("[E1X]\r\nUIName=Name:E1\r\nPrimary=M62 ;机枪\r\nSecondary=Knife\r\nStrength=125\r\nSpeed=4\r\n"
                       "Armor=none\r\n\r\n[M62]\r\nDamage=25\r\nWarhead=SA ;小型\r\n\r\n[Knife]\r\n\r\n\r\n"));
}

TEST_F(ToolsWindow, AnAbandonedRenameLeavesAnExistingFileAsItWas) {
    OpenBoth();
    TurnOnComparison(ComparisonFile({"E1"}));
    forms::SetChecked(Item(kIsNameCom), true);
    std::wstring out = OutFile(L"kept.txt");
    ui::WriteBytes(out, "earlier export\r\n");
    std::vector<Prompt> seen;
    {
        ui::ModalScript script;
        script.Then(L"修改注册名", Answer(seen, L""));
        answers = {out};
        ui::Click(Item(kCommand5));
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(ui::ReadBytes(out), "earlier export\r\n");
    std::wstring fresh = OutFile(L"fresh.txt");
    {
        ui::ModalScript script;
        script.Then(L"修改注册名", Answer(seen, L""));
        answers = {fresh};
        ui::Click(Item(kCommand5));
    }
    EXPECT_EQ(GetFileAttributesW(fresh.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ToolsWindow, TheCommonDialogsCarryTheTitleAndTheProposedName) {
    OpenBoth();
    forms::SetFileChooser(nullptr);
    std::wstring cmp = ComparisonFile({"M60"});
    std::wstring proposed;
    ui::ModalScript script;
    script.Then(L"打开对比源文件", [&](HWND dlg) {
        SetWindowTextW(GetDlgItem(dlg, 0x47C), cmp.c_str());
        ui::Click(GetDlgItem(dlg, IDOK));
    });
    script.Then(L"另存为", [&](HWND dlg) {
        proposed = ui::Text(GetDlgItem(dlg, 0x47C));
        PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    ui::Click(Item(kCompare));
    EXPECT_EQ(_wcsicmp(Box(kOrigFile).c_str(), cmp.c_str()), 0) << Box(kOrigFile);
    ui::Click(Item(kCommand5));
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(proposed, L"美国大兵");
}

} // namespace
