#pragma once
// The main window over a small rules file and string table in a fresh folder,
// with the file dialogs answered from a queue.
#include "../editor_model/csf_bytes.h"
#include "forms/forms.h"
#include "main_form.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

// Rules text as written in UTF-8 here; the file holds it in the ANSI code page.
inline const char kFixtureRules[] =
    "[General]\r\nName=测试规则\r\n\r\n"
    "[InfantryTypes]\r\n0=E1\r\n1=E2 ;工程师\r\n2=\r\n3=CANEWY04\r\n\r\n"
    "[VehicleTypes]\r\n0=MTNK\r\n\r\n"
    "[BuildingTypes]\r\n0=GAPOWR\r\n\r\n"
    "[WeaponsList]\r\n0=M60\r\n1=Pistol\r\n2=120mm\r\n3=M60\r\n\r\n"
    "[WarheadsList]\r\n0=SA\r\n1=AP\r\n\r\n"
    "[E1]\r\nUIName=Name:E1\r\nPrimary=M60 ;机枪\r\nSecondary=Knife\r\nStrength=125\r\nSpeed=4\r\nArmor=none\r\n\r\n"
    "[E2]\r\nUIName=Name:E2\r\nPrimary=Pistol\r\nStrength=75 ;弱\r\nArmor=flak ;注释\r\nSpeed=5\r\n\r\n"
    "[CANEWY04]\r\nUIName=Name:E1\r\nPrimary=Pistol\r\n\r\n"
    "[MTNK]\r\nUIName=Name:MTNK\r\nPrimary=120mm\r\nStrength=400\r\nSpeed=6\r\nArmor=heavy\r\n\r\n"
    "[GAPOWR]\r\nUIName=Name:GAPOWR\r\nStrength=750\r\nArmor=wood\r\nSpeed=0\r\n\r\n"
    "[M60]\r\nDamage=25\r\nWarhead=SA ;小型\r\n\r\n"
    "[Pistol]\r\nDamage=10\r\nWarhead=SA\r\n\r\n"
    "[120mm]\r\nDamage=90\r\nWarhead=AP\r\n";

class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override {
        dir = ui::TempFolder(L"qvn_flows_");
        rulesPath = dir + L"\\Rulesmd.ini";
        csfPath = dir + L"\\ra2md.csf";
        rules = ui::Ansi(kFixtureRules);
        ui::WriteBytes(rulesPath, rules);
        ui::WriteBytes(csfPath, CsfBytes({{"Name:E1", u"美國大兵"},
                                          {"Name:E2", u"工程師"},
                                          {"Name:MTNK", u"灰熊坦克"},
                                          {"Name:GAPOWR", u"發電廠"}}));
        forms::SetFileChooser([this](HWND, std::wstring_view filter, bool) -> std::optional<std::wstring> {
            filters.emplace_back(filter);
            if (answers.empty()) return std::nullopt;
            auto a = answers.front();
            answers.pop_front();
            return a;
        });
        hwnd = CreateMainForm();
        ASSERT_NE(hwnd, nullptr);
        ShowWindow(hwnd, SW_SHOW);
        form = TheMainForm();
    }
    void TearDown() override {
        EXPECT_TRUE(unexpected.Closed.empty()) << "a window nobody expected: " << unexpected.Closed.front();
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
        forms::SetFileChooser(nullptr);
        DeleteFileW(rulesPath.c_str());
        DeleteFileW(csfPath.c_str());
        RemoveDirectoryW(dir.c_str());
    }

    // Presses Open; the dialogs give these answers in turn (nullopt: cancelled).
    void Open(std::deque<std::optional<std::wstring>> given) {
        answers = std::move(given);
        filters.clear();
        ui::Click(Item(kCommand4));
    }
    void OpenBoth() { Open({rulesPath, csfPath}); }

    HWND Item(int id) const { return GetDlgItem(hwnd, id); }
    HWND List() const { return Item(kItemList); }
    std::wstring Cell(int item, int column) const { return ui::ListViewText(List(), item, column); }
    std::wstring Box(int id) const { return ui::Text(Item(id)); }
    void SetBox(int id, const wchar_t *text) { SetWindowTextW(Item(id), text); }
    int ArmorSelection() const { return static_cast<int>(SendMessageW(Item(kArmorText), CB_GETCURSEL, 0, 0)); }
    std::string FileBytes() const { return ui::ReadBytes(rulesPath); }
    // The fixture with one text replaced (both in UTF-8), as the file should then hold it.
    std::string Expect(std::initializer_list<std::pair<const char *, const char *>> edits) const {
        std::string text = kFixtureRules;
        for (auto [from, to] : edits) {
            size_t at = text.find(from);
            EXPECT_NE(at, std::string::npos) << from;
            if (at != std::string::npos) text.replace(at, std::string_view(from).size(), to);
        }
        return ui::Ansi(text);
    }
    // Answers the next message box, keeping its text.
    std::wstring ClickExpectingMessage(int id) {
        std::wstring text;
        ui::ModalScript script;
        script.Then(forms::kMessageTitle, [&](HWND box) {
            text = ui::MessageText(box);
            ui::PressOk(box);
        });
        ui::Click(Item(id));
        EXPECT_TRUE(script.Done());
        return text;
    }

    ui::UnexpectedWindows unexpected;
    std::wstring dir, rulesPath, csfPath;
    std::string rules;
    std::deque<std::optional<std::wstring>> answers;
    std::vector<std::wstring> filters;
    HWND hwnd = nullptr;
    MainForm *form = nullptr;
};
