#include "forms.h"

#include "file_filter.h"

#include <commdlg.h>

#include <algorithm>

namespace forms {

namespace {

FileChooser &ReplacedChooser() {
    static FileChooser chooser;
    return chooser;
}

std::wstring &PendingFileName() {
    static std::wstring name;
    return name;
}

std::wstring &PendingTitle() {
    static std::wstring title;
    return title;
}

std::optional<std::wstring> CommonDialog(HWND owner, std::wstring_view filter, bool save) {
    // The dialog wants "description\0pattern\0...\0\0".
    std::wstring pairs;
    for (const auto &[description, pattern] : ParseFileFilter(filter)) {
        pairs.append(description).push_back(L'\0');
        pairs.append(pattern).push_back(L'\0');
    }
    pairs.push_back(L'\0');
    std::wstring path(32768, L'\0');
    path.replace(0, std::min(PendingFileName().size(), path.size() - 1), PendingFileName());
    std::wstring title = PendingTitle();
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = pairs.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return path;
}

std::optional<std::wstring> Choose(HWND owner, std::wstring_view filter, bool save) {
    auto chosen = ReplacedChooser() ? ReplacedChooser()(owner, filter, save) : CommonDialog(owner, filter, save);
    PendingFileName().clear();
    PendingTitle().clear();
    return chosen;
}

} // namespace

std::optional<std::wstring> ShowOpen(HWND owner, std::wstring_view filter) { return Choose(owner, filter, false); }
std::optional<std::wstring> ShowSave(HWND owner, std::wstring_view filter) { return Choose(owner, filter, true); }
void SetFileChooser(FileChooser chooser) { ReplacedChooser() = std::move(chooser); }
void SetDialogFileName(std::wstring_view name) { PendingFileName() = name; }
void SetDialogTitle(std::wstring_view title) { PendingTitle() = title; }
std::wstring DialogFileName() { return PendingFileName(); }
std::wstring DialogTitle() { return PendingTitle(); }

} // namespace forms
