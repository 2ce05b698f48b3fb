#pragma once
// Which tab the user's input picks: arrow and page keys, access keys, the
// wheel, and the pointer over the strip and the close boxes.
#include <cstdint>
#include <vector>

#include "tab_model.h"

namespace lumio::tab {

inline constexpr int32_t kNoTab = -1;

// Right or Ctrl+PageDown, Left or Ctrl+PageUp: the neighbouring tab with
// wrap-around, only when it is enabled (a disabled neighbour stops the move,
// it is not skipped). kNoTab for other keys or no move.
int32_t KeyTarget(int32_t keyCode, bool ctrl, int32_t activeTab, const std::vector<TabRecord>& tabs);

// The first enabled tab other than the shown one whose access key is the
// character (a to z read as A to Z).
int32_t AccessKeyTarget(int32_t keyAscii, int32_t activeTab, const std::vector<TabRecord>& tabs);

// The wheel's delta: the signed high word of the 32-bit wParam.
int16_t WheelDelta(uint64_t wParam);
// A step away from the user (negative delta) goes to the next tab (past the
// last, the switch's out-of-range rule shows tab 0); towards the user to the
// previous one, none on tab 0.
int32_t WheelTarget(int16_t delta, int32_t activeTab);

// A press on the strip: the first enabled tab whose rectangle holds the
// point, edges included; none below the strip.
int32_t PressedTab(int32_t x, int32_t y, int32_t stripHeight, const std::vector<TabRecord>& tabs);
// Hover: the first enabled tab spanning x, edges included; none below the strip.
int32_t HoveredTab(int32_t x, int32_t y, int32_t stripHeight, const std::vector<TabRecord>& tabs);
// The first tab whose close box holds the point, right and bottom edges excluded.
int32_t BoxAt(int32_t x, int32_t y, const std::vector<TabRecord>& tabs);
// Whether the rectangle holds the point, right and bottom edges excluded.
bool InRect(const FillRect& r, int32_t x, int32_t y);

}  // namespace lumio::tab
