#pragma once
// The custom frame's geometry and decision tables, apart from any window:
// border and title metrics, the places of the title strip, menu strip,
// client area and caption buttons, hit testing, the system-command gate and
// the style arithmetic. Everything is in window coordinates (origin at the
// window's top-left corner), so that a move of the window, however it is
// made, leaves it valid; callers convert screen points first.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumio {

struct FrameBox {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    void Offset(int32_t dx, int32_t dy) { left += dx, right += dx, top += dy, bottom += dy; }
    bool operator==(const FrameBox&) const = default;
};

// Enable bits of the frame (a bit present in the disabled set turns the feature off).
inline constexpr int32_t kFrameClose = 2, kFrameMinimize = 4, kFrameMaximize = 8, kFrameSize = 16, kFrameMove = 32,
                         kFrameIcon = 64;
inline constexpr int32_t kFrameMeasuring = 0x400;  // buttons are not laid out meanwhile
// The frame's own hit codes beside the standard ones.
inline constexpr int32_t kHitMenuItem = 30;
inline constexpr int32_t kHitUserBase = 30;  // user button i answers 30 + i (i >= 4)

// Caption flags.
inline constexpr int16_t kCaptionVertical = 1, kCaptionCentered = 2;

// Window styles the arithmetic needs (values of the platform).
inline constexpr uint32_t kWsMaximize = 0x01000000, kWsMinimize = 0x20000000, kWsCaption = 0x00C00000,
                          kWsBorder = 0x00800000, kWsDlgFrame = 0x00400000, kWsThickFrame = 0x00040000,
                          kWsSysMenu = 0x00080000, kWsMinimizeBox = 0x00020000, kWsMaximizeBox = 0x00010000,
                          kWsVisible = 0x10000000;
inline constexpr uint32_t kWsExToolWindow = 0x80, kWsExAppWindow = 0x40000;

// System metrics the frame reads, injected so that the arithmetic runs anywhere.
struct FrameSystemMetrics {
    int32_t cxDlgFrame = 3;
    int32_t cyCaption = 19;
    int32_t cySmCaption = 15;
    int32_t cySmIcon = 16;
    int32_t cxMinTrack = 112;
    int32_t cyMinTrack = 27;
};

struct FrameButton {
    FrameBox rect;      // place in window coordinates; meaningful only when shown
    bool shown = false;  // has a region
    bool standard = false;
    int16_t state = 0;  // 0 normal, 1 hot, 2 pressed, 3 disabled
    int16_t positionType = 0;
    int32_t X = 0, Y = 0, Width = 0, Height = 0;  // stored, never used for placement
    std::string ID;                               // at most 10 characters
};

inline constexpr size_t kUserButtonIdLength = 10;

// Hit code of the standard entries 0 to 3 and their enable bits.
int32_t StandardButtonBit(int index);
int32_t StandardButtonHit(int index);

// From a hit code (bFromHit) or an enable bit to a button table index.
int ButtonIndexOf(int32_t code, bool bFromHit);

// The gate every system command passes. blocked: the frame does not run it;
// post: allowed and to be posted when the caller asked to post; postClose:
// WM_CLOSE is posted whatever the caller asked (the close command itself is
// always blocked).
struct SysCommandDecision {
    bool blocked = false;
    bool post = false;
    bool postClose = false;
};
SysCommandDecision CheckSysCommand(uint32_t command, int32_t disabledBits, bool iconic);

// The style the frame keeps on the window so that the system answers its
// queries as for a captioned, sizable window: for GWL_STYLE (-16) the frame
// bits are added, or for a zoomed window all of them but the thick frame.
uint32_t AdjustFrameStyle(int32_t index, uint32_t style, bool bZoomed);
// Adds each bit set (bRemove false) or removes it (bRemove true: only when all
// of its bits are present).
uint32_t ApplyStyleBits(uint32_t style, bool bRemove, const std::vector<uint32_t>& bits);

// Border width of a border style 1 to 5; 0 for any other style.
int32_t BorderWidthOfStyle(int32_t style, int32_t cxDlgFrame);

