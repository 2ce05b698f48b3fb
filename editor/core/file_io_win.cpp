#include "file_io.h"

#include <windows.h>

#include <memory>
#include <string>

namespace {

std::wstring Widen(const std::string &ansi) {
    if (ansi.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return wide;
}

struct HandleCloser {
    using pointer = HANDLE;
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

bool WriteAll(HANDLE h, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
        DWORD done = 0;
        if (!WriteFile(h, bytes.data(), chunk, &done, nullptr) || done == 0) return false;
        bytes.remove_prefix(done);
    }
    return true;
}

} // namespace

FileReadStatus ReadFileBytes(const std::string &path, std::string &out) {
    out.clear();
    std::wstring wpath = Widen(path);
    if (wpath.empty()) return FileReadStatus::Missing;
    UniqueHandle h(CreateFileW(wpath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (h.get() == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        return (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND || err == ERROR_INVALID_NAME)
                   ? FileReadStatus::Missing
                   : FileReadStatus::Failed;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(h.get(), &size) && size.QuadPart > 0) out.reserve(static_cast<size_t>(size.QuadPart));
    char buf[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(h.get(), buf, sizeof buf, &got, nullptr)) {
            out.clear();
            return FileReadStatus::Failed;
        }
        if (got == 0) break;
        out.append(buf, got);
    }
    return FileReadStatus::Ok;
}

bool ReplaceFileBytes(const std::string &path, std::string_view bytes) {
    std::wstring target = Widen(path);
    if (target.empty()) return false;
    DWORD attrs = GetFileAttributesW(target.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        return false;
    }
    // The new file takes the place of the old one, so it takes its visible attributes too.
    DWORD keep = attrs == INVALID_FILE_ATTRIBUTES
                     ? FILE_ATTRIBUTE_NORMAL
                     : attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    if (keep == 0) keep = FILE_ATTRIBUTE_NORMAL;

    static unsigned counter = 0;
    std::wstring tmp;
    UniqueHandle h(INVALID_HANDLE_VALUE);
    for (int attempt = 0; attempt < 100 && h.get() == INVALID_HANDLE_VALUE; ++attempt) {
        tmp = target + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L".tmp";
        h.reset(CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, keep, nullptr));
        if (h.get() == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    if (h.get() == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(h.get(), bytes);
    ok = CloseHandle(h.release()) && ok;
    if (!ok || !MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(tmp.c_str());
        return false;
    }
    return true;
}
