#include "list_tools.h"

#include "ansi_text.h"
#include "export_env.h"
#include "file_io.h"
#include "forms/forms.h"
#include "list_export.h"
#include "main_controls.h"
#include "main_window.h"
#include "unit_search.h"
#include "write_failure.h"

#include <commctrl.h>

using forms::GetText;

namespace {

constexpr wchar_t kOpenRulesFirst[] = L"请先打开Rules！";
constexpr wchar_t kRulesFilter[] = L"Rules文件(Rules.ini,Rulesmd.ini)|Rules.ini;Rulesmd.ini";

bool g_searchIsDefault = false;

std::wstring CellText(HWND list, int item, int column) {
    std::wstring buf(1024, L'\0');
    for (;;) {
        LVITEMW it{};
        it.iSubItem = column;
        it.pszText = buf.data();
        it.cchTextMax = static_cast<int>(buf.size());
        auto n = static_cast<size_t>(
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it)));
        if (n + 1 < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.assign(buf.size() * 2, L'\0');
    }
}

std::u16string U16(const std::wstring &s) { return std::u16string(s.begin(), s.end()); }
std::wstring Wide(const std::u16string &s) { return std::wstring(s.begin(), s.end()); }

LRESULT CALLBACK SearchNameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto *form = reinterpret_cast<MainControls *>(ref);
    switch (msg) {
    case WM_GETDLGCODE:
        // Enter belongs to the box, so that a dialog-style message loop does not also click a button.
        if (lp && reinterpret_cast<MSG *>(lp)->message == WM_KEYDOWN && reinterpret_cast<MSG *>(lp)->wParam == VK_RETURN)
            return DLGC_WANTALLKEYS | DefSubclassProc(w, msg, wp, lp);
        break;
    case WM_KEYDOWN: {
        LRESULT r = 0;
        if (wp == VK_RETURN) {
            try {
                Search_Click(*form);
            } catch (...) {
                // The search just ends.
            }
        } else {
            r = DefSubclassProc(w, msg, wp, lp);
        }
        g_searchIsDefault = true;
        SendMessageW(form->Search, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        if (IsWindow(w) && IsWindowVisible(w)) SetFocus(w);
        return r;
    }
    case WM_CHAR:
        if (wp == L'\r') return 0; // no beep for the Enter already handled
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(w, SearchNameProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(w, msg, wp, lp);
}

} // namespace

void Search_Click(MainControls &form) {
    if (form.ItemCount() == 0) {
        forms::MsgBox(form.hwnd, kOpenRulesFirst);
        return;
    }
    int column = static_cast<int>(SendMessageW(form.SearchType, CB_GETCURSEL, 0, 0));
    if (column < 0 || column > 3) column = 0;
    std::vector<std::u16string> cells;
    for (int i = 0, n = form.ItemCount(); i < n; ++i) cells.push_back(U16(CellText(form.ItemList, i, column)));
    std::wstring typed = GetText(form.SearchName);
    int found = FindUnitRow(cells, U16(typed));
    if (found < 0) {
        forms::MsgBox(form.hwnd, Wide(SearchNotFoundMessage(U16(typed))));
        return;
    }
    // Selecting shows the found unit's values, so that a save writes to the unit they belong to.
    LVITEMW st{};
    st.stateMask = st.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(form.ItemList, LVM_SETITEMSTATE, static_cast<WPARAM>(found), reinterpret_cast<LPARAM>(&st));
    SendMessageW(form.ItemList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(found), FALSE);
}

void HookSearchName(MainControls &form) {
    g_searchIsDefault = false;
    SetWindowSubclass(form.SearchName, SearchNameProc, 1, reinterpret_cast<DWORD_PTR>(&form));
}

LRESULT SearchDefaultId(const MainControls &) { return g_searchIsDefault ? MAKELRESULT(kSearch, DC_HASDEFID) : 0; }

void Export_Click(MainControls &form) {
    if (form.ItemCount() == 0) {
        forms::MsgBox(form.hwnd, kOpenRulesFirst);
        return;
    }
    auto path = ChooseTextFile(form.hwnd, L"");
    if (!path) return;
    std::vector<ListExportRow> rows;
    for (int i = 0, n = form.ItemCount(); i < n; ++i) {
        rows.push_back({ToAnsi(CellText(form.ItemList, i, 0)), ToAnsi(CellText(form.ItemList, i, 1)),
                        ToAnsi(CellText(form.ItemList, i, 2)), ToAnsi(CellText(form.ItemList, i, 3))});
    }
    std::array<std::string, 4> titles;
    for (size_t i = 0; i < titles.size(); ++i)
        titles[i] = ToAnsi(std::wstring(kListExportTitles[i].begin(), kListExportTitles[i].end()));
    std::string file = AnsiPath(*path);
    if (!ReplaceFileBytes(file, BuildListExport(rows, titles)))
        forms::MsgBox(form.hwnd, FromUtf16(WriteFailureMessage(file, LastFileError())));
}

void Compare_Click(MainControls &form) {
    forms::SetDialogTitle(L"打开对比源文件");
    auto path = forms::ShowOpen(form.hwnd, kRulesFilter);
    if (!path || path->empty()) return;
    forms::SetText(form.OrigFile, *path);
    for (HWND box : {form.IsWHCom, form.IsNameCom, form.IsWepCom}) EnableWindow(box, TRUE);
    if (HWND frame = FindWindowExW(form.hwnd, nullptr, L"BUTTON", L"对比系统（未开启）"))
        forms::SetText(frame, L"对比系统（已开启）");
    forms::SetText(form.Compare, L"更改");
}

void SaveSectionAs(const MainWindow &main) {
    if (!main.HasSelectedUnit()) return;
    auto path = ChooseTextFile(main.Owner(), DefaultExportName(main));
    if (!path) return;
    // The file is written only once the text is complete: an abandoned rename leaves it untouched.
    auto text =
        BuildSectionExport(MakeExportEnv(main, main.Owner()), main.CurrentExportOptions(), main.SelectedUnitText());
    if (!text) return;
    WriteExportFile(main.Owner(), *path, *text);
}
