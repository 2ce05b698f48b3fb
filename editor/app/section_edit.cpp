#include "section_edit.h"

#include "ansi_text.h"
#include "export_env.h"
#include "forms/forms.h"
#include "main_window.h"
#include "registry_commands.h"
#include "rwini.h"
#include "section_editor_text.h"
#include "section_save.h"
#include "write_failure.h"

using forms::AddControl;
using forms::GetText;
using forms::IsChecked;

void SectionEdit::Form_Load() {
    HWND w = hwnd;
    AddControl(w, L"BUTTON", L"小节内容", BS_GROUPBOX, {120, 60, 4440, 2940});
    Text1 = AddControl(w, L"EDIT", L"",
                       WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL |
                           WS_HSCROLL,
                       {240, 300, 4200, 2580}, kSecText1, WS_EX_CLIENTEDGE);
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(9, forms::Dpi(w), 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(lf.lfFaceName, L"Arial");
    font_.reset(CreateFontIndirectW(&lf));
    if (font_.get()) SendMessageW(Text1, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    // No length limit but memory: sections with their weapons can be long.
    SendMessageW(Text1, EM_SETLIMITTEXT, 0, 0);
    IsWH = AddControl(w, L"BUTTON", L"编辑弹头", WS_TABSTOP | BS_AUTOCHECKBOX, {120, 3180, 1200, 300}, kSecIsWH);
    Command3 = AddControl(w, L"BUTTON", L"另存小节", WS_TABSTOP, {1380, 3120, 1020, 400}, kSecCommand3);
    Command2 = AddControl(w, L"BUTTON", L"保存", WS_TABSTOP, {2460, 3120, 1020, 400}, kSecCommand2);
    Command1 = AddControl(w, L"BUTTON", L"取消", WS_TABSTOP, {3540, 3120, 1020, 400}, kSecCommand1);
    forms::SetChecked(IsWH, Main->CurrentExportOptions().IsWH);
    RefreshEditer();
}

void SectionEdit::RefreshEditer() {
    const MainWindow &m = *Main;
    shown_ = ShowText(
        BuildEditorText(m.RulesFile(), m.SelectedUnitText(), m.CurrentExportOptions().IsWeapon, IsChecked(IsWH)));
    forms::SetText(Text1, FromUtf16(shown_.Text()));
}

std::optional<std::string> SectionEdit::EditedBytesOrSay() {
    EditedBytes edited = EditedTextBytes(shown_, ToUtf16(GetText(Text1)));
    if (edited.Ok) return std::move(edited.Bytes);
    forms::MsgBox(hwnd, FromUtf16(UnsavableLineMessage(edited.BadLine)));
    return std::nullopt;
}

void SectionEdit::Command1_Click() {
    const MainWindow *main = Main; // EndModal may end this window's state
    forms::EndModal(hwnd);
    main->FocusUnitList();
}

void SectionEdit::Command2_Click() {
    const MainWindow &m = *Main;
    std::string file = m.RulesFile();
    auto bytes = EditedBytesOrSay();
    if (!bytes) return;
    SectionSavePlan plan =
        PlanSectionSave(file, *bytes, m.SelectedUnitText(), m.CurrentExportOptions().IsWeapon, IsChecked(IsWH));
    if (plan.Refused) {
        forms::MsgBox(hwnd, std::wstring(kSectionMismatchMessage.begin(), kSectionMismatchMessage.end()));
        return;
    }
    // Registrations and sections reach the file together, or nothing does.
    ProfileBatch batch;
    for (const auto &r : plan.Registrations) {
        std::wstring name = FromAnsi(r.Name);
        RegisterListEntry(m, false, name, r.Warhead ? kWarheadKind : kWeaponKind);
    }
    for (const auto &w : plan.Writes) WriteIniSection(w.Section, SectionEntries(w.Lines), file);
    if (!batch.Commit()) forms::MsgBox(hwnd, FromUtf16(ProfileWriteFailureMessage()));
}

void SectionEdit::Command3_Click() {
    const MainWindow &m = *Main;
    auto bytes = EditedBytesOrSay();
    if (!bytes) return;
    auto text = BuildEditedExport(MakeExportEnv(m, hwnd), m.CurrentExportOptions(), *bytes, m.SelectedUnitText());
    if (!text) return;
    auto path = ChooseTextFile(hwnd, DefaultExportName(m));
    if (!path) return;
    WriteExportFile(hwnd, *path, *text);
}

LRESULT SectionEdit::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        Form_Load();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) != BN_CLICKED) break;
        switch (LOWORD(wp)) {
        case kSecIsWH: RefreshEditer(); break;
        case kSecCommand1: Command1_Click(); break;
        case kSecCommand2: Command2_Click(); break;
        case kSecCommand3: Command3_Click(); break;
        default: break;
        }
        return 0;
    case WM_CLOSE:
        Command1_Click();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void ShowSectionEdit(const MainWindow &main) {
    static const ATOM cls = forms::RegisterFormClass(L"QvnSectionEdit", forms::StateWindowProc<SectionEdit>);
    (void)cls;
    HWND owner = main.Owner();
    auto *state = new SectionEdit;
    state->Main = &main;
    HWND w = CreateWindowExW(WS_EX_DLGMODALFRAME, L"QvnSectionEdit", L"手动编辑", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                             CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr, GetModuleHandleW(nullptr), state);
    if (!w) return;
    forms::SetClientSizeTwips(w, 4680, 3675);
    forms::ShowModal(w, owner);
}
