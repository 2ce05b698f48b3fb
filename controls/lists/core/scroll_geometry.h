#pragma once
// Where the parts of a skinned scroll bar lie and how the thumb maps to a value.
// No window calls: the control and the tests share it.
#include <cstdint>

namespace lumio::lists {

struct PartRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    // The right and bottom edges lie outside.
    bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const PartRect&) const = default;
};

// Hit-test codes, in the order they are tested.
enum ScrollPart : int { kPartNone = 0, kPartTLButton = 1, kPartBRButton = 2, kPartTLTrack = 3, kPartBRTrack = 4, kPartThumb = 5 };

constexpr int32_t kScrollButtonLength = 18;
constexpr int32_t kMinThumbSize = 8;

struct ScrollLayout {
    PartRect tlButton, brButton, tlTrack, brTrack, thumb, dragZone;
    bool trackShown = false;
    int32_t trackStart = 0;
    int32_t trackLength = 0;
};

// Buttons, track presence and drag zone of a bar of width x height pixels;
// the track segments and the thumb stay empty until PlaceThumb.
ScrollLayout LayoutParts(int32_t width, int32_t height, bool horizontal, bool showButtons);

// Thumb length along the track; 8 at least, and 8 when the range cannot be
// divided (a LargeChange of 0 or a range of -1 step read from a bag).
int32_t ThumbSize(int32_t trackLength, int64_t range, int32_t largeChange);

// Thumb start for a value; the track start when the range is 0 or the result
// does not fit.
int32_t ThumbPosFromValue(const ScrollLayout& layout, int32_t thumbSize, int64_t range, int32_t min, int32_t value);

// Value for a thumb start while dragging; `fallback` when the thumb fills the
// track (the mapping has no answer then). Saturates at the 32-bit limits.
int32_t ValueFromThumbPos(const ScrollLayout& layout, int32_t thumbSize, int64_t range, int32_t min, int32_t pos,
                          int32_t fallback);

// Track segments and thumb around a thumb start (only when the track shows).
void PlaceThumb(ScrollLayout& layout, bool horizontal, int32_t thumbPos, int32_t thumbSize, int32_t thickness);

int HitTest(const ScrollLayout& layout, int32_t x, int32_t y);

}  // namespace lumio::lists
