#pragma once
// A small forms layer: windows whose state lives in one struct per window,
// controls placed in twips, modal windows with an owner, the message box, the
// input box and the file dialogs. Wide APIs throughout.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace forms {

inline constexpr wchar_t kMessageTitle[] = L"Quorvane";

// Pixels per inch of the window's screen, and twips (1/1440 inch) in pixels there.
int Dpi(HWND w);
int TwipsToPixels(HWND w, int twips);

struct Twips {
    int Left, Top, Width, Height;
};

// The font every control of the editor uses; created once per process.
HFONT UiFont();

// Creates a child control at a place given in twips, with the editor's font.
HWND AddControl(HWND parent, const wchar_t *cls, std::wstring_view text, DWORD style, Twips at, int id = 0,
                DWORD exStyle = 0);

// Sizes a window so that its client area is the given size in twips.
void SetClientSizeTwips(HWND w, int width, int height);

std::wstring GetText(HWND w);
void SetText(HWND w, std::wstring_view text);
bool IsChecked(HWND button);
void SetChecked(HWND button, bool on);

// Registers a window class once; its procedure keeps one State per window:
// created at WM_NCCREATE from the create parameter, deleted at WM_NCDESTROY.
// State must offer `LRESULT Handle(UINT, WPARAM, LPARAM)` and a member `HWND hwnd`.
template <class State>
State *StateOf(HWND w) {
    return reinterpret_cast<State *>(GetWindowLongPtrW(w, GWLP_USERDATA));
}

template <class State>
LRESULT CALLBACK StateWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    State *s = StateOf<State>(w);
    if (msg == WM_NCCREATE) {
        s = static_cast<State *>(reinterpret_cast<CREATESTRUCTW *>(lp)->lpCreateParams);
        s->hwnd = w;
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    }
    LRESULT result = 0;
    if (!s) return DefWindowProcW(w, msg, wp, lp);
    try {
        result = s->Handle(msg, wp, lp);
    } catch (...) {
        // No exception may leave a window procedure; the command that threw just ends.
        result = DefWindowProcW(w, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(w, GWLP_USERDATA, 0);
        delete s;
    }
    return result;
}

ATOM RegisterFormClass(const wchar_t *name, WNDPROC proc);

// Shows w modally: its owner takes no input until w is destroyed. A quit message
// seen meanwhile ends the wait and is posted again for the outer loop.
void ShowModal(HWND w, HWND owner);
// Ends a modal window: gives the input back to the owner, then destroys it.
void EndModal(HWND w);

// Message box with the exclamation icon and an OK button.
void MsgBox(HWND owner, std::wstring_view text);

// Prompt, title and default text; OK gives the text, Cancel or close gives "".
std::wstring InputBox(HWND owner, std::wstring_view prompt, std::wstring_view title, std::wstring_view def);

// File choice with filters written "description|pattern|...". Returns the chosen
// path, nothing when cancelled or failed.
using FileChooser = std::function<std::optional<std::wstring>(HWND owner, std::wstring_view filter, bool save)>;
std::optional<std::wstring> ShowOpen(HWND owner, std::wstring_view filter);
std::optional<std::wstring> ShowSave(HWND owner, std::wstring_view filter);
// Replaces the common dialog (tests); an empty chooser restores it.
void SetFileChooser(FileChooser chooser);
// The file name the next dialog proposes and its title (empty: the platform's). They apply
// to the next dialog only; a replaced chooser can read them while it runs.
void SetDialogFileName(std::wstring_view name);
void SetDialogTitle(std::wstring_view title);
std::wstring DialogFileName();
std::wstring DialogTitle();

} // namespace forms
