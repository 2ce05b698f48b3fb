// The editor as a person meets it: the real file dialogs, and a picture of the
// main window with its Chinese texts (saved beside the test for a look).
#include "editor_fixture.h"
#include "window_capture.h"
#include "wait_for.h"

#include <set>

namespace {

// Types a path into the open dialog's file name box and presses its Open button.
void AnswerOpenDialog(HWND dlg, const std::wstring &path) {
    HWND name = GetDlgItem(dlg, 0x47C); // the explorer-style file name combo box
    if (!name) name = GetDlgItem(dlg, 0x480);
    ASSERT_NE(name, nullptr);
    SetWindowTextW(name, path.c_str());
    ui::Click(GetDlgItem(dlg, IDOK));
}

TEST_F(EditorWindow, OpenThroughTheCommonDialogs) {
    forms::SetFileChooser(nullptr);
    std::vector<std::wstring> filterNames;
    auto filterShown = [&](HWND dlg) {
        HWND types = GetDlgItem(dlg, 0x470); // file type combo box
        wchar_t buf[256] = {};
        GetWindowTextW(types, buf, 256);
        filterNames.push_back(buf);
    };
    ui::ModalScript script;
    script.Then(L"打开", [&](HWND dlg) {
        filterShown(dlg);
        AnswerOpenDialog(dlg, rulesPath);
    });
    script.Then(L"打开", [&](HWND dlg) {
        filterShown(dlg);
        AnswerOpenDialog(dlg, csfPath);
    });
    ui::Click(Item(kCommand4));
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(filterNames, (std::vector<std::wstring>{L"Rules文件(Rules.ini,Rulesmd.ini)", L"Ra语言文件(Ra2.csf,Ra2md.csf)"}));
    EXPECT_EQ(_wcsicmp(Box(kFileNameL).c_str(), rulesPath.c_str()), 0) << Box(kFileNameL);
    ASSERT_EQ(ui::ListViewCount(List()), 3);
    EXPECT_EQ(Cell(0, 1), L"美国大兵");
}

TEST_F(EditorWindow, ScreenshotOfTheMainWindow) {
    OpenBoth();
    SetWindowPos(hwnd, HWND_TOPMOST, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(lumio::test::Settle());
    const shots::Capture shot = shots::CaptureFromScreen(hwnd);
    ASSERT_GT(shot.width, 400);
    EXPECT_TRUE(ui::SavePng(L"editor_main_window.png", shot.width, shot.height, shot.bgra));

    // Text was drawn in the list: its first row holds dark glyph pixels in each filled column.
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(List(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(List(), nullptr, reinterpret_cast<POINT *>(&row), 2);
    RECT win;
    GetWindowRect(hwnd, &win);
    int darkInNameColumn = 0;
    int nameLeft = forms::TwipsToPixels(hwnd, 1411), nameRight = nameLeft + forms::TwipsToPixels(hwnd, 1764);
    for (int y = row.top - win.top; y < row.bottom - win.top; ++y)
        for (int x = row.left - win.left + nameLeft; x < row.left - win.left + nameRight && x < shot.width; ++x) {
            const COLORREF c = shot.At(x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) ++darkInNameColumn;
        }
    EXPECT_GT(darkInNameColumn, 20);
}

} // namespace
