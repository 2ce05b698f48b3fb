#pragma once
// Helpers for driving the editor's real windows from a test: answering modal
// windows as they appear, reading list texts, and files as bytes.
#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// The thread's visible, enabled top-level window with this caption, or nullptr.
inline HWND FindThreadWindow(std::wstring_view caption) {
    struct Search {
        std::wstring_view caption;
        HWND found = nullptr;
    } s{caption};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) CALLBACK -> BOOL {
            auto *s = reinterpret_cast<Search *>(lp);
            wchar_t buf[256] = {};
            GetWindowTextW(w, buf, 256);
            if (IsWindowVisible(w) && IsWindowEnabled(w) && s->caption == buf) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Answers modal windows in order: each step waits for a window with its caption
// to appear (while some modal loop runs), then acts on it. Steps run inside the
// modal loops of the code under test, through a thread timer.
class ModalScript {
public:
    using Action = std::function<void(HWND)>;
    ModalScript() {
        current() = this;
        timer_ = SetTimer(nullptr, 0, 15, &ModalScript::Tick);
    }
    ~ModalScript() {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    ModalScript(const ModalScript &) = delete;
    ModalScript &operator=(const ModalScript &) = delete;

    ModalScript &Then(std::wstring caption, Action action) {
        steps_.push_back({std::move(caption), std::move(action)});
        return *this;
    }
    bool Done() const { return steps_.empty(); }
    std::vector<std::wstring> Seen; // captions answered, in order

private:
    struct Step {
        std::wstring Caption;
        Action Do;
    };
    static ModalScript *&current() {
        static ModalScript *s = nullptr;
        return s;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalScript *s = current();
        if (!s || s->steps_.empty()) return;
        HWND w = FindThreadWindow(s->steps_.front().Caption);
        if (!w) return;
        Step step = std::move(s->steps_.front());
        s->steps_.pop_front(); // before acting: the action may open the next window
        s->Seen.push_back(step.Caption);
        step.Do(w);
    }
    std::deque<Step> steps_;
    UINT_PTR timer_ = 0;
};

inline std::wstring Text(HWND w) {
    wchar_t buf[4096] = {};
    GetWindowTextW(w, buf, 4096);
    return buf;
}

// The text of a message box (its static text control).
inline std::wstring MessageText(HWND box) {
    wchar_t buf[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, buf, 1024);
    return buf;
}

// Closes any owned window of this thread (a message box, a modal form) that stays
// up longer than a script would leave it, so that a test meeting a window it did
// not expect fails at once instead of waiting for its time limit.
class UnexpectedWindows {
public:
    UnexpectedWindows() {
        current() = this;
        timer_ = SetTimer(nullptr, 0, 100, &UnexpectedWindows::Tick);
    }
    ~UnexpectedWindows() {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    UnexpectedWindows(const UnexpectedWindows &) = delete;
    UnexpectedWindows &operator=(const UnexpectedWindows &) = delete;
    std::vector<std::wstring> Closed; // "caption: text" of each window closed

private:
    static UnexpectedWindows *&current() {
        static UnexpectedWindows *s = nullptr;
        return s;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD now) {
        UnexpectedWindows *s = current();
        if (!s) return;
        std::vector<HWND> up;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM lp) CALLBACK -> BOOL {
                if (IsWindowVisible(w) && IsWindowEnabled(w) && GetWindow(w, GW_OWNER))
                    reinterpret_cast<std::vector<HWND> *>(lp)->push_back(w);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&up));
        std::vector<std::pair<HWND, DWORD>> still;
        for (HWND w : up) {
            DWORD since = now;
            for (auto &[seen, at] : s->seen_)
                if (seen == w) since = at;
            if (now - since > 3000) {
                s->Closed.push_back(Text(w) + L": " + MessageText(w));
                PostMessageW(w, WM_COMMAND, IDOK, 0);
                PostMessageW(w, WM_CLOSE, 0, 0);
            } else {
                still.emplace_back(w, since);
            }
        }
        s->seen_ = std::move(still);
    }
    std::vector<std::pair<HWND, DWORD>> seen_;
    UINT_PTR timer_ = 0;
};

inline void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

// Closes a message box with its OK button.
inline void PressOk(HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }

inline std::wstring ListViewText(HWND list, int item, int column) {
    wchar_t buf[1024] = {};
    LVITEMW it{};
    it.iSubItem = column;
    it.pszText = buf;
    it.cchTextMax = 1024;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
    return buf;
}

inline int ListViewCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

inline void ListViewSelect(HWND list, int item) {
    LVITEMW st{};
    st.stateMask = st.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&st));
}

inline std::vector<std::wstring> ListBoxItems(HWND box) {
    std::vector<std::wstring> out;
    int n = static_cast<int>(SendMessageW(box, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t buf[1024] = {};
        SendMessageW(box, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
        out.push_back(buf);
    }
    return out;
}

inline std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> out;
    int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t buf[1024] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
        out.push_back(buf);
    }
    return out;
}

// Text in the ANSI code page (what the rules file holds), from UTF-8 source text.
inline std::string Ansi(std::string_view utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    int m = WideCharToMultiByte(CP_ACP, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), n, out.data(), m, nullptr, nullptr);
    return out;
}

inline std::string ReadBytes(const std::wstring &path) {
    std::string out;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return out;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    CloseHandle(f);
    return out;
}

inline void WriteBytes(const std::wstring &path, std::string_view bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(f);
}

// A fresh folder for one test's files.
inline std::wstring TempFolder(const wchar_t *name) {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    std::wstring dir = std::wstring(base) + name + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

} // namespace ui
