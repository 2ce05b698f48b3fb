#include "forms.h"

#include "gdi_handles.h"

#include <commctrl.h>

#include <vector>

namespace forms {

int Dpi(HWND w) {
    WindowDC dc(w);
    int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

int TwipsToPixels(HWND w, int twips) { return MulDiv(twips, Dpi(w), 1440); }

HFONT UiFont() {
    static GdiObject<HFONT> font([] {
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(9, Dpi(nullptr), 72);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = GB2312_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpyW(lf.lfFaceName, L"SimSun");
        return CreateFontIndirectW(&lf);
    }());
    return font.get();
}

HWND AddControl(HWND parent, const wchar_t *cls, std::wstring_view text, DWORD style, Twips at, int id,
                DWORD exStyle) {
    std::wstring caption(text);
    HWND c = CreateWindowExW(exStyle, cls, caption.c_str(), WS_CHILD | WS_VISIBLE | style, TwipsToPixels(parent, at.Left),
                             TwipsToPixels(parent, at.Top), TwipsToPixels(parent, at.Width),
                             TwipsToPixels(parent, at.Height), parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (c) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
    return c;
}

void SetClientSizeTwips(HWND w, int width, int height) {
    RECT r{0, 0, TwipsToPixels(w, width), TwipsToPixels(w, height)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE)));
    SetWindowPos(w, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring GetText(HWND w) {
    int n = GetWindowTextLengthW(w);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(w, s.data(), n + 1);
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
}

void SetText(HWND w, std::wstring_view text) { SetWindowTextW(w, std::wstring(text).c_str()); }

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND button, bool on) { SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

ATOM RegisterFormClass(const wchar_t *name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return 1;
    wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassExW(&wc);
}

void ShowModal(HWND w, HWND owner) {
    if (!w) return;
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(w, SW_SHOW);
    SetActiveWindow(w);
    MSG m;
    while (IsWindow(w)) {
        BOOL got = GetMessageW(&m, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (got < 0) break;
        if (!IsDialogMessageW(w, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    if (IsWindow(w)) DestroyWindow(w);
    if (owner && IsWindow(owner)) {
        EnableWindow(owner, ownerWasEnabled);
        SetActiveWindow(owner);
    }
}

void EndModal(HWND w) {
    // The owner must take input again before w goes, or activation leaves the program.
    HWND owner = GetWindow(w, GW_OWNER);
    if (owner) EnableWindow(owner, TRUE);
    DestroyWindow(w);
}

void MsgBox(HWND owner, std::wstring_view text) {
    MessageBoxW(owner, std::wstring(text).c_str(), kMessageTitle, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace forms
