#pragma once
// Counts of what this process holds in the window system, for checks that a
// control's life cycle leaks nothing. GetGuiResources answers 0 under Wine, so the
// counts come from the GDI handle table and from enumerating windows and handles.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <ostream>

namespace lumio::test {

struct LiveObjects {
    int Gdi = 0;     // DCs, bitmaps, brushes, pens, fonts, regions, palettes
    int Windows = 0; // top-level, message-only and child windows
    int Menus = 0;
    int Icons = 0;   // icons and cursors
    bool operator==(const LiveObjects &) const = default;
};
std::ostream &operator<<(std::ostream &out, const LiveObjects &live);

int LiveGdiObjects();
int LiveWindows();
LiveObjects CountLiveObjects();
// Committed private memory of the process, summed over its regions (the process
// memory counters answer 0 under Wine).
size_t CommittedPrivateBytes();

// Runs cycle once to warm up (caches, first-use allocations of the system), counts,
// runs it `rounds` more times and counts again: succeeds when nothing grew. The
// thread's messages are settled after each run, so deferred clean-up counts.
::testing::AssertionResult NoGrowth(const std::function<void()> &cycle, int rounds = 3);

} // namespace lumio::test
