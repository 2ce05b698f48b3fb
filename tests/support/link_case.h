// A file reached through a symbolic link, made by a test's set-up outside Wine
// (make_link.cmake beside this file) in a folder an environment variable names.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

namespace linkcase {

// The set-up's folder as Wine sees it, or empty when the set-up made none.
inline std::wstring Folder(const char* variable) {
    const char* folder = std::getenv(variable);
    if (!folder) return {};
    std::wstring dir = L"Z:";
    for (const char* c = folder; *c; ++c) dir += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return dir;
}

// The final path of a file, through any link.
inline std::wstring FinalPath(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    wchar_t buf[1024] = {};
    GetFinalPathNameByHandleW(h, buf, 1024, 0);
    CloseHandle(h);
    return buf;
}

}  // namespace linkcase
