#include "main_form.h"

#include "ansi_text.h"
#include "csfrw.h"
#include "forms/forms.h"
#include "list_tools.h"
#include "registry_commands.h"
#include "section_edit.h"
#include "search_glyph.h"
#include "simplified_names.h"
#include "unit_values.h"
#include "weapon_mgr.h"
#include "write_failure.h"

#include <commctrl.h>

using forms::AddControl;
using forms::GetText;
using forms::IsChecked;
using forms::SetText;

namespace {

MainForm *g_main = nullptr;

constexpr wchar_t kCaption[] = L"Quorvane V1.12";
constexpr wchar_t kRulesFilter[] = L"Rules文件(Rules.ini,Rulesmd.ini)|Rules.ini;Rulesmd.ini";
constexpr wchar_t kCsfFilter[] = L"Ra语言文件(Ra2.csf,Ra2md.csf)|ra2.csf;ra2md.csf";
constexpr wchar_t kSelectUnitFirst[] = L"请先选择一个单位！";
constexpr wchar_t kOpenRulesFirst[] = L"请先打开Rules！";
constexpr int kWindowHeight = 6900;

void SetItemText(HWND list, int item, int column, const std::wstring &text) {
    LVITEMW it{};
    it.iSubItem = column;
    it.pszText = const_cast<wchar_t *>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
}

} // namespace

MainForm *TheMainForm() { return g_main; }

std::string MainForm::RulesFile() const { return AnsiPath(GetText(FileNameL)); }

bool MainForm::BuildingsChosen() const { return IsChecked(Option[kBuildingsOption]); }

