#include <string>

#include "imaging/mod_parsers_win.h"

namespace lumio {

namespace {
std::string ToAnsi(const std::wstring &w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}
} // namespace

bool SystemPrefersWideApi() { return IsWindowUnicode(GetDesktopWindow()) != 0; }

HANDLE OpenFileUnicode(const std::wstring &fileName, bool forReading, bool useWideApi) {
    const bool wide = useWideApi || SystemPrefersWideApi();
    const std::string ansi = wide ? std::string() : ToAnsi(fileName);
    DWORD access, share, disposition, flags;
    if (forReading) {
        access = GENERIC_READ;
        share = FILE_SHARE_READ;
        disposition = OPEN_EXISTING;
        // Read-only, hidden, system, archive and normal: whatever the file has.
        flags = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                FILE_ATTRIBUTE_NORMAL;
    } else {
        access = GENERIC_READ | GENERIC_WRITE;
        share = 0;
        disposition = CREATE_ALWAYS;
        flags = wide ? GetFileAttributesW(fileName.c_str()) : GetFileAttributesA(ansi.c_str());
        if (flags == INVALID_FILE_ATTRIBUTES) flags = FILE_ATTRIBUTE_NORMAL;
    }
    return wide ? CreateFileW(fileName.c_str(), access, share, nullptr, disposition, flags, nullptr)
                : CreateFileA(ansi.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

bool DeleteFileUnicode(const std::wstring &fileName, bool useWideApi) {
    if (useWideApi || SystemPrefersWideApi()) {
        return SetFileAttributesW(fileName.c_str(), FILE_ATTRIBUTE_NORMAL) && DeleteFileW(fileName.c_str());
    }
    const std::string ansi = ToAnsi(fileName);
    return SetFileAttributesA(ansi.c_str(), FILE_ATTRIBUTE_NORMAL) && DeleteFileA(ansi.c_str());
}

} // namespace lumio
