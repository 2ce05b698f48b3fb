// Real modders' files through the real windows: a file that cannot be written is reported on
// every write path and stays byte for byte; a damaged string table is reported once and the
// units are listed anyway; a rules file reached through a symbolic link stays a link.
#include "editor_fixture.h"
#include "link_case.h"

#include "section_edit.h"
#include "wait_for.h"
#include "weapon_mgr.h"

#include <functional>

namespace {

class FileSafety : public EditorWindow {
protected:
    // Runs steps on a modal window that the click opens, answering every message box that
    // comes up meanwhile and keeping its text.
    void Through(int id, const wchar_t *caption, std::function<void(HWND)> steps) {
        ui::ModalScript script;
        script.Then(caption, steps);
        ui::Click(Item(id));
        EXPECT_TRUE(script.Done()) << caption;
    }
    // A click inside a modal window that must bring up one message box.
    std::wstring MessageOf(HWND button) {
        std::wstring text;
        ui::ModalScript script;
        script.Then(forms::kMessageTitle, [&](HWND box) {
            text = ui::MessageText(box);
            ui::PressOk(box);
        });
        ui::Click(button);
        EXPECT_TRUE(script.Done());
        return text;
    }
    void ExpectWriteFailure(const std::wstring &message, const std::wstring &file, const char *path) {
        EXPECT_EQ(message.rfind(L"无法写入文件“" + file + L"”：", 0), 0u) << path << ": " << message;
        EXPECT_GT(message.size(), file.size() + 10) << path << ": the system's reason";
    }
};

TEST_F(FileSafety, AReadOnlyRulesFileIsReportedOnEveryWritePathAndStaysAsItWas) {
    OpenBoth();
    ASSERT_TRUE(SetFileAttributesW(rulesPath.c_str(), FILE_ATTRIBUTE_READONLY));

    SetBox(kHPText, L"150");
    SetBox(kWeaponText, L"Laser");
    ExpectWriteFailure(ClickExpectingMessage(kCommand3), rulesPath, "保存");
    ExpectWriteFailure(ClickExpectingMessage(kCommand8), rulesPath, "写入列表");

    std::wstring removal, weaponEdit, sectionEdit;
    Through(kCommand7, L"武器管理器", [&](HWND m) {
        SendMessageW(GetDlgItem(m, kWeaponList), LB_SETCURSEL, 0, 0);
        removal = MessageOf(GetDlgItem(m, kMgrCommand1));
        SendMessageW(GetDlgItem(m, kWeaponList), LB_SETCURSEL, 0, 0);
        ui::ModalScript editor;
        editor.Then(L"编辑武器", [&](HWND e) {
            SetWindowTextW(GetDlgItem(e, kEditText1), L"Damage=99\r\n");
            weaponEdit = MessageOf(GetDlgItem(e, kEditCommand2));
            ui::Click(GetDlgItem(e, kEditCommand1));
        });
        ui::Click(GetDlgItem(m, kMgrCommand2));
        EXPECT_TRUE(editor.Done());
        PostMessageW(m, WM_CLOSE, 0, 0);
    });
    ExpectWriteFailure(removal, rulesPath, "移除");
    ExpectWriteFailure(weaponEdit, rulesPath, "编辑武器");

    Through(kCommand2, L"手动编辑", [&](HWND e) {
        SetWindowTextW(GetDlgItem(e, kSecText1), L"[E1]\r\nStrength=1\r\n");
        sectionEdit = MessageOf(GetDlgItem(e, kSecCommand2));
        ui::Click(GetDlgItem(e, kSecCommand1));
    });
    ExpectWriteFailure(sectionEdit, rulesPath, "手动编辑");

    SetFileAttributesW(rulesPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FileBytes(), rules);
}

TEST_F(FileSafety, AnExportFileThatCannotBeWrittenIsReported) {
    OpenBoth();
    // A folder stands where the file would go.
    std::wstring blocked = dir + L"\\blocked.txt";
    ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
    answers = {blocked};
    ExpectWriteFailure(ClickExpectingMessage(kExport), blocked, "导出列表");
    answers = {blocked};
    ExpectWriteFailure(ClickExpectingMessage(kCommand5), blocked, "另存小节");
    RemoveDirectoryW(blocked.c_str());
}

TEST_F(FileSafety, ADamagedStringTableIsReportedOnceAndEveryUnitIsListed) {
    const std::string table = ui::ReadBytes(csfPath);
    const struct {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"not a string table", "[General]\r\nName=not a table\r\n"},
        {"cut short", table.substr(0, table.size() - 3)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ui::WriteBytes(csfPath, c.bytes);
        std::vector<std::wstring> messages;
        ui::ModalScript script;
        script.Then(forms::kMessageTitle, [&](HWND box) {
            messages.push_back(ui::MessageText(box));
            ui::PressOk(box);
        });
        OpenBoth();
        EXPECT_TRUE(script.Done());
        EXPECT_TRUE(lumio::test::Settle()); // a second message would come now
        EXPECT_EQ(messages, (std::vector<std::wstring>{L"无法读取字符串表“" + csfPath + L"”，单位名称无法显示。"}));
        EXPECT_EQ(ui::ListViewCount(List()), 3);
        EXPECT_EQ(Cell(1, 0), L"E2");
    }
    // Without names asked for, or without a string table ever chosen, nothing is said.
    forms::SetChecked(Item(kIsName), false);
    Open({rulesPath});
    EXPECT_EQ(ui::ListViewCount(List()), 3);
}

TEST_F(FileSafety, CommandsOnAListWithoutASelectionSaySo) {
    OpenBoth();
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    ASSERT_EQ(form->SelectedItem(), -1);
    EXPECT_EQ(ClickExpectingMessage(kCommand2), L"请先选择一个单位！");
    EXPECT_EQ(ClickExpectingMessage(kCommand5), L"请先选择一个单位！");
}

// A modder's file: GBK names, a comment saved as UTF-8 (bytes that are no GBK, a digit
// after them), LF line ends, blanks and a blank line. Saving from either editor keeps every
// byte of every line the user did not change.
TEST_F(FileSafety, EditorsKeepTheBytesOfLinesTheUserDidNotChange) {
    const std::string file = "[InfantryTypes]\n0=E1\n\n"
                             "[E1]\n; \xE6\x88\x98\xE5\xA3\xAB 7\nName=\xB4\xF3\xB1\xF8\n  Strength = 125 \n\n"
                             "Primary=M60\t;\xE4\xB8\xBB\n"
                             "[M60]\nDamage=25 ;\xE4\xB8\xBB\n[WeaponsList]\n0=M60\n";
    ui::WriteBytes(rulesPath, file);
    OpenBoth();
    auto edit = [&](int id, const wchar_t *caption, int text, int save, int cancel, const wchar_t *from,
                    const wchar_t *to) {
        Through(id, caption, [&](HWND e) {
            HWND box = GetDlgItem(e, text);
            std::wstring t = ui::Text(box);
            size_t at = t.find(from);
            ASSERT_NE(at, std::wstring::npos) << from;
            t.replace(at, wcslen(from), to);
            SetWindowTextW(box, t.c_str());
            ui::Click(GetDlgItem(e, save));
            ui::Click(GetDlgItem(e, cancel));
        });
    };
    edit(kCommand2, L"手动编辑", kSecText1, kSecCommand2, kSecCommand1, L"", L"");
    EXPECT_EQ(FileBytes(), file);
    edit(kCommand2, L"手动编辑", kSecText1, kSecCommand2, kSecCommand1, L"= 125", L"= 130");
    std::string expected = file;
    expected.replace(expected.find("  Strength = 125 "), 17, "Strength = 130");
    EXPECT_EQ(FileBytes(), expected);

    Through(kCommand7, L"武器管理器", [&](HWND m) {
        SendMessageW(GetDlgItem(m, kWeaponList), LB_SETCURSEL, 0, 0);
        ui::ModalScript editor;
        editor.Then(L"编辑武器", [&](HWND e) {
            ui::Click(GetDlgItem(e, kEditCommand2)); // no edit
            ui::Click(GetDlgItem(e, kEditCommand1));
        });
        ui::Click(GetDlgItem(m, kMgrCommand2));
        EXPECT_TRUE(editor.Done());
        PostMessageW(m, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(FileBytes(), expected);
}

// The link is made by the test's set-up outside Wine (a Unix symbolic link), in the folder
// named by QVN_LINK_DIR: "Rulesmd.ini" there points to "real/Rulesmd.ini".
TEST_F(FileSafety, ASaveThroughASymbolicLinkKeepsTheLink) {
    const std::wstring linkDir = linkcase::Folder("QVN_LINK_DIR");
    if (linkDir.empty()) GTEST_SKIP() << "no link made by the set-up";
    std::wstring link = linkDir + L"\\Rulesmd.ini", real = linkDir + L"\\real\\Rulesmd.ini";
    ui::WriteBytes(link, rules); // through the link
    ASSERT_NE(linkcase::FinalPath(link).find(L"\\real\\"), std::wstring::npos) << "the set-up's link";
    Open({link, csfPath});
    SetBox(kHPText, L"150");
    ui::Click(Item(kCommand3));
    EXPECT_NE(linkcase::FinalPath(link).find(L"\\real\\"), std::wstring::npos) << "still a link";
    EXPECT_EQ(ui::ReadBytes(real), Expect({{"Strength=125", "Strength=150"}}));
}

} // namespace
