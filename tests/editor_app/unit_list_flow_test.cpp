// Opening files, the unit list and its columns, the registry options and selection.
#include "csfrw.h"
#include "editor_fixture.h"
#include "wait_for.h"

namespace {

constexpr wchar_t kRulesFilter[] = L"Rules文件(Rules.ini,Rulesmd.ini)|Rules.ini;Rulesmd.ini";
constexpr wchar_t kCsfFilter[] = L"Ra语言文件(Ra2.csf,Ra2md.csf)|ra2.csf;ra2md.csf";

TEST_F(EditorWindow, OpenListsTheUnitsAndShowsTheFirst) {
    OpenBoth();
    EXPECT_EQ(filters, (std::vector<std::wstring>{kRulesFilter, kCsfFilter}));
    EXPECT_EQ(Box(kFileNameL), rulesPath);
    EXPECT_EQ(Box(kCSFPath), csfPath);
    ASSERT_EQ(ui::ListViewCount(List()), 3);
    const wchar_t *expected[3][4] = {
        {L"E1", L"美国大兵", L"M60", L"Knife"},
        {L"E2", L"工程师", L"Pistol", L""}, // the ID as the game reads it
        {L"CANEWY04", L"", L"Pistol", L""},
    };
    for (int i = 0; i < 3; ++i)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(Cell(i, c), expected[i][c]) << i << "," << c;
    EXPECT_EQ(form->SelectedItem(), 0);
    EXPECT_EQ(form->CurrentUnit, "E1");
    EXPECT_EQ(Box(kHPText), L"125");
    EXPECT_EQ(Box(kSpeedText), L"4");
    EXPECT_EQ(ArmorSelection(), 6);
    EXPECT_EQ(Box(kWeaponText), L"M60");
    EXPECT_EQ(Box(kWHText), L"SA");
    EXPECT_EQ(FileBytes(), rules); // looking changes nothing
}

TEST_F(EditorWindow, TraditionalNamesStayWhenTheOtherCharacterSetIsChosen) {
    OpenBoth();
    EXPECT_EQ(Cell(0, 1), L"美国大兵");
    SendMessageW(Item(kIsGB), CB_SETCURSEL, 1, 0);
    ui::Click(Item(kOption1));
    EXPECT_EQ(Cell(0, 1), L"美國大兵");
    EXPECT_EQ(Cell(1, 1), L"工程師");
}

TEST_F(EditorWindow, TheTwoChecksDecideWhichColumnsAreFilled) {
    OpenBoth();
    forms::SetChecked(Item(kIsName), false);
    Open({rulesPath}); // no string-table dialog now
    EXPECT_EQ(filters, (std::vector<std::wstring>{kRulesFilter}));
    EXPECT_EQ(Cell(0, 1), L"");
    EXPECT_EQ(Cell(0, 2), L"M60");
    EXPECT_EQ(Cell(0, 3), L"Knife");

    forms::SetChecked(Item(kIsName), true);
    forms::SetChecked(Item(kIsExt), false);
    Open({rulesPath, csfPath});
    EXPECT_EQ(Cell(0, 0), L"E1");
    for (int c = 1; c < 4; ++c) EXPECT_EQ(Cell(0, c), L"") << c;
}

TEST_F(EditorWindow, CancelledDialogsKeepThePathsAndTheListIsRebuilt) {
    OpenBoth();
    // Another program adds a unit; cancelling both dialogs still rebuilds from the same files.
    std::string changed = rules;
    changed.insert(changed.find("3=CANEWY04\r\n") + 12, "4=E3\r\n");
    ui::WriteBytes(rulesPath, changed);
    Open({std::nullopt, std::nullopt});
    EXPECT_EQ(filters.size(), 2u);
    EXPECT_EQ(Box(kFileNameL), rulesPath);
    EXPECT_EQ(Box(kCSFPath), csfPath);
    ASSERT_EQ(ui::ListViewCount(List()), 4);
    EXPECT_EQ(Cell(3, 0), L"E3");
    EXPECT_EQ(Cell(0, 1), L"美国大兵"); // the string table was read again
}

TEST_F(EditorWindow, NoStringTableAtTheFirstOpenStillListsEveryUnit) {
    CsfTable.clear(); // as before any string table was read
    CsfLabelCount = 0;
    Open({rulesPath, std::nullopt});
    ASSERT_EQ(ui::ListViewCount(List()), 3);
    EXPECT_EQ(Cell(0, 1), L"");
    EXPECT_EQ(Cell(2, 2), L"Pistol");
    EXPECT_EQ(Box(kHPText), L"125");
}

TEST_F(EditorWindow, RegistryOptionsChooseTheSectionAndTheSpeedBox) {
    OpenBoth();
    struct Case {
        int option;
        int count;
        const wchar_t *first, *name, *hp;
        bool speedEnabled;
    } cases[] = {
        {kOption3, 1, L"GAPOWR", L"发电厂", L"750", false},
        {kOption2, 1, L"MTNK", L"灰熊坦克", L"400", true},
        {kOption4, 0, nullptr, nullptr, nullptr, true},
        {kOption3, 1, L"GAPOWR", L"发电厂", L"750", false},
        {kOption1, 3, L"E1", L"美国大兵", L"125", true},
    };
    for (const auto &c : cases) {
        ui::Click(Item(c.option));
        ASSERT_EQ(ui::ListViewCount(List()), c.count) << c.option;
        EXPECT_EQ(IsWindowEnabled(Item(kSpeedText)) != 0, c.speedEnabled) << c.option;
        if (!c.first) continue;
        EXPECT_EQ(Cell(0, 0), c.first);
        EXPECT_EQ(Cell(0, 1), c.name);
        EXPECT_EQ(Box(kHPText), c.hp);
    }
    // A building shows the speed shown before it: the tank's 6 stays after GAPOWR.
    ui::Click(Item(kOption2));
    ui::Click(Item(kOption3));
    EXPECT_EQ(Box(kSpeedText), L"6");
}

TEST_F(EditorWindow, SelectingByMouseOrKeyboardShowsThatUnit) {
    OpenBoth();
    // Mouse: a click on the second row.
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(List(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
    PostMessageW(List(), WM_LBUTTONUP, 0, at); // waiting in the queue ends the list's drag tracking
    SendMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_TRUE(lumio::test::Settle());
    EXPECT_EQ(form->SelectedItem(), 1);
    EXPECT_EQ(form->CurrentUnit, "E2");
    EXPECT_EQ(Box(kHPText), L"75");
    EXPECT_EQ(Box(kSpeedText), L"5");
    EXPECT_EQ(ArmorSelection(), CB_ERR); // "flak ;注释" matches no entry
    EXPECT_EQ(Box(kWeaponText), L"Pistol");
    EXPECT_EQ(Box(kWHText), L"SA");

    // Keyboard: down to the third row, then up to the first.
    SetFocus(List());
    SendMessageW(List(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(form->CurrentUnit, "CANEWY04");
    EXPECT_EQ(Box(kHPText), L"");
    EXPECT_EQ(Box(kWeaponText), L"Pistol");
    SendMessageW(List(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(form->CurrentUnit, "E1");
    EXPECT_EQ(Box(kHPText), L"125");
    EXPECT_EQ(ArmorSelection(), 6);
}

} // namespace

namespace {

TEST_F(EditorWindow, AFolderNameTheCodePageCannotHoldStillOpens) {
    std::wstring odd = dir + L"\\规则한국";
    ASSERT_TRUE(CreateDirectoryW(odd.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    std::wstring path = odd + L"\\Rulesmd.ini";
    ui::WriteBytes(path, rules);
    Open({path, csfPath});
    EXPECT_EQ(Box(kFileNameL), path);
    ASSERT_EQ(ui::ListViewCount(List()), 3);
    SetBox(kHPText, L"99");
    ui::Click(Item(kCommand3));
    EXPECT_EQ(ui::ReadBytes(path), Expect({{"Strength=125", "Strength=99"}}));
    DeleteFileW(path.c_str());
    RemoveDirectoryW(odd.c_str());
}

} // namespace