std::string MainForm::SelectedUnitText() const {
    int sel = SelectedItem();
    if (sel < 0) return {};
    LVITEMW it{};
    it.mask = LVIF_PARAM;
    it.iItem = sel;
    if (!SendMessageW(ItemList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return {};
    size_t row = static_cast<size_t>(it.lParam);
    return row < Rows.size() ? Rows[row].Id : std::string();
}

std::optional<std::wstring> MainForm::SelectedUnitName() const {
    if (!IsChecked(IsName) || GetText(CSFPath).empty()) return std::nullopt;
    wchar_t buf[1024] = {};
    LVITEMW it{};
    it.iSubItem = 1;
    it.pszText = buf;
    it.cchTextMax = 1024;
    SendMessageW(ItemList, LVM_GETITEMTEXTW, static_cast<WPARAM>(SelectedItem()), reinterpret_cast<LPARAM>(&it));
    return std::wstring(buf);
}

ExportOptions MainForm::CurrentExportOptions() const {
    ExportOptions o;
    o.IsWeapon = IsChecked(IsWeapon);
    o.IsWH = IsChecked(IsWH);
    o.IsNameCom = IsChecked(IsNameCom);
    o.IsWepCom = IsChecked(IsWepCom);
    o.IsWHCom = IsChecked(IsWHCom);
    return o;
}

std::string MainForm::ComparisonFile() const { return AnsiPath(GetText(OrigFile)); }

std::wstring MainForm::WeaponBoxText() const { return GetText(WeaponText); }

void MainForm::SetPath(HWND label, const std::wstring &path) { SetText(label, path); }

void MainForm::Form_Load() {
    HWND w = hwnd;
    const DWORD tab = WS_TABSTOP;
    // Left part: what stays visible in the narrow width.
    ItemList = AddControl(w, WC_LISTVIEWW, L"", tab | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                          {120, 120, 4560, 2880}, kItemList, WS_EX_CLIENTEDGE);
    SendMessageW(ItemList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const wchar_t *titles[4] = {L"名称", L"中文名", L"主武器", L"副武器"};
    const int widths[4] = {1411, 1764, 2540, 2540};
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = const_cast<wchar_t *>(titles[i]);
        col.cx = forms::TwipsToPixels(w, widths[i]);
        col.iSubItem = i;
        SendMessageW(ItemList, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }

    AddControl(w, L"STATIC", L"HP", SS_LEFT, {120, 3150, 380, 300});
    HPText = AddControl(w, L"EDIT", L"", tab | ES_AUTOHSCROLL, {520, 3100, 1000, 300}, kHPText, WS_EX_CLIENTEDGE);
    AddControl(w, L"STATIC", L"速度", SS_LEFT, {1640, 3150, 480, 300});
    SpeedText = AddControl(w, L"EDIT", L"", tab | ES_AUTOHSCROLL, {2140, 3100, 900, 300}, kSpeedText, WS_EX_CLIENTEDGE);
    AddControl(w, L"STATIC", L"铠甲", SS_LEFT, {3160, 3150, 480, 300});
    ArmorText = AddControl(w, L"COMBOBOX", L"", tab | CBS_DROPDOWNLIST | WS_VSCROLL, {3660, 3100, 1020, 2400},
                           kArmorText);
    AddControl(w, L"STATIC", L"主武器------------", SS_LEFT, {120, 3530, 4560, 270});
    AddControl(w, L"STATIC", L"武器", SS_LEFT, {120, 3870, 380, 300});
    WeaponText = AddControl(w, L"EDIT", L"", tab | ES_AUTOHSCROLL, {520, 3820, 1800, 300}, kWeaponText, WS_EX_CLIENTEDGE);
    AddControl(w, L"STATIC", L"弹头", SS_LEFT, {2440, 3870, 480, 300});
    WHText = AddControl(w, L"EDIT", L"", tab | ES_AUTOHSCROLL, {2940, 3820, 1740, 300}, kWHText, WS_EX_CLIENTEDGE);

    Command4 = AddControl(w, L"BUTTON", L"打开", tab, {120, 4260, 1050, 360}, kCommand4);
    Command3 = AddControl(w, L"BUTTON", L"保存", tab, {1290, 4260, 1050, 360}, kCommand3);
    Command2 = AddControl(w, L"BUTTON", L"手动编辑", tab, {2460, 4260, 1050, 360}, kCommand2);
    Command5 = AddControl(w, L"BUTTON", L"另存小节", tab, {3630, 4260, 1050, 360}, kCommand5);

    IsName = AddControl(w, L"BUTTON", L"显示单位名称", tab | BS_AUTOCHECKBOX, {120, 4760, 1560, 300}, kIsName);
    IsExt = AddControl(w, L"BUTTON", L"显示附加信息", tab | BS_AUTOCHECKBOX, {1700, 4760, 1560, 300}, kIsExt);
    IsGB = AddControl(w, L"COMBOBOX", L"", tab | CBS_DROPDOWNLIST | WS_VSCROLL, {3300, 4730, 1380, 1200}, kIsGB);
    IsWeapon = AddControl(w, L"BUTTON", L"提取武器", tab | BS_AUTOCHECKBOX, {120, 5140, 1560, 300}, kIsWeapon);
    IsWH = AddControl(w, L"BUTTON", L"提取弹头", tab | BS_AUTOCHECKBOX, {1700, 5140, 1560, 300}, kIsWH);

    SearchType = AddControl(w, L"COMBOBOX", L"", tab | CBS_DROPDOWNLIST | WS_VSCROLL, {120, 5540, 1200, 1800},
                            kSearchType);
    SearchName = AddControl(w, L"EDIT", L"", tab | ES_AUTOHSCROLL, {1400, 5550, 2300, 300}, kSearchName,
                            WS_EX_CLIENTEDGE);
    Search = AddControl(w, L"BUTTON", L"", tab | BS_BITMAP, {3780, 5520, 420, 360}, kSearch);
    Command6 = AddControl(w, L"BUTTON", L"<", tab, {4320, 5520, 360, 360}, kCommand6);
    Label8 = AddControl(w, L"STATIC", L"Quorvane 规则编辑器 · 本项目开发组编写", SS_LEFT, {120, 6060, 4560, 270},
                        kLabel8);

    // Right part: the tools the narrow width hides.
    AddControl(w, L"BUTTON", L"注册表", BS_GROUPBOX, {4800, 60, 2040, 1200});
    Option[0] = AddControl(w, L"BUTTON", L"步兵", WS_GROUP | tab | BS_AUTORADIOBUTTON, {4920, 330, 900, 300}, kOption1);
    Option[1] = AddControl(w, L"BUTTON", L"坦克", BS_AUTORADIOBUTTON, {5880, 330, 900, 300}, kOption2);
    Option[2] = AddControl(w, L"BUTTON", L"建筑", BS_AUTORADIOBUTTON, {4920, 750, 900, 300}, kOption3);
    Option[3] = AddControl(w, L"BUTTON", L"飞机", BS_AUTORADIOBUTTON, {5880, 750, 900, 300}, kOption4);

    AddControl(w, L"BUTTON", L"武器管理器", BS_GROUPBOX | WS_GROUP, {4800, 1340, 2040, 1260});
    Check1 = AddControl(w, L"BUTTON", L"写入弹头", tab | BS_AUTOCHECKBOX, {4920, 1620, 1800, 300}, kCheck1);
    Command8 = AddControl(w, L"BUTTON", L"写入列表", tab, {4920, 2040, 900, 360}, kCommand8);
    Command7 = AddControl(w, L"BUTTON", L"管理", tab, {5880, 2040, 900, 360}, kCommand7);

    AddControl(w, L"BUTTON", L"附加工具", BS_GROUPBOX, {4800, 2680, 2040, 760});
    Export = AddControl(w, L"BUTTON", L"导出列表", tab, {4920, 2960, 1800, 360}, kExport);

    AddControl(w, L"BUTTON", L"对比系统（未开启）", BS_GROUPBOX, {4800, 3520, 2040, 2320});
    IsWepCom = AddControl(w, L"BUTTON", L"武器", tab | BS_AUTOCHECKBOX | WS_DISABLED, {4920, 3800, 900, 300}, kIsWepCom);
    IsNameCom = AddControl(w, L"BUTTON", L"注册名", tab | BS_AUTOCHECKBOX | WS_DISABLED, {4920, 4120, 1200, 300},
                           kIsNameCom);
    IsWHCom = AddControl(w, L"BUTTON", L"弹头", tab | BS_AUTOCHECKBOX | WS_DISABLED, {5880, 3800, 900, 300}, kIsWHCom);
    Label7 = AddControl(w, L"STATIC", L"当前对比源文件：", SS_LEFT, {4920, 4500, 1800, 270}, kLabel7);
    OrigFile = AddControl(w, L"EDIT", L"", tab | ES_AUTOHSCROLL, {4920, 4800, 1800, 300}, kOrigFile, WS_EX_CLIENTEDGE);
    Compare = AddControl(w, L"BUTTON", L"开启", tab, {4920, 5240, 1800, 360}, kCompare);

    FileNameL = AddControl(w, L"STATIC", L"", SS_LEFT, {0, 0, 10, 10}, kFileNameL);
    CSFPath = AddControl(w, L"STATIC", L"", SS_LEFT, {0, 0, 10, 10}, kCSFPath);
    ShowWindow(FileNameL, SW_HIDE);
    ShowWindow(CSFPath, SW_HIDE);

    forms::SetChecked(Option[0], true);
    forms::SetChecked(IsName, true);
    forms::SetChecked(IsExt, true);

    int glyph = forms::TwipsToPixels(w, 240);
    searchGlyph_.reset(CreateSearchGlyph(Search, glyph));
    SendMessageW(Search, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(searchGlyph_.get()));

    for (const wchar_t *s : {L"简体中文", L"繁体中文"})
        SendMessageW(IsGB, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessageW(IsGB, CB_SETCURSEL, 0, 0);
    for (const char *armor : kArmorNames)
        SendMessageW(ArmorText, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FromAnsi(armor).c_str()));
    for (const wchar_t *s : {L"注册名", L"中文名", L"主武器", L"副武器"})
        SendMessageW(SearchType, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessageW(SearchType, CB_SETCURSEL, 1, 0);
    HookSearchName(*this);
}

void MainForm::RefreshItemList() {
    filling_ = true;
    SendMessageW(ItemList, LVM_DELETEALLITEMS, 0, 0);
    Rows.clear();
    int option = 0;
    while (option < 3 && !IsChecked(Option[option])) ++option;
    if (option == kBuildingsOption) EnableWindow(SpeedText, FALSE);

    bool withName = IsChecked(IsName), withExt = IsChecked(IsExt);
    bool simplified = SendMessageW(IsGB, CB_GETCURSEL, 0, 0) == 0;
    bool complete = false;
    SendMessageW(ItemList, WM_SETREDRAW, FALSE, 0);
    try {
        Rows = BuildUnitRows(kUnitSections[option], RulesFile(), withName, withExt, UnitEntries);
        for (size_t i = 0; i < Rows.size(); ++i) {
            const UnitRow &row = Rows[i];
            std::wstring id = FromAnsi(row.Id);
            LVITEMW it{};
            it.mask = LVIF_TEXT | LVIF_PARAM;
            it.iItem = static_cast<int>(i);
            it.pszText = id.data();
            it.lParam = static_cast<LPARAM>(i);
            int item = static_cast<int>(SendMessageW(ItemList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
            if (item < 0) continue;
            if (withExt && withName) {
                std::wstring name = FromUtf16(row.Name);
                SetItemText(ItemList, item, 1, simplified ? MapToSimplified(name) : name);
            }
            if (withExt) {
                SetItemText(ItemList, item, 2, FromAnsi(row.Primary));
                SetItemText(ItemList, item, 3, FromAnsi(row.Secondary));
            }
        }
        complete = true;
    } catch (...) {
        // The list keeps what was added; the values are not shown.
    }
    SendMessageW(ItemList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(ItemList, nullptr, TRUE);
    if (complete && ItemCount() > 0) {
        LVITEMW st{};
        st.stateMask = st.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(ItemList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&st));
        SendMessageW(ItemList, LVM_ENSUREVISIBLE, 0, FALSE);
    }
    filling_ = false;
    if (complete) ItemList_Click();
}

void MainForm::ItemList_Click() {
    std::string text = SelectedUnitText();
    CurrentUnit = CutUnitId(text);
    bool building = BuildingsChosen();
    UnitValues v = ReadUnitValues(CurrentUnit, building, RulesFile());
    SetText(HPText, FromAnsi(v.Strength));
    if (!building) SetText(SpeedText, FromAnsi(v.Speed));
    else SetText(SpeedText, FromAnsi(TrimIniValue(ToAnsi(GetText(SpeedText)))));
    SendMessageW(ArmorText, CB_SETCURSEL, static_cast<WPARAM>(ArmorIndexOf(v.Armor)), 0);
    SetText(WeaponText, FromAnsi(v.Primary));
    SetText(WHText, FromAnsi(v.Warhead));
}

void MainForm::Command3_Click() {
    if (ItemCount() == 0) {
        forms::MsgBox(hwnd, kSelectUnitFirst);
        return;
    }
    if (SelectedItem() < 0) return;
    CurrentUnit = CutUnitId(SelectedUnitText());
    std::string file = RulesFile();
    std::string weapon = ToAnsi(GetText(WeaponText));
    // The registration and the values reach the file together, or nothing does.
    ProfileBatch batch;
    if (PrimaryChanged(CurrentUnit, weapon, file)) {
        std::wstring name;
        RegisterListEntry(*this, false, name, kWeaponKind);
    }
    UnitBoxes boxes;
    boxes.Strength = ToAnsi(GetText(HPText));
    boxes.Speed = ToAnsi(GetText(SpeedText));
    boxes.ArmorIndex = static_cast<int>(SendMessageW(ArmorText, CB_GETCURSEL, 0, 0));
    boxes.Primary = weapon;
    for (const auto &w : PlanUnitSave(CurrentUnit, boxes, BuildingsChosen(), file))
        WriteIniString(CurrentUnit, w.Key, w.Value, file);
    if (!batch.Commit()) forms::MsgBox(hwnd, FromUtf16(ProfileWriteFailureMessage()));
}

void MainForm::Command4_Click() {
    if (auto path = forms::ShowOpen(hwnd, kRulesFilter)) SetPath(FileNameL, *path);
    if (IsChecked(IsName))
        if (auto path = forms::ShowOpen(hwnd, kCsfFilter)) SetPath(CSFPath, *path);
    bool read = false;
    try {
        read = LoadCsf(AnsiPath(GetText(CSFPath)));
    } catch (...) {
        // No string table, or an unreadable one: the names stay as the last table gives them.
    }
    // Said once, before the list: the units are listed all the same.
    if (!read && IsChecked(IsName) && !GetText(CSFPath).empty()) forms::MsgBox(hwnd, FromUtf16(CsfUnreadableMessage(ToUtf16(GetText(CSFPath)))));
    RefreshItemList();
}

void MainForm::Command2_Click() {
    if (ItemCount() == 0 || SelectedItem() < 0) forms::MsgBox(hwnd, kSelectUnitFirst);
    else ShowSectionEdit(*this);
}

void MainForm::Command5_Click() {
    if (ItemCount() == 0 || SelectedItem() < 0) forms::MsgBox(hwnd, kSelectUnitFirst);
    else SaveSectionAs(*this);
}

void MainForm::Command6_Click() {
    // A flag, not the width: twips converted to pixels and back rarely give the same number.
    Narrow = !Narrow;
    SetText(Command6, Narrow ? L">" : L"<");
    RECT r;
    GetWindowRect(hwnd, &r);
    SetWindowPos(hwnd, nullptr, 0, 0, forms::TwipsToPixels(hwnd, Narrow ? kNarrowWidth : kWideWidth), r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainForm::Command7_Click() {
    if (GetText(FileNameL).empty()) {
        forms::MsgBox(hwnd, kOpenRulesFirst);
        return;
    }
    ShowWeaponMgr(hwnd, RulesFile());
}

void MainForm::Command8_Click() {
    if (ItemCount() == 0) {
        forms::MsgBox(hwnd, kSelectUnitFirst);
        return;
    }
    ProfileBatch batch;
    std::wstring weapon;
    RegisterListEntry(*this, true, weapon, kWeaponKind);
    if (IsChecked(Check1)) {
        std::wstring warhead = GetText(WHText);
        RegisterListEntry(*this, true, warhead, kWarheadKind);
    }
    if (!batch.Commit()) forms::MsgBox(hwnd, FromUtf16(ProfileWriteFailureMessage()));
}

LRESULT MainForm::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        Form_Load();
        return 0;
    case WM_COMMAND: {
        int id = LOWORD(wp);
        if (HIWORD(wp) != BN_CLICKED) break;
        switch (id) {
        case kOption1: case kOption2: case kOption4:
            EnableWindow(SpeedText, TRUE);
            RefreshItemList();
            break;
        case kOption3: RefreshItemList(); break;
        case kCommand2: Command2_Click(); break;
        case kCommand3: Command3_Click(); break;
        case kCommand4: Command4_Click(); break;
        case kCommand5: Command5_Click(); break;
        case kCommand6: Command6_Click(); break;
        case kCommand7: Command7_Click(); break;
        case kCommand8: Command8_Click(); break;
        case kSearch: Search_Click(*this); break;
        case kExport: Export_Click(*this); break;
        case kCompare: Compare_Click(*this); break;
        case kIsWepCom: if (IsChecked(IsWepCom)) forms::SetChecked(IsWeapon, true); break;
        case kIsWHCom: if (IsChecked(IsWHCom)) forms::SetChecked(IsWH, true); break;
        default: break;
        }
        return 0;
    }
    case WM_NOTIFY: {
        auto *hdr = reinterpret_cast<NMHDR *>(lp);
        if (hdr->hwndFrom == ItemList && hdr->code == LVN_ITEMCHANGED && !filling_) {
            auto *change = reinterpret_cast<NMLISTVIEW *>(lp);
            if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
                !(change->uOldState & LVIS_SELECTED))
                ItemList_Click();
        }
        return 0;
    }
    case DM_GETDEFID:
        return SearchDefaultId(*this);
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus)) lastFocus_ = focus;
        }
        break;
    case WM_SETFOCUS:
        // Back to the control that had the input, the unit list at first, so the
        // selected unit shows as selected and the arrow keys move through the list.
        SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : ItemList);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        if (g_main == this) g_main = nullptr;
        if (QuitOnClose) PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND CreateMainForm() {
    static const ATOM cls = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        return forms::RegisterFormClass(L"QvnMainForm", forms::StateWindowProc<MainForm>);
    }();
    (void)cls;
    auto *state = new MainForm;
    g_main = state;
    HWND w = CreateWindowExW(0, L"QvnMainForm", kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                             CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), state);
    if (!w) {
        g_main = nullptr;
        return nullptr;
    }
    SetWindowPos(w, nullptr, 0, 0, forms::TwipsToPixels(w, kWideWidth), forms::TwipsToPixels(w, kWindowHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return w;
}
