#pragma once
// Where the two tab styles put their tabs, close boxes, pictures and
// captions, in the control's pixels. Rectangles are left, top, right,
// bottom; the painters draw lines up to (not including) their end points.
#include <cstdint>
#include <string>
#include <vector>

#include "tab_fill_rows.h"

namespace lumio::tab {

struct TabPlace {
    FillRect tab;
    FillRect box;  // the close box
};

// The strip's height: the taller of the two tab kinds.
int32_t StripHeight(int32_t activeHeight, int32_t inActiveHeight);

// Equal cells across the width (rounded half to even), the last one ending
// at width - 1; every tab bottom-aligned on the strip.
std::vector<TabPlace> TabbedDialogLayout(int32_t scaleWidth, int32_t tabCount, int32_t activeTab,
                                         int32_t activeHeight, int32_t inActiveHeight);

// The text a property-pages caption is measured by: "&&" read as "&", and
// when an "&" is left the last character dropped.
std::wstring MeasuredCaption(const std::wstring& caption);

// A property-pages tab's width from its caption's measured width.
int32_t PropertyPageWidth(float textWidth, bool hasPicture, int32_t pictureSize);

// Caption-sized tabs from the left edge; the active tab and the one after it
// join their left neighbour, the others keep a one-pixel gap. Close boxes
// widen the active tab by 21 and the others by 15.
std::vector<TabPlace> PropertyPagesLayout(const std::vector<int32_t>& widths, int32_t activeTab, bool useControlBox,
                                          int32_t activeHeight, int32_t inActiveHeight);

// The picture of a tabbed-dialog tab: its size fitted to the tab and the top
// that centres it below the text box's top.
struct PicturePlace {
    int32_t x, y, size;
};
PicturePlace TabbedPictureSize(const FillRect& tab, int32_t pictureSize);
// Edge-aligned pictures (align 0 left, 1 right); the active tab's sits one
// pixel in and up, never above the text box.
PicturePlace TabbedEdgePicture(const FillRect& tab, int32_t pictureSize, int32_t align, bool active);
// Caption-aligned pictures (align 2 left of, 3 right of the caption box).
PicturePlace TabbedCaptionPicture(const FillRect& tab, int32_t pictureSize, int32_t align, const FillRect& caption);

// A tabbed-dialog caption box: measured is the text box after measuring (its
// left and top kept, right and bottom the text's); the result is two pixels
// wider and one taller than the text, about the middle of the tab.
FillRect CentredCaptionBox(const FillRect& measured, int32_t tabRight, int32_t tabBottom);

// The picture of a property-pages tab, centred vertically in the text box.
int32_t PropertyPagePictureSize(int32_t pictureSize, int32_t stripHeight);
int32_t PropertyPagePictureTop(const FillRect& textBox, int32_t pictureSize);

// The inactive tabs' two-part glass fill: upper rows T + 1 to M + 1, lower
// rows M + 1 to B, with M halfway down.
struct GlassParts {
    FillRect upper, lower;
};
GlassParts GlassFill(const FillRect& tab);

// A close box's fill colours (RGB) by state: 0 normal, 1 hot, 2 pressed or
// disabled.
struct BoxColours {
    int32_t start, end;
};
BoxColours ControlBoxColours(int32_t state, int32_t startRgb, int32_t endRgb);
// The cross, darker than the outline by 192 per channel.
int32_t ControlBoxCross(int32_t outerBorderRgb);

}  // namespace lumio::tab
