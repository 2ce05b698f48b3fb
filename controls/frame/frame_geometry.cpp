#include "frame_geometry.h"

#include <algorithm>

namespace lumio {
namespace {

constexpr uint32_t kScSize = 0xF000, kScMove = 0xF010, kScMinimize = 0xF020, kScMaximize = 0xF030,
                   kScClose = 0xF060, kScRestore = 0xF120;
constexpr uint32_t kFrameStyleBits = 0xCF0000;   // caption, system menu, thick frame, both boxes
constexpr uint32_t kZoomedStyleBits = 0xCB0000;  // the same without the thick frame

}  // namespace

int32_t StandardButtonBit(int index) {
    static constexpr int32_t bits[] = {kFrameIcon, kFrameClose, kFrameMaximize, kFrameMinimize};
    return index >= 0 && index < 4 ? bits[index] : 0;
}

int32_t StandardButtonHit(int index) {
    static constexpr int32_t hits[] = {3, 20, 9, 8};
    return index >= 0 && index < 4 ? hits[index] : 0;
}

int ButtonIndexOf(int32_t code, bool bFromHit) {
    if (bFromHit) {
        switch (code) {
        case 20: return 1;
        case 9: return 2;
        case 8: return 3;
        default: return code > kHitUserBase ? code - kHitUserBase : 0;
        }
    }
    switch (code) {
    case kFrameClose: return 1;
    case kFrameMaximize: return 2;
    case kFrameMinimize: return 3;
    default: return 0;
    }
}

SysCommandDecision CheckSysCommand(uint32_t command, int32_t disabledBits, bool iconic) {
    const auto disabled = [&](int32_t bit) { return (disabledBits & bit) != 0; };
    SysCommandDecision d;
    switch (command) {
    case kScSize: d.blocked = disabled(kFrameSize); break;
    case kScMove: d.blocked = iconic || disabled(kFrameMove); break;
    case kScMinimize: d.blocked = disabled(kFrameMinimize); break;
    case kScMaximize: d.blocked = disabled(kFrameMaximize); break;
    case kScClose:
        d.blocked = true;
        d.postClose = !disabled(kFrameClose);
        return d;
    case kScRestore: break;
    default: return d;  // never blocked, nothing to post
    }
    d.post = !d.blocked;
    return d;
}

uint32_t AdjustFrameStyle(int32_t index, uint32_t style, bool bZoomed) {
    if (index != -16) return style;
    if (bZoomed) return (style & ~kFrameStyleBits) | kZoomedStyleBits;
    return style | kFrameStyleBits;
}

uint32_t ApplyStyleBits(uint32_t style, bool bRemove, const std::vector<uint32_t>& bits) {
    for (uint32_t b : bits) {
        if (!bRemove) style |= b;
        else if ((style & b) == b) style &= ~b;
    }
    return style;
}

int32_t BorderWidthOfStyle(int32_t style, int32_t cxDlgFrame) {
    switch (style) {
    case 1: return 1;
    case 2: return cxDlgFrame - 1;
    case 3: return cxDlgFrame;
    case 4: return cxDlgFrame + 1;
    case 5: return 8;
    default: return 0;
    }
}

uint32_t SystemMenuItemId(int k, int32_t disabledBits, bool iconic) {
    const SystemMenuPair& p = kSystemMenuPairs[k];
    const bool disabled = (disabledBits & p.bit) != 0;
    if (disabled && (k < 2 || !iconic)) return p.substitute;
    return p.command;
}

SizeStepResult SizeStep(const FrameBox& window, int32_t hit, int32_t dx, int32_t dy, int32_t minWidth,
                        int32_t minHeight) {
    SizeStepResult r{window};
    const bool left = hit == 10 || hit == 13 || hit == 16;
    const bool right = hit == 11 || hit == 14 || hit == 17;
    const bool top = hit == 12 || hit == 13 || hit == 14;
    const bool bottom = hit == 15 || hit == 16 || hit == 17;
    if (left || right) {
        FrameBox n = window;
        if (left) n.left += dx;
        else n.right += dx;
        if (n.right - n.left >= minWidth) {
            r.rect.left = n.left, r.rect.right = n.right;
            r.acceptedX = true;
        }
    }
    if (top || bottom) {
        FrameBox n = window;
        if (top) n.top += dy;
        else n.bottom += dy;
        if (n.bottom - n.top >= minHeight) {
            r.rect.top = n.top, r.rect.bottom = n.bottom;
            r.acceptedY = true;
        }
    }
    return r;
}

FrameGeometry::FrameGeometry() { ResetStandardButtons(); }

void FrameGeometry::ResetStandardButtons() {
    if (buttons.size() < 4) buttons.resize(4);
    for (int i = 0; i < 4; ++i) {
        buttons[i] = FrameButton{};
        buttons[i].standard = true;
    }
}

bool FrameGeometry::SetBorderStyle(int32_t newStyle, int32_t cxDlgFrame) {
    if (newStyle == borderStyle || newStyle < 1 || newStyle > 5) return false;
    borderStyle = static_cast<int16_t>(newStyle);
    borderLeft = borderTop = borderRight = borderBottom = BorderWidthOfStyle(newStyle, cxDlgFrame);
    return true;
}

void FrameGeometry::InitFrameMetrics(uint32_t style, uint32_t exStyle, const FrameSystemMetrics& sm) {
    const bool automatic = sizingHandle == 0;
    bool titled = false;
    if (borderStyle != 0) {
        titled = borderStyle > 1;
        if (automatic) sizingHandle = static_cast<uint8_t>(borderStyle);
    } else {
        if (!(style & kWsThickFrame)) {
            if (style & kWsDlgFrame) {
                if (automatic) sizingHandle = static_cast<uint8_t>(sm.cxDlgFrame);
                titled = (style & kWsBorder) != 0;
            } else if (automatic) {
                sizingHandle = 1;
            }
        } else if (automatic) {
            sizingHandle = static_cast<uint8_t>(sm.cxDlgFrame);
            if (style & kWsBorder) {
                sizingHandle = static_cast<uint8_t>(sizingHandle + 1);
                titled = true;
            }
        }
        borderStyle = sizingHandle;
        borderLeft = borderTop = borderRight = borderBottom = sizingHandle;
    }
    if (automatic) sizingHandle = static_cast<uint8_t>(sizingHandle + 5);
    if (titled) {
        titleThickness = static_cast<int16_t>((exStyle & kWsExToolWindow) ? sm.cySmCaption : sm.cyCaption);
        buttonWidth = std::min(sm.cySmIcon, titleThickness - 5);
    } else {
        titleThickness = 0;
        buttonWidth = 0;
    }
}

void FrameGeometry::ResetTitleMetrics() {
    titleThickness = 21;
    buttonWidth = 28;
    buttonHeight = 15;
}

void FrameGeometry::ComputeFrameRegions(int32_t width, int32_t height, const MenuLayoutFn& layoutMenu) {
    windowWidth = width;
    windowHeight = height;
    const int32_t L = 0, T = 0, R = width, B = height;
    const int32_t H = titleThickness;
    int32_t sx, sy, sw;
    hasTitle = H > 0;
    if (hasTitle && !Vertical()) {
        title = {L + borderLeft, T + borderTop, R - borderRight, T + borderTop + H};
        sx = L + borderLeft, sy = T + borderTop + H, sw = R - borderRight - L - borderLeft;
    } else if (hasTitle) {
        title = {L + borderLeft, T + borderTop, L + borderLeft + H, B - borderBottom};
        sx = L + borderLeft + H, sy = T + borderTop, sw = R - borderRight - (L + borderLeft + H);
    } else {
        title = {};
        sx = L + borderLeft, sy = T + borderTop, sw = R - L - borderRight - borderLeft;
    }
    const int32_t menuHeight = layoutMenu ? layoutMenu(sx, sy, sw) : 0;
    int32_t clientTop = sy;
    if (menuHeight > 0) {
        menuStrip = {sx, sy, R - borderRight, sy + menuHeight};
        clientTop = sy + menuHeight;
    } else {
        menuStrip = {};
    }
    client = {sx, clientTop, R - borderRight, B - borderBottom};
    if (client.right < client.left || client.bottom < client.top) client = {L, T, L, T};
    if (!(disabledBits & kFrameMeasuring)) LayoutTitleButtons();
}

void FrameGeometry::LayoutTitleButtons() {
    const auto clearAll = [&] {
        for (FrameButton& b : buttons) b.shown = false;
    };
    if (!hasTitle || buttonWidth <= 0) {
        clearAll();
        return;
    }
    const int32_t L = title.left, T = title.top, R = title.right, B = title.bottom;
    const int32_t w = buttonWidth, h = buttonHeight;
    FrameBox r;
    int32_t stepX = 0, stepY = 0;
    if (!Vertical()) {
        r = {R - w - 3, T, R - 3, T + h};
        r.Offset(0, ((B - T) - h) / 2);
        stepX = -(w + 1);
    } else {
        r = {L, T + 3, L + w, T + h + 3};
        r.Offset(((R - L) - w) / 2, 0);
        stepY = w + 1;
    }
    buttonSpace = 0;
    for (size_t i = 1; i < buttons.size(); ++i) {
        FrameButton& b = buttons[i];
        b.shown = false;
        bool show;
        if (i <= 3) {
            b.standard = true;
            show = IsButtonEnabled(StandardButtonBit(static_cast<int>(i))) || !hideDisabled;
        } else {
            show = b.state < 2 || !hideDisabled;
        }
        if (show && (b.positionType == 0 || b.positionType == 128)) {
            b.shown = true;
            b.rect = r;
            buttonSpace = static_cast<int16_t>(Vertical() ? r.bottom - T + 3 : R - r.left - 3);
            r.Offset(stepX, stepY);
        }
    }
    FrameButton& icon = buttons[0];
    icon.shown = false;
    icon.standard = true;
    iconSpace = 0;
    if (!(disabledBits & kFrameIcon)) {
        const int32_t s = titleThickness >= 35 ? 32 : titleThickness - 2;
        if (!Vertical()) {
            icon.rect = {L + 1, T, L + s + 1, T + s};
            icon.rect.Offset(0, ((B - T) - s) / 2);
            iconSpace = static_cast<int16_t>(icon.rect.right - L);
        } else {
            icon.rect = {L, B - s - 1, L + s, B - 1};
            icon.rect.Offset(((R - L) - s) / 2, 0);
            iconSpace = static_cast<int16_t>(B - icon.rect.top);
        }
        icon.shown = true;
    }
}

int32_t FrameGeometry::NcHitTest(int32_t x, int32_t y, bool zoomed,
                                 const std::function<int32_t(int32_t, int32_t)>& menuItemAt,
                                 int32_t& hotMenuItem) const {
    if (!FrameBox{0, 0, windowWidth, windowHeight}.Contains(x, y)) return 0;
    if (!menuStrip.IsEmpty() && menuStrip.Contains(x, y)) {
        const int32_t item = menuItemAt ? menuItemAt(x - menuStrip.left, y - menuStrip.top) : 0;
        if (item > 0) {
            hotMenuItem = item;
            return kHitMenuItem;
        }
        return 2;
    }
    if (hasTitle && title.Contains(x, y)) {
        for (size_t i = 0; i < buttons.size(); ++i) {
            const FrameButton& b = buttons[i];
            if (!b.shown || !b.rect.Contains(x, y)) continue;
            if (i >= 4) return kHitUserBase + static_cast<int32_t>(i);
            return IsButtonEnabled(StandardButtonBit(static_cast<int>(i))) ? StandardButtonHit(static_cast<int>(i))
                                                                            : 0;
        }
        return 2;
    }
    const bool sizable = IsButtonEnabled(kFrameSize);
    FrameBox box = client;
    if (sizable) {
        // Only a border thinner than the handle leaves part of the handle to
        // the inside; the side along the title strip is never shrunk.
        const int32_t handle = sizingHandle;
        if (borderRight < handle) box.right -= handle - borderRight;
        if (borderBottom < handle) box.bottom -= handle - borderBottom;
        if (!Vertical()) {
            if (borderLeft < handle) box.left += handle - borderLeft;
        } else if (borderTop < handle) {
            box.top += handle - borderTop;
        }
    }
    if (box.Contains(x, y)) return 1;
    if (!sizable || zoomed) return 0;
    const FrameBox whole{0, 0, windowWidth, windowHeight};
    const int32_t handle = sizingHandle;
    int side = 0;  // 1 left, 2 right
    if (!whole.Contains(x - handle, y)) side = 1;
    else if (!whole.Contains(x + handle, y)) side = 2;
    if (!whole.Contains(x, y - handle)) return side == 1 ? 13 : side == 2 ? 14 : 12;
    if (!whole.Contains(x, y + handle)) return side == 1 ? 16 : side == 2 ? 17 : 15;
    return side == 1 ? 10 : side == 2 ? 11 : 0;
}

bool FrameGeometry::AddUserButton(const std::string& ID, int32_t Position, int32_t PositionType, int32_t X,
                                  int32_t Y, int32_t Width, int32_t Height) {
    if (ID.empty()) return false;
    if (buttons.size() < 4) ResetStandardButtons();
    const int32_t users = static_cast<int32_t>(buttons.size()) - 4;
    size_t index = buttons.size();
    if (PositionType == 0 && Position >= 0 && Position < users) index = 4 + static_cast<size_t>(Position);
    FrameButton b;
    b.ID = ID.substr(0, kUserButtonIdLength);
    b.positionType = static_cast<int16_t>(PositionType);
    b.X = X, b.Y = Y, b.Width = Width, b.Height = Height;
    buttons.insert(buttons.begin() + static_cast<std::ptrdiff_t>(index), b);
    LayoutTitleButtons();
    return true;
}

}  // namespace lumio
