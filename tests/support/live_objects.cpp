#include "live_objects.h"

#include "wait_for.h"

#include <windows.h>

#include <winternl.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace lumio::test {

namespace {

// The process's GDI handle table, as its environment block points to it: 0x10000
// entries of 24 bytes, an entry live when its type byte is non-zero.
constexpr size_t kGdiTableEntries = 0x10000;
constexpr size_t kGdiEntrySize = 24;
constexpr size_t kGdiEntryTypeOffset = 14;
#ifdef _WIN64
constexpr size_t kPebGdiTableOffset = 0xF8;
#else
constexpr size_t kPebGdiTableOffset = 0x94;
#endif

const uint8_t *GdiHandleTable() {
    PROCESS_BASIC_INFORMATION info{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr) != 0 ||
        !info.PebBaseAddress)
        return nullptr;
    const uint8_t *table = nullptr;
    std::memcpy(&table, reinterpret_cast<const uint8_t *>(info.PebBaseAddress) + kPebGdiTableOffset, sizeof table);
    return table;
}

int CountGdiByType() {
    int n = 0;
    for (uintptr_t h = 1; h <= 0xFFFF; ++h)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0) ++n;
    return n;
}

struct WindowCount {
    DWORD pid = GetCurrentProcessId();
    int n = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM lp) {
    ++reinterpret_cast<WindowCount *>(lp)->n;
    return TRUE;
}

// A window of this process with all its descendants.
void CountTree(HWND w, WindowCount &count) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != count.pid) return;
    ++count.n;
    EnumChildWindows(w, CountChild, reinterpret_cast<LPARAM>(&count));
}

BOOL CALLBACK CountTopLevel(HWND w, LPARAM lp) {
    CountTree(w, *reinterpret_cast<WindowCount *>(lp));
    return TRUE;
}

bool IsIconHandle(HANDLE h) {
    ICONINFO info{};
    if (!GetIconInfo(static_cast<HICON>(h), &info)) return false;
    // The answer comes with copies of the icon's bitmaps, which are ours to delete.
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return true;
}

// Even handle values in the range where the window system numbers its USER objects.
template <class Test> int CountUserHandles(Test is) {
    int n = 0;
    for (uintptr_t h = 0x20; h <= 0xFFF0; h += 2)
        if (is(reinterpret_cast<HANDLE>(h))) ++n;
    return n;
}

} // namespace

std::ostream &operator<<(std::ostream &out, const LiveObjects &live) {
    return out << "{GDI " << live.Gdi << ", windows " << live.Windows << ", menus " << live.Menus << ", icons "
               << live.Icons << "}";
}

int LiveGdiObjects() {
    const uint8_t *table = GdiHandleTable();
    if (!table) return CountGdiByType();
    int n = 0;
    for (size_t i = 0; i < kGdiTableEntries; ++i)
        if (table[i * kGdiEntrySize + kGdiEntryTypeOffset] != 0) ++n;
    return n;
}

int LiveWindows() {
    WindowCount count;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
        CountTree(w, count);
    return count.n;
}

LiveObjects CountLiveObjects() {
    LiveObjects live;
    live.Windows = LiveWindows();
    live.Menus = CountUserHandles([](HANDLE h) { return IsMenu(static_cast<HMENU>(h)) != FALSE; });
    live.Icons = CountUserHandles(IsIconHandle);
    live.Gdi = LiveGdiObjects(); // last: the icon test makes and deletes bitmaps
    return live;
}

::testing::AssertionResult NoGrowth(const std::function<void()> &cycle, int rounds) {
    cycle();
    Settle();
    const LiveObjects before = CountLiveObjects();
    for (int i = 0; i < rounds; ++i) {
        cycle();
        Settle();
    }
    const LiveObjects after = CountLiveObjects();
    if (after.Gdi <= before.Gdi && after.Windows <= before.Windows && after.Menus <= before.Menus &&
        after.Icons <= before.Icons)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "live objects grew over " << rounds << " rounds: " << before << " before, "
                                         << after << " after";
}

size_t CommittedPrivateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char *at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        const char *next = static_cast<const char *>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return total;
}

} // namespace lumio::test
