#pragma once
// Where the check box and the option button put their 13 x 13 glyph and
// their caption, which cell of the skin strip they show, and the access key
// their captions give.
#include <cstdint>
#include <string>

#include "button_layout.h"

namespace lumio::buttons {

inline constexpr int32_t kGlyphSize = 13;
// Drawing states of the glyph controls.
enum GlyphState : int32_t { kGlyphNormal = 0, kGlyphHot = 1, kGlyphPressed = 2 };

// Rows of the strip where a value's four cells (normal, hot, pressed,
// disabled) start: 0 Unchecked, 52 Checked, 104 for Grayed and any other number.
int32_t CheckValueGroup(int32_t value);
int32_t OptionValueGroup(bool value);
// Source row of the cell drawn for a state: a normal state under the cursor
// shows hot; a disabled control shows its group's last cell whatever the state.
int32_t GlyphCellY(int32_t group, int32_t state, bool hover, bool enabled);

// A click, the space bar or an access key: Checked becomes Unchecked, every
// other value Checked.
int32_t NextCheckValue(int32_t value);

// The glyph's rectangle (pCalcGlyphRect); false, rect untouched, for an
// alignment other than left (0) and right (1).
bool pCalcGlyphRect(int32_t align, int32_t width, int32_t height, Box& rect);
// The caption's box before it is measured; false, rect untouched, as above.
bool CaptionFrame(int32_t align, int32_t width, int32_t height, Box& rect);
// After measuring (right and bottom are the text's extent): moved down by
// (height - bottom) \ 2.
void CentreCaption(Box& rect, int32_t height);

// The access key of a glyph control's caption, in lower case, or empty: only
// the first "&" and, when it is doubled, the next one are looked at.
std::wstring CaptionAccessKey(const std::wstring& caption);

}  // namespace lumio::buttons
