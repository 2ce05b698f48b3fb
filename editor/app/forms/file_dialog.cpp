#include "forms.h"

#include "file_filter.h"

#include <commdlg.h>

namespace forms {

namespace {

FileChooser &ReplacedChooser() {
    static FileChooser chooser;
    return chooser;
}

std::optional<std::wstring> CommonDialog(HWND owner, std::wstring_view filter, bool save) {
    // The dialog wants "description\0pattern\0...\0\0".
    std::wstring spec;
    for (const auto &[description, pattern] : ParseFileFilter(filter)) {
        spec.append(description).push_back(L'\0');
        spec.append(pattern).push_back(L'\0');
    }
    spec.push_back(L'\0');
    std::wstring path(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = spec.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return path;
}

std::optional<std::wstring> Choose(HWND owner, std::wstring_view filter, bool save) {
    if (ReplacedChooser()) return ReplacedChooser()(owner, filter, save);
    return CommonDialog(owner, filter, save);
}

} // namespace

std::optional<std::wstring> ShowOpen(HWND owner, std::wstring_view filter) { return Choose(owner, filter, false); }
std::optional<std::wstring> ShowSave(HWND owner, std::wstring_view filter) { return Choose(owner, filter, true); }
void SetFileChooser(FileChooser chooser) { ReplacedChooser() = std::move(chooser); }

} // namespace forms
