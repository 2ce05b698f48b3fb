// Runs lumio_gallery.exe as a user would from make demo, in its screenshot
// mode, and checks what it left: a PNG of its window and, on the form, a
// shown window for each of the ten visible controls in the looks it offers.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring Beside(const wchar_t* file) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1) + file;
}

// Wine waits two seconds per hidden captioned window without a window manager
// unless the program is set unmanaged before it starts.
void Unmanaged(const wchar_t* exe) {
    std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + exe + L"\\X11 Driver";
    HKEY k;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(k, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t));
    RegCloseKey(k);
}

// The exit code, or -1 when it did not end by the deadline (then it is ended).
int RunProgram(std::wstring command, DWORD deadline_ms) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -2;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, deadline_ms) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

uint32_t BigEndian(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

struct Shown {
    std::string cls, name;
    bool visible;
    long left, top, width, height;
};

TEST(Gallery, ScreenshotModeSavesTheFormWithEveryVisibleControl) {
    const std::wstring shot = Beside(L"gallery.png"), report = Beside(L"gallery.txt");
    DeleteFileW(shot.c_str());
    DeleteFileW(report.c_str());
    Unmanaged(L"lumio_gallery.exe");
    const int code = RunProgram(L"\"" + Beside(L"lumio_gallery.exe") + L"\" --shot \"" + shot + L"\" --report \"" + report +
                             L"\"",
                         240000);
    ASSERT_EQ(code, 0) << "2: never drawn, 3: no PNG, 4: no report, 5: a control failed, -1: hung";

    std::ifstream in{std::filesystem::path(report)};
    ASSERT_TRUE(in) << "no report";
    std::string word;
    long window_w = 0, window_h = 0;
    in >> word >> window_w >> window_h;
    ASSERT_EQ(word, "window");
    std::vector<Shown> shown;
    for (Shown s; in >> s.cls >> s.name >> s.visible >> s.left >> s.top >> s.width >> s.height;) shown.push_back(s);

    // How many shown windows of each class the gallery's looks need.
    const std::map<std::string, int> wanted = {
        {"LumioButton", 7},   // normal, default, disabled, picture + three dialog buttons
        {"LumioCheckBox", 3},  // unchecked, checked, grayed
        {"LumioOptionButton", 3}, {"LumioGroupBox", 2}, {"LumioTab", 2},  {"LumioListBox", 1},
        {"LumioScrollbar", 1},    {"LumioTextBox", 1},  {"LumioStatusBar", 1}, {"LumioProgressBar", 2},
    };
    std::map<std::string, int> seen;
    for (const Shown& s : shown)
        if (s.visible) ++seen[s.cls];
    for (const auto& [cls, n] : wanted) EXPECT_GE(seen[cls], n) << cls;
    // The frame's own control draws no window of its own at run time.
    for (const Shown& s : shown)
        if (s.cls == "LumioBasicForm") {
            EXPECT_FALSE(s.visible);
        }

    // The picture is the whole window, frame included.
    std::ifstream png(std::filesystem::path(shot), std::ios::binary);
    ASSERT_TRUE(png) << "no screenshot";
    std::vector<uint8_t> head(24);
    png.read(reinterpret_cast<char*>(head.data()), 24);
    ASSERT_EQ(png.gcount(), 24);
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature, signature + 8, head.begin()));
    EXPECT_EQ(std::string(head.begin() + 12, head.begin() + 16), "IHDR");
    EXPECT_EQ(BigEndian(&head[16]), static_cast<uint32_t>(window_w));
    EXPECT_EQ(BigEndian(&head[20]), static_cast<uint32_t>(window_h));
    // A skinned frame is wider than the client on every side.
    EXPECT_GT(window_w, 660);
    EXPECT_GT(window_h, 392);
}

}  // namespace
