// Wine waits up to two seconds for a window manager whenever a captioned window
// is hidden or destroyed, and the tests' X server has none. Wine's X11 driver
// reads per-program settings once, before the program's own code runs; so when
// this program is not yet set to keep its windows away from a window manager,
// set it and run the program again in a child process.
#include <windows.h>

#include <string>

namespace {

struct Unmanaged {
    Unmanaged() {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring exe(path);
        exe = exe.substr(exe.find_last_of(L"\\/") + 1);
        std::wstring key = L"Software\\Wine\\AppDefaults\\" + exe + L"\\X11 Driver";
        wchar_t value[8] = {};
        DWORD size = sizeof value;
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"Managed", RRF_RT_REG_SZ, nullptr, value, &size) ==
                ERROR_SUCCESS &&
            value[0] == L'N')
            return;
        HKEY k;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
            ERROR_SUCCESS)
            return;
        RegSetValueExW(k, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE *>(L"N"), 2 * sizeof(wchar_t));
        RegCloseKey(k);
        if (GetEnvironmentVariableW(L"QVN_TEST_RELAUNCHED", nullptr, 0) > 0) return;
        SetEnvironmentVariableW(L"QVN_TEST_RELAUNCHED", L"1");
        std::wstring cmd = GetCommandLineW();
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return;
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        ExitProcess(code);
    }
} unmanaged;

} // namespace
