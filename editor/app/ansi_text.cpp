#include "ansi_text.h"

#include <windows.h>

std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::wstring FromUtf16(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string ToUtf16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

std::string AnsiPath(const std::wstring &path) {
    if (path.empty()) return {};
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (lossy) {
        std::wstring shortPath(32768, L'\0');
        DWORD got = GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
        if (got > 0 && got < shortPath.size()) {
            shortPath.resize(got);
            return ToAnsi(shortPath);
        }
    }
    return ToAnsi(path);
}
