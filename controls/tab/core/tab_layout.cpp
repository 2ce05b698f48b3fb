#include "tab_layout.h"

#include <algorithm>

#include "basic_arith.h"
#include "tab_colours.h"

namespace lumio::tab {

namespace {

// Bottom-aligned on the strip; the close box 3 pixels in from the right and
// 6 down from the top.
void PlaceVertically(TabPlace& p, bool active, int32_t activeHeight, int32_t inActiveHeight, int32_t strip) {
    int32_t own = active ? activeHeight : inActiveHeight;
    p.tab.top = CheckedSub(strip, own);
    p.tab.bottom = CheckedAdd(p.tab.top, own);
    p.box = {CheckedSub(p.tab.right, 13), CheckedAdd(p.tab.top, 6), CheckedSub(p.tab.right, 3),
             CheckedAdd(p.tab.top, 16)};
}

}  // namespace

int32_t StripHeight(int32_t activeHeight, int32_t inActiveHeight) { return std::max(activeHeight, inActiveHeight); }

std::vector<TabPlace> TabbedDialogLayout(int32_t scaleWidth, int32_t tabCount, int32_t activeTab,
                                         int32_t activeHeight, int32_t inActiveHeight) {
    std::vector<TabPlace> places(static_cast<size_t>(std::max(tabCount, 0)));
    if (places.empty()) return places;
    int32_t cell = RoundToLong(static_cast<double>(scaleWidth) / tabCount);
    int32_t strip = StripHeight(activeHeight, inActiveHeight);
    for (int32_t i = 0; i < tabCount; ++i) {
        TabPlace& p = places[i];
        p.tab.left = CheckedMul(cell, i);
        p.tab.right = i == tabCount - 1 ? CheckedSub(scaleWidth, 1) : CheckedAdd(p.tab.left, cell);
        PlaceVertically(p, i == activeTab, activeHeight, inActiveHeight, strip);
    }
    return places;
}

std::wstring MeasuredCaption(const std::wstring& caption) {
    std::wstring text;
    for (size_t i = 0; i < caption.size(); ++i) {
        text += caption[i];
        if (caption[i] == L'&' && i + 1 < caption.size() && caption[i + 1] == L'&') ++i;
    }
    if (text.find(L'&') != std::wstring::npos) text.pop_back();
    return text;
}

int32_t PropertyPageWidth(float textWidth, bool hasPicture, int32_t pictureSize) {
    float w = textWidth + 14;
    if (hasPicture) w = w + static_cast<float>(pictureSize) + 1;
    return RoundToLong(w);
}

std::vector<TabPlace> PropertyPagesLayout(const std::vector<int32_t>& widths, int32_t activeTab, bool useControlBox,
                                          int32_t activeHeight, int32_t inActiveHeight) {
    std::vector<TabPlace> places(widths.size());
    int32_t strip = StripHeight(activeHeight, inActiveHeight);
    for (size_t n = 0; n < widths.size(); ++n) {
        int32_t i = static_cast<int32_t>(n);
        TabPlace& p = places[n];
        if (i == 0) {
            p.tab.left = activeTab == 0 ? 0 : 2;
            p.tab.right = activeTab == 0 ? widths[0] : CheckedAdd(widths[0], 1);
        } else {
            int32_t previous = places[n - 1].tab.right;
            bool joined = i == activeTab || i == activeTab + 1;
            p.tab.left = joined ? previous : CheckedAdd(previous, 1);
            p.tab.right = CheckedAdd(p.tab.left, widths[n]);
        }
        if (useControlBox) p.tab.right = CheckedAdd(p.tab.right, i == activeTab ? 21 : 15);
        PlaceVertically(p, i == activeTab, activeHeight, inActiveHeight, strip);
    }
    return places;
}

PicturePlace TabbedPictureSize(const FillRect& tab, int32_t pictureSize) {
    int32_t textTop = CheckedAdd(tab.top, 3);
    int32_t room = CheckedAdd(CheckedSub(tab.bottom, textTop), 1);
    int32_t size = std::min(pictureSize, room);
    int32_t y = CheckedAdd(textTop, RoundToLong((static_cast<double>(tab.bottom) - textTop - size) / 2));
    return {0, y, size};
}

PicturePlace TabbedEdgePicture(const FillRect& tab, int32_t pictureSize, int32_t align, bool active) {
    PicturePlace p = TabbedPictureSize(tab, pictureSize);
    p.x = align == 0 ? CheckedAdd(tab.left, 3) : CheckedSub(CheckedSub(tab.right, 2), p.size);
    if (active) {
        p.x = align == 0 ? CheckedAdd(p.x, 1) : CheckedSub(p.x, 1);
        p.y = std::max(CheckedSub(p.y, 1), CheckedAdd(tab.top, 3));
    }
    return p;
}

PicturePlace TabbedCaptionPicture(const FillRect& tab, int32_t pictureSize, int32_t align, const FillRect& caption) {
    PicturePlace p = TabbedPictureSize(tab, pictureSize);
    if (align == 2) {
        p.x = std::max(CheckedSub(CheckedSub(caption.left, p.size), 1), CheckedAdd(tab.left, 3));
    } else {
        p.x = CheckedAdd(caption.right, 1);
        int32_t limit = CheckedSub(tab.right, 2);
        if (CheckedAdd(p.x, p.size) > limit) p.x = CheckedSub(limit, p.size);
    }
    return p;
}

FillRect CentredCaptionBox(const FillRect& m, int32_t tabRight, int32_t tabBottom) {
    double width = static_cast<double>(m.right) - m.left + 2;
    double height = static_cast<double>(m.bottom) - m.top + 1;
    int32_t left = RoundToLong(m.left - 1.0 + tabRight / 2.0 - m.right / 2.0);
    int32_t top = RoundToLong(tabBottom / 2.0 + m.top - m.bottom / 2.0);
    return {left, top, RoundToLong(left + width), RoundToLong(top + height)};
}

int32_t PropertyPagePictureSize(int32_t pictureSize, int32_t stripHeight) {
    return std::min(pictureSize, CheckedSub(stripHeight, 2));
}

int32_t PropertyPagePictureTop(const FillRect& box, int32_t pictureSize) {
    return CheckedAdd(box.top, RoundToLong((static_cast<double>(box.bottom) - box.top - pictureSize) / 2));
}

GlassParts GlassFill(const FillRect& t) {
    int32_t middle = CheckedAdd(t.top, IntDiv(CheckedSub(t.bottom, t.top), 2));
    int32_t split = CheckedAdd(middle, 1);
    return {{t.left, CheckedAdd(t.top, 1), t.right, split}, {t.left, split, t.right, t.bottom}};
}

BoxColours ControlBoxColours(int32_t state, int32_t startRgb, int32_t endRgb) {
    switch (state) {
    case 1: return {startRgb, OffsetColor(endRgb, -21)};
    case 2: return {OffsetColor(endRgb, -48), OffsetColor(endRgb, -48)};
    default: return {startRgb, endRgb};
    }
}

int32_t ControlBoxCross(int32_t outerBorderRgb) { return OffsetColor(outerBorderRgb, -192); }

}  // namespace lumio::tab
