// Save, the registry commands, the weapon manager and the weapon editor, checked
// on the rules file byte for byte.
#include "editor_fixture.h"

#include "weapon_mgr.h"

namespace {

TEST_F(EditorWindow, SaveWritesTheChangedValuesIntoTheShownUnit) {
    OpenBoth();
    SetBox(kHPText, L"150");
    SetBox(kWeaponText, L"激光枪");
    ui::Click(Item(kCommand3));
    // Speed, armor unchanged: untouched; the new weapon registered first, under the next key.
    EXPECT_EQ(FileBytes(), Expect({{"Strength=125", "Strength=150"},
                                   {"Primary=M60 ;机枪", "Primary=激光枪"},
                                   {"3=M60\r\n", "3=M60\r\n4=激光枪\r\n"}}));
    // Saving again changes nothing.
    ui::Click(Item(kCommand3));
    EXPECT_EQ(FileBytes(), Expect({{"Strength=125", "Strength=150"},
                                   {"Primary=M60 ;机枪", "Primary=激光枪"},
                                   {"3=M60\r\n", "3=M60\r\n4=激光枪\r\n"}}));
}

TEST_F(EditorWindow, SaveOfARegisteredWeaponAddsNoEntryAndTheWarheadBoxIsNeverWritten) {
    OpenBoth();
    SetBox(kWeaponText, L"120mm"); // registered already: no entry, no message
    SetBox(kWHText, L"HE");
    ui::Click(Item(kCommand3));
    EXPECT_EQ(FileBytes(), Expect({{"Primary=M60 ;机枪", "Primary=120mm"}}));
}

TEST_F(EditorWindow, SaveKeepsAnUnmatchedArmorAndComments) {
    OpenBoth();
    ui::ListViewSelect(List(), 1); // E2: "Strength=75 ;弱", "Armor=flak ;注释"
    ASSERT_EQ(form->CurrentUnit, "E2");
    SetBox(kSpeedText, L"7");
    ui::Click(Item(kCommand3));
    EXPECT_EQ(FileBytes(), Expect({{"Speed=5", "Speed=7"}}));
    // Choosing an armor entry writes it.
    SendMessageW(Item(kArmorText), CB_SETCURSEL, 3, 0);
    ui::Click(Item(kCommand3));
    EXPECT_EQ(FileBytes(), Expect({{"Speed=5", "Speed=7"}, {"Armor=flak ;注释", "Armor=heavy"}}));
}

TEST_F(EditorWindow, SaveSkipsABuildingsSpeedAndWritesNothingWithoutASelection) {
    OpenBoth();
    ui::Click(Item(kOption2)); // the tank shows speed 6
    ui::Click(Item(kOption3)); // the power plant keeps showing it
    ASSERT_EQ(Box(kSpeedText), L"6");
    SetBox(kHPText, L"800");
    ui::Click(Item(kCommand3));
    EXPECT_EQ(FileBytes(), Expect({{"Strength=750", "Strength=800"}}));

    LVITEMW none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    ASSERT_EQ(form->SelectedItem(), -1);
    SetBox(kHPText, L"1");
    ui::Click(Item(kCommand3));
    EXPECT_EQ(FileBytes(), Expect({{"Strength=750", "Strength=800"}}));
}

TEST_F(EditorWindow, WriteToListRegistersOnceAndSaysWhenPresent) {
    OpenBoth();
    EXPECT_EQ(ClickExpectingMessage(kCommand8), L"武器M60已存在于武器库中。");
    SetBox(kWeaponText, L"Laser");
    SetBox(kWHText, L"LaserWH");
    forms::SetChecked(Item(kCheck1), true);
    ui::Click(Item(kCommand8));
    std::string afterFirst = Expect({{"3=M60\r\n", "3=M60\r\n4=Laser\r\n"}, {"1=AP\r\n", "1=AP\r\n2=LaserWH\r\n"}});
    EXPECT_EQ(FileBytes(), afterFirst);
    // Both present now: two messages, nothing written.
    ui::ModalScript script;
    std::vector<std::wstring> texts;
    auto answer = [&](HWND box) {
        texts.push_back(ui::MessageText(box));
        ui::PressOk(box);
    };
    script.Then(forms::kMessageTitle, answer).Then(forms::kMessageTitle, answer);
    ui::Click(Item(kCommand8));
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"武器Laser已存在于武器库中。", L"弹头LaserWH已存在于武器库中。"}));
    EXPECT_EQ(FileBytes(), afterFirst);
    // An empty warhead box registers nothing (and never the weapon's name as a warhead).
    SetBox(kWeaponText, L"Gun2");
    SetBox(kWHText, L"");
    ui::Click(Item(kCommand8));
    EXPECT_EQ(FileBytes(), Expect({{"3=M60\r\n", "3=M60\r\n4=Laser\r\n5=Gun2\r\n"}, {"1=AP\r\n", "1=AP\r\n2=LaserWH\r\n"}}));
}

