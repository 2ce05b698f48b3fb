#include "png/win/file_replacement.h"

#include "win_handles.h"

namespace lumio {

namespace {

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
        DWORD done = 0;
        if (!WriteFile(file, bytes.data(), chunk, &done, nullptr) || done == 0)
            return false;
        bytes = bytes.subspan(done);
    }
    return true;
}

// The file a path finally names, through any symbolic link; the path itself when that
// cannot be told.
std::wstring FinalPath(const std::wstring &path) {
    OwnedFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return path;
    std::wstring final(32768, L'\0');
    const DWORD n = GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= final.size())
        return path;
    final.resize(n);
    if (final.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\\\" + final.substr(8);
    if (final.rfind(L"\\\\?\\", 0) == 0)
        return final.substr(4);
    return final;
}

// A new file beside target, open for writing (INVALID_HANDLE_VALUE when none can be made);
// its name in temp.
HANDLE CreateBeside(const std::wstring &target, std::wstring &temp) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L".tmp";
        HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Errors of a file system that cannot replace one file by another.
bool CannotReplace(DWORD error) {
    return error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_CALL_NOT_IMPLEMENTED;
}

}  // namespace

bool ReplaceFileWith(const std::wstring &path, std::span<const std::uint8_t> bytes) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return false;
    const std::wstring target = exists ? FinalPath(path) : path;
    if (exists && !OwnedFile(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)))
        return false; // held open by someone else

    std::wstring temp;
    OwnedFile file(CreateBeside(target, temp));
    if (!file) {
        // No file can be made in the folder; the target itself may still be writable.
        if (!exists)
            return false;
        OwnedFile in(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        bool ok = in && WriteAll(in.get(), bytes) && SetEndOfFile(in.get());
        return in.close() && ok;
    }
    bool ok = WriteAll(file.get(), bytes);
    ok = file.close() && ok;
    if (ok && exists && !ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                                      nullptr)) {
        ok = CannotReplace(GetLastError()) &&
             MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    } else if (ok && !exists) {
        ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        return false;
    }
    // Wine's ReplaceFileW keeps no attributes; on Windows this changes nothing.
    if (exists)
        SetFileAttributesW(target.c_str(), attributes);
    return true;
}

}  // namespace lumio
