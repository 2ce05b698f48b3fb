#include "forms.h"

namespace forms {

namespace {

enum : int { kPrompt = 10, kEdit, kOk = IDOK, kCancel = IDCANCEL };

struct InputBoxState {
    HWND hwnd = nullptr;
    std::wstring Prompt, Title, Default;
    std::wstring *Result = nullptr;
    HWND Edit = nullptr;

    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
        switch (msg) {
        case WM_CREATE:
            AddControl(hwnd, L"STATIC", Prompt, SS_LEFT, {120, 120, 3600, 900}, kPrompt);
            Edit = AddControl(hwnd, L"EDIT", Default, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, {120, 1140, 4440, 300},
                              kEdit, WS_EX_CLIENTEDGE);
            AddControl(hwnd, L"BUTTON", L"确定", WS_TABSTOP | BS_DEFPUSHBUTTON, {3840, 120, 1080, 360}, kOk);
            AddControl(hwnd, L"BUTTON", L"取消", WS_TABSTOP | BS_PUSHBUTTON, {3840, 540, 1080, 360}, kCancel);
            SendMessageW(Edit, EM_SETSEL, 0, -1);
            SetFocus(Edit);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kOk) {
                *Result = GetText(Edit);
                EndModal(hwnd);
            } else if (LOWORD(wp) == kCancel) {
                Result->clear();
                EndModal(hwnd);
            }
            return 0;
        case WM_CLOSE:
            Result->clear();
            EndModal(hwnd);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
        }
    }
};

} // namespace

std::wstring InputBox(HWND owner, std::wstring_view prompt, std::wstring_view title, std::wstring_view def) {
    static const ATOM cls = RegisterFormClass(L"QvnInputBox", StateWindowProc<InputBoxState>);
    (void)cls;
    std::wstring result;
    auto *s = new InputBoxState{};
    s->Prompt = prompt;
    s->Title = title;
    s->Default = def;
    s->Result = &result;
    HWND w = CreateWindowExW(WS_EX_DLGMODALFRAME, L"QvnInputBox", s->Title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                             CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr, GetModuleHandleW(nullptr), s);
    if (!w) return {};
    SetClientSizeTwips(w, 5040, 1620);
    ShowModal(w, owner);
    return result;
}

} // namespace forms