// System-menu item pairs kept in step with the enable bits.
struct SystemMenuPair {
    uint32_t command;
    uint32_t substitute;
    int32_t bit;
};
inline constexpr SystemMenuPair kSystemMenuPairs[] = {
    {0xF060, 1964, kFrameClose}, {0xF030, 1967, kFrameMaximize}, {0xF020, 1965, kFrameMinimize},
    {0xF010, 1962, kFrameMove},  {0xF000, 1963, kFrameSize},
};
// The id an item of pair k (0-based) carries while attached: the substitute
// (greyed) when its feature is disabled; Minimize, Move and Size keep their
// command while the window is iconic.
uint32_t SystemMenuItemId(int k, int32_t disabledBits, bool iconic);

// Sizing step of one edge pair: the new rectangle after the cursor moved by
// (dx, dy) while the edge of hit code 10 to 17 is held. An axis whose new
// length would fall below its minimum keeps its old edges; acceptedX/Y tell
// which axis took the move.
struct SizeStepResult {
    FrameBox rect;
    bool acceptedX = false, acceptedY = false;
};
SizeStepResult SizeStep(const FrameBox& window, int32_t hit, int32_t dx, int32_t dy, int32_t minWidth,
                        int32_t minHeight);

class FrameGeometry {
public:
    FrameGeometry();

    // Settings.
    uint8_t sizingHandle = 0;  // 0 = automatic
    int32_t borderLeft = 0, borderTop = 0, borderRight = 0, borderBottom = 0;
    int16_t borderStyle = 0;
    int16_t captionFlags = 0;
    bool hideDisabled = false;
    int32_t disabledBits = 0;
    int16_t titleThickness = 0;
    int32_t buttonWidth = 0, buttonHeight = 0;

    // Results of ComputeFrameRegions and LayoutTitleButtons.
    int32_t windowWidth = 0, windowHeight = 0;
    FrameBox title;  // empty without a title strip
    bool hasTitle = false;
    FrameBox client;
    FrameBox menuStrip;  // empty without a menu
    int16_t buttonSpace = 0, iconSpace = 0;

    // Entries 0 icon, 1 close, 2 maximise/restore, 3 minimise, 4 and up user buttons.
    std::vector<FrameButton> buttons;

    bool Vertical() const { return (captionFlags & kCaptionVertical) != 0; }
    bool IsButtonEnabled(int32_t bit) const { return bit < 65 && (disabledBits & bit) == 0; }

    // A border style 1 to 5 other than the current one: widths from the
    // table; false (nothing changed) otherwise.
    bool SetBorderStyle(int32_t newStyle, int32_t cxDlgFrame);

    // The metrics of attach time from the window's style (steps that need no window).
    void InitFrameMetrics(uint32_t style, uint32_t exStyle, const FrameSystemMetrics& sm);
    // After every change of the title font while attached.
    void ResetTitleMetrics();

    // Lays out the strips for a window of width x height. layoutMenu gets the
    // menu strip's start and width and answers its height (0 without a menu).
    using MenuLayoutFn = std::function<int32_t(int32_t x, int32_t y, int32_t width)>;
    void ComputeFrameRegions(int32_t width, int32_t height, const MenuLayoutFn& layoutMenu);
    void LayoutTitleButtons();

    // Hit code of the point (x, y). menuItemAt answers the 1-based item under
    // a point in menu-strip coordinates (0 for none); hotMenuItem receives it.
    int32_t NcHitTest(int32_t x, int32_t y, bool zoomed, const std::function<int32_t(int32_t, int32_t)>& menuItemAt,
                      int32_t& hotMenuItem) const;

    // Appends or inserts a user button; false for an empty ID.
    bool AddUserButton(const std::string& ID, int32_t Position, int32_t PositionType, int32_t X, int32_t Y,
                       int32_t Width, int32_t Height);
    // Entries 0 to 3 cleared; user buttons kept.
    void ResetStandardButtons();

    // The inside of the border in window coordinates.
    FrameBox InsideBorder() const {
        return {borderLeft, borderTop, windowWidth - borderRight, windowHeight - borderBottom};
    }
};

}  // namespace lumio
