#pragma once
// The menu bar's arithmetic apart from any window: rows of item cells,
// access keys, and the next item for the arrow keys.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame_geometry.h"

namespace lumio {

// Position of the system menu among the item indexes.
inline constexpr int32_t kSystemMenuFromItem = -99;  // asked for from an item (Left/Right, Space)
inline constexpr int32_t kSystemMenuTracked = -100;  // tracked by the bar itself

// Lays out cells for items whose texts measure (width, height) each. Each
// cell starts where the previous one ends and is 12 wider and 6 taller than
// its text; a cell reaching the available width starts a new row below the
// previous cell (unless it is first in its row). Returns the strip height:
// the bottom of the last cell (0 without items).
int32_t LayoutMenuCells(const std::vector<std::pair<int32_t, int32_t>>& textSizes, int32_t availableWidth,
                        std::vector<FrameBox>& cells);

// 1-based index of the first cell holding the point; 0 for none.
int32_t MenuCellFromPoint(const std::vector<FrameBox>& cells, int32_t x, int32_t y);

// The access key of a menu text: the lower-cased character after the first
// "&" that is not a doubled "&&"; 0 when there is none.
char MenuAccessKey(const std::string& text);

// One character per item: its access key, or 0 for none or a disabled item.
std::string BuildMnemonics(const std::vector<std::string>& texts, const std::vector<bool>& disabled);

// The item of access key ch: the first match after 'after' (wrapping), or
// the first match when 'after' is -1 or no other item shares it; -1 when none.
int32_t FindMnemonic(const std::string& mnemonics, char ch, int32_t after);

// The item the Left or Right key moves to from hot (-2 or less: no hot item;
// then the one-shot flag is set). Stepping off either end answers the system
// menu when bWrapToSystem, else wraps. -1 without items.
int32_t NextMenuIndex(int32_t hot, int32_t count, bool bLeft, bool bWrapToSystem, bool& oneShot);

// ASCII lower case; other bytes unchanged.
char LowerAscii(char c);

}  // namespace lumio
