#include "weapon_mgr.h"

#include "ansi_text.h"
#include "forms/forms.h"
#include "forms/gdi_handles.h"
#include "rwini.h"
#include "section_text.h"
#include "write_failure.h"

using forms::AddControl;

namespace {

HFONT EditorFont() {
    static forms::GdiObject<HFONT> font([] {
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(9, forms::Dpi(nullptr), 72);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpyW(lf.lfFaceName, L"Arial");
        return CreateFontIndirectW(&lf);
    }());
    return font.get();
}

} // namespace

void WeaponEdit::Command2_Click() {
    EditedBytes edited = EditedTextBytes(Shown, ToUtf16(forms::GetText(Text1)));
    if (!edited.Ok) {
        forms::MsgBox(hwnd, FromUtf16(UnsavableLineMessage(edited.BadLine)));
        return;
    }
    auto lines = SectionLinesFromText(edited.Bytes);
    if (lines.empty()) return;
    std::string entries;
    for (const auto &line : lines) entries.append(line).push_back('\0');
    entries.push_back('\0');
    if (!WriteIniSection(Section, entries, RulesFile)) forms::MsgBox(hwnd, FromUtf16(ProfileWriteFailureMessage()));
}

LRESULT WeaponEdit::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        Label1 = AddControl(hwnd, L"STATIC", L"武器：" + FromAnsi(Value), SS_LEFT | SS_NOPREFIX, {120, 120, 4440, 270},
                            kEditLabel1);
        AddControl(hwnd, L"BUTTON", L"武器代码", BS_GROUPBOX, {120, 420, 4440, 2160});
        Shown = ShowText(ReadSectionText(Section, RulesFile));
        Text1 = AddControl(hwnd, L"EDIT", FromUtf16(Shown.Text()),
                           WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                               ES_WANTRETURN,
                           {240, 680, 4200, 1780}, kEditText1, WS_EX_CLIENTEDGE);
        SendMessageW(Text1, WM_SETFONT, reinterpret_cast<WPARAM>(EditorFont()), FALSE);
        Command2 = AddControl(hwnd, L"BUTTON", L"保存", WS_TABSTOP, {2280, 2700, 1080, 380}, kEditCommand2);
        Command1 = AddControl(hwnd, L"BUTTON", L"取消", WS_TABSTOP, {3480, 2700, 1080, 380}, kEditCommand1);
        return 0;
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lp) == Text1) {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kEditCommand2) Command2_Click();
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kEditCommand1) forms::EndModal(hwnd);
        return 0;
    case WM_CLOSE:
        forms::EndModal(hwnd);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void ShowWeaponEdit(HWND owner, const std::string &rulesFile, const std::string &value) {
    static const ATOM cls = forms::RegisterFormClass(L"QvnWeaponEdit", forms::StateWindowProc<WeaponEdit>);
    (void)cls;
    auto *state = new WeaponEdit;
    state->RulesFile = rulesFile;
    state->Value = value;
    state->Section = TrimIniValue(value);
    HWND w = CreateWindowExW(WS_EX_DLGMODALFRAME, L"QvnWeaponEdit", L"编辑武器", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                             CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr, GetModuleHandleW(nullptr), state);
    if (!w) return;
    forms::SetClientSizeTwips(w, 4680, 3195);
    forms::ShowModal(w, owner);
}