// The manager's controls, found from its window.
struct Manager {
    HWND w;
    HWND Get(int id) const { return GetDlgItem(w, id); }
    std::vector<std::wstring> Items() const { return ui::ListBoxItems(Get(kWeaponList)); }
    void Select(int i) const { SendMessageW(Get(kWeaponList), LB_SETCURSEL, static_cast<WPARAM>(i), 0); }
};

TEST_F(EditorWindow, ManagerListsRemovesAndIsModal) {
    OpenBoth();
    using V = std::vector<std::wstring>;
    bool mainDisabled = false;
    V weapons, warheads, afterRemoval;
    std::wstring nothingSelected;
    ui::ModalScript script;
    script.Then(L"武器管理器", [&](HWND w) {
        Manager m{w};
        mainDisabled = !IsWindowEnabled(hwnd);
        EXPECT_EQ(GetWindow(w, GW_OWNER), hwnd);
        EXPECT_EQ(ui::Text(m.Get(kMgrCommand1)), L"移除");
        EXPECT_EQ(ui::Text(m.Get(kMgrCommand2)), L"编辑");
        weapons = m.Items();
        ui::Click(m.Get(kMgrOption2));
        warheads = m.Items();
        EXPECT_EQ(SendMessageW(m.Get(kMgrOption1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        ui::Click(m.Get(kMgrOption1));
        m.Select(0); // "M60", registered twice
        ui::Click(m.Get(kMgrCommand1));
        afterRemoval = m.Items();
        PostMessageW(w, WM_CLOSE, 0, 0);
    });
    ui::Click(Item(kCommand7));
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_EQ(weapons, (V{L"M60", L"Pistol", L"120mm", L"M60"}));
    EXPECT_EQ(warheads, (V{L"SA", L"AP"}));
    EXPECT_EQ(afterRemoval, (V{L"Pistol", L"120mm"}));
    EXPECT_EQ(FileBytes(), Expect({{"0=M60\r\n1=Pistol\r\n2=120mm\r\n3=M60\r\n", "1=Pistol\r\n2=120mm\r\n"}}));
}

TEST_F(EditorWindow, ManagerAsksForASelection) {
    OpenBoth();
    std::vector<std::wstring> texts;
    ui::ModalScript script;
    auto answer = [&](HWND box) {
        texts.push_back(ui::MessageText(box));
        ui::PressOk(box);
    };
    script.Then(L"武器管理器", [&](HWND w) {
        ui::Click(GetDlgItem(w, kMgrCommand1));
        ui::Click(GetDlgItem(w, kMgrCommand2));
        PostMessageW(w, WM_CLOSE, 0, 0);
    });
    script.Then(forms::kMessageTitle, answer).Then(forms::kMessageTitle, answer);
    ui::Click(Item(kCommand7));
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"请先选择一个单位！", L"请先选择一个单位！"}));
    EXPECT_EQ(FileBytes(), rules);
}

TEST_F(EditorWindow, WeaponEditorRewritesTheSection) {
    // A registry value with a comment names the section before it.
    rules = Expect({{"1=Pistol\r\n", "1=Pistol ;手枪\r\n"}});
    ui::WriteBytes(rulesPath, rules);
    OpenBoth();
    std::wstring label, shown, cleared;
    bool managerDisabled = false;
    ui::ModalScript script;
    script.Then(L"武器管理器", [&](HWND w) {
        SendMessageW(GetDlgItem(w, kWeaponList), LB_SETCURSEL, 1, 0);
        ui::Click(GetDlgItem(w, kMgrCommand2));
        PostMessageW(w, WM_CLOSE, 0, 0);
    });
    script.Then(L"编辑武器", [&](HWND e) {
        managerDisabled = !IsWindowEnabled(GetWindow(e, GW_OWNER));
        label = ui::Text(GetDlgItem(e, kEditLabel1));
        HWND text = GetDlgItem(e, kEditText1);
        shown = ui::Text(text);
        // Blank lines go; the window stays open after saving.
        SetWindowTextW(text, L"Damage=12\r\n\r\nWarhead=AP\r\n;新注释\r\n");
        ui::Click(GetDlgItem(e, kEditCommand2));
        EXPECT_TRUE(IsWindow(e));
        // An empty text writes nothing.
        SetWindowTextW(text, L"\r\n");
        ui::Click(GetDlgItem(e, kEditCommand2));
        ui::Click(GetDlgItem(e, kEditCommand1));
    });
    ui::Click(Item(kCommand7));
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(managerDisabled);
    EXPECT_EQ(label, L"武器：Pistol"); // the registry value as the game reads it
    EXPECT_EQ(shown, L"Damage=10\r\nWarhead=SA\r\n");
    EXPECT_EQ(FileBytes(), Expect({{"1=Pistol\r\n", "1=Pistol ;手枪\r\n"},
                                   {"[Pistol]\r\nDamage=10\r\nWarhead=SA\r\n",
                                    "[Pistol]\r\nDamage=12\r\nWarhead=AP\r\n;新注释\r\n"}}));
}

} // namespace
