#include "weapon_mgr.h"

#include "ansi_text.h"
#include "forms/forms.h"
#include "write_failure.h"

using forms::AddControl;

namespace {

constexpr wchar_t kSelectFirst[] = L"请先选择一个单位！";

} // namespace

RegistryKind WeaponMgr::Kind() const {
    return forms::IsChecked(Option2) ? RegistryKind::Warhead : RegistryKind::Weapon;
}

std::string WeaponMgr::SelectedValue() const {
    LRESULT sel = SendMessageW(WeaponList, LB_GETCURSEL, 0, 0);
    if (sel < 0 || static_cast<size_t>(sel) >= Values.size()) return {};
    return Values[static_cast<size_t>(sel)];
}

void WeaponMgr::RefreshList() {
    SendMessageW(WeaponList, LB_RESETCONTENT, 0, 0);
    RefreshRegistries(RulesFile);
    Values = RegistryListValues(Kind());
    for (const auto &v : Values)
        SendMessageW(WeaponList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FromAnsi(v).c_str()));
}

void WeaponMgr::Command1_Click() {
    std::string value = SelectedValue();
    if (value.empty()) {
        forms::MsgBox(hwnd, kSelectFirst);
        return;
    }
    if (RemoveRegistryValue(Kind(), value, RulesFile) < 0) forms::MsgBox(hwnd, FromUtf16(ProfileWriteFailureMessage()));
    RefreshList();
}

void WeaponMgr::Command2_Click() {
    std::string value = SelectedValue();
    if (value.empty()) {
        forms::MsgBox(hwnd, kSelectFirst);
        return;
    }
    ShowWeaponEdit(hwnd, RulesFile, value);
}

LRESULT WeaponMgr::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        AddControl(hwnd, L"BUTTON", L"列表", BS_GROUPBOX, {120, 60, 2640, 3180});
        Option1 = AddControl(hwnd, L"BUTTON", L"武器", WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, {240, 300, 1000, 300},
                             kMgrOption1);
        Option2 = AddControl(hwnd, L"BUTTON", L"弹头", BS_AUTORADIOBUTTON, {1400, 300, 1000, 300}, kMgrOption2);
        WeaponList = AddControl(hwnd, L"LISTBOX", L"", WS_GROUP | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                {240, 660, 2400, 2460}, kWeaponList, WS_EX_CLIENTEDGE);
        AddControl(hwnd, L"BUTTON", L"管理操作", BS_GROUPBOX, {2880, 60, 1320, 1500});
        Command2 = AddControl(hwnd, L"BUTTON", L"编辑", WS_TABSTOP, {3000, 380, 1080, 400}, kMgrCommand2);
        Command1 = AddControl(hwnd, L"BUTTON", L"移除", WS_TABSTOP, {3000, 940, 1080, 400}, kMgrCommand1);
        forms::SetChecked(Option1, true);
        RefreshList();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
            switch (LOWORD(wp)) {
            case kMgrOption1:
                forms::SetChecked(Option2, false);
                RefreshList();
                break;
            case kMgrOption2:
                forms::SetChecked(Option1, false);
                RefreshList();
                break;
            case kMgrCommand1: Command1_Click(); break;
            case kMgrCommand2: Command2_Click(); break;
            default: break;
            }
        }
        return 0;
    case WM_CLOSE:
        forms::EndModal(hwnd);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

void ShowWeaponMgr(HWND owner, const std::string &rulesFile) {
    static const ATOM cls = forms::RegisterFormClass(L"QvnWeaponMgr", forms::StateWindowProc<WeaponMgr>);
    (void)cls;
    auto *state = new WeaponMgr;
    state->RulesFile = rulesFile;
    HWND w = CreateWindowExW(WS_EX_DLGMODALFRAME, L"QvnWeaponMgr", L"武器管理器", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                             CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr, GetModuleHandleW(nullptr),
                             state);
    if (!w) return;
    forms::SetClientSizeTwips(w, 4320, 3360);
    forms::ShowModal(w, owner);
}
