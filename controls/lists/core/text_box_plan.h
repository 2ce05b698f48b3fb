#pragma once
// The text box's arithmetic: the edit window's style, where it and the
// design-time text go, which mouse moves count, and how much of a face name
// the font's face field holds.
#include <cstddef>
#include <cstdint>

namespace lumio::lists {

// Window and edit styles, as the system defines them.
inline constexpr uint32_t kWsChildTabStop = 0x40010000u;
inline constexpr uint32_t kWsHScroll = 0x00100000u;
inline constexpr uint32_t kWsVScroll = 0x00200000u;
inline constexpr uint32_t kEsMultiLine = 0x4u;
inline constexpr uint32_t kEsAutoVScroll = 0x40u;
inline constexpr uint32_t kEsAutoHScroll = 0x80u;

// ScrollBars values.
enum : int32_t { kScrollNone = 0, kScrollHorizontal = 1, kScrollVertical = 2, kScrollBoth = 3 };

// Scroll bars only for a multi-line box; a vertical-only one wraps its lines.
uint32_t EditStyle(bool multiLine, int32_t scrollBars);

struct BoxRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The design-time preview's text rectangle, inset by the border.
BoxRect DesignTextRect(int32_t width, int32_t height, int32_t border);

// The edit window's position and size: the border is also its inset.
struct EditPlace {
    int32_t x = 0, y = 0, width = 0, height = 0;
};
EditPlace EditPlacement(int32_t width, int32_t height, int32_t border);

// The last mouse position seen over the edit window; a move counts only when
// it lands somewhere else.
class MouseTrail {
public:
    void Reset() { x_ = -1, y_ = -1; }
    // True (and remembered) when (x, y) differs from the last position.
    bool Moved(int32_t x, int32_t y);

private:
    int32_t x_ = -1, y_ = -1;
};

// The face field holds 31 characters and its terminator: the number of
// UTF-16 units of name to keep, never splitting a surrogate pair.
inline constexpr std::size_t kFaceUnits = 31;
std::size_t FaceNameKeep(const char16_t* name, std::size_t length);

}  // namespace lumio::lists
