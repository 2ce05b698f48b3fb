#include "tab_input.h"

namespace lumio::tab {

namespace {

constexpr int32_t kPageUp = 33, kPageDown = 34, kLeft = 37, kRight = 39;

bool Enabled(const std::vector<TabRecord>& tabs, int32_t i) {
    return i >= 0 && i < static_cast<int32_t>(tabs.size()) && tabs[i].enabled;
}

}  // namespace

int32_t KeyTarget(int32_t keyCode, bool ctrl, int32_t activeTab, const std::vector<TabRecord>& tabs) {
    int32_t count = static_cast<int32_t>(tabs.size());
    int32_t target = kNoTab;
    if (keyCode == kRight || (keyCode == kPageDown && ctrl)) {
        target = activeTab < count - 1 ? activeTab + 1 : 0;
    } else if (keyCode == kLeft || (keyCode == kPageUp && ctrl)) {
        if (count > 1) target = activeTab < 1 ? count - 1 : activeTab - 1;
    }
    return Enabled(tabs, target) ? target : kNoTab;
}

int32_t AccessKeyTarget(int32_t keyAscii, int32_t activeTab, const std::vector<TabRecord>& tabs) {
    if (keyAscii >= 'a' && keyAscii <= 'z') keyAscii -= 32;
    for (int32_t i = 0; i < static_cast<int32_t>(tabs.size()); ++i)
        if (tabs[i].accessKey == keyAscii && i != activeTab && tabs[i].enabled) return i;
    return kNoTab;
}

int16_t WheelDelta(uint64_t wParam) { return static_cast<int16_t>(static_cast<uint16_t>(wParam >> 16)); }

int32_t WheelTarget(int16_t delta, int32_t activeTab) {
    if (delta < 0) return activeTab + 1;
    return activeTab > 0 ? activeTab - 1 : kNoTab;
}

int32_t PressedTab(int32_t x, int32_t y, int32_t stripHeight, const std::vector<TabRecord>& tabs) {
    if (y > stripHeight) return kNoTab;
    for (int32_t i = 0; i < static_cast<int32_t>(tabs.size()); ++i) {
        const FillRect& r = tabs[i].tabRect;
        if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom && tabs[i].enabled) return i;
    }
    return kNoTab;
}

int32_t HoveredTab(int32_t x, int32_t y, int32_t stripHeight, const std::vector<TabRecord>& tabs) {
    if (y > stripHeight) return kNoTab;
    for (int32_t i = 0; i < static_cast<int32_t>(tabs.size()); ++i) {
        const FillRect& r = tabs[i].tabRect;
        if (r.left <= x && x <= r.right && tabs[i].enabled) return i;
    }
    return kNoTab;
}

bool InRect(const FillRect& r, int32_t x, int32_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

int32_t BoxAt(int32_t x, int32_t y, const std::vector<TabRecord>& tabs) {
    for (int32_t i = 0; i < static_cast<int32_t>(tabs.size()); ++i)
        if (InRect(tabs[i].boxRect, x, y)) return i;
    return kNoTab;
}

}  // namespace lumio::tab
