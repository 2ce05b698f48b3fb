#include "file_io.h"

#include <windows.h>

#include <memory>
#include <string>

namespace {

thread_local int g_lastError = 0;

bool Fail(DWORD code) {
    g_lastError = static_cast<int>(code);
    return false;
}

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
        g_lastError = static_cast<int>(err);
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
            g_lastError = static_cast<int>(GetLastError());
            out.clear();
            return FileReadStatus::Failed;
        }
        if (got == 0) break;
        out.append(buf, got);
    }
    return FileReadStatus::Ok;
}

namespace {

// The file a path finally names, through any symbolic link; the path itself when it names
// no file yet or cannot be resolved.
std::wstring FinalPath(const std::wstring &path) {
    UniqueHandle h(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (h.get() == INVALID_HANDLE_VALUE) return path;
    std::wstring final(32768, L'\0');
    DWORD n = GetFinalPathNameByHandleW(h.get(), final.data(), static_cast<DWORD>(final.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= final.size()) return path;
    final.resize(n);
    if (final.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + final.substr(8);
    if (final.rfind(L"\\\\?\\", 0) == 0) return final.substr(4);
    return final;
}

} // namespace

bool ReplaceFileBytes(const std::string &path, std::string_view bytes) {
    std::wstring given = Widen(path);
    if (given.empty()) return Fail(ERROR_PATH_NOT_FOUND);
    DWORD attrs = GetFileAttributesW(given.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) return Fail(ERROR_ACCESS_DENIED);
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) return Fail(ERROR_ACCESS_DENIED);
    // Through a symbolic link: replace the file it points to, not the link.
    const std::wstring target = attrs == INVALID_FILE_ATTRIBUTES ? given : FinalPath(given);
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
        if (h.get() == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return Fail(GetLastError());
    }
    if (h.get() == INVALID_HANDLE_VALUE) return Fail(ERROR_FILE_EXISTS);
    bool ok = WriteAll(h.get(), bytes);
    DWORD err = ok ? 0 : GetLastError();
    if (!CloseHandle(h.release()) && ok) {
        ok = false;
        err = GetLastError();
    }
    if (ok) {
        // ReplaceFileW keeps the replaced file's attributes and security; a new file is moved.
        if (attrs == INVALID_FILE_ATTRIBUTES ||
            !ReplaceFileW(target.c_str(), tmp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            DWORD replaceError = GetLastError();
            // Where the replacement is refused outright (a file system without it), a rename does.
            bool tryMove = attrs == INVALID_FILE_ATTRIBUTES || replaceError == ERROR_UNABLE_TO_REMOVE_REPLACED ||
                           replaceError == ERROR_INVALID_FUNCTION || replaceError == ERROR_NOT_SUPPORTED ||
                           replaceError == ERROR_CALL_NOT_IMPLEMENTED;
            if (!tryMove || !MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                ok = false;
                err = tryMove ? GetLastError() : replaceError;
            }
        }
    }
    if (!ok) {
        DeleteFileW(tmp.c_str());
        return Fail(err ? err : ERROR_WRITE_FAULT);
    }
    return true;
}

int LastFileError() { return g_lastError; }

std::u16string FileErrorText(int code) {
    wchar_t *text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::u16string out;
    if (n > 0 && text) out.assign(text, text + n);
    if (text) LocalFree(text);
    while (!out.empty() && (out.back() == u'\r' || out.back() == u'\n' || out.back() == u' ')) out.pop_back();
    if (out.empty()) {
        for (char c : "error " + std::to_string(code)) out.push_back(static_cast<char16_t>(c));
    }
    return out;
}
