#include "scroll_skin_plan.h"

#include <cmath>

namespace lumio::lists {

const wchar_t* const kScrollSkinNames[kSkinCount] = {
    L"SCRBACKH", L"SCRTHUMBH", L"SCRGRIPH", L"SCRARROWH", L"SCRARROWHL", L"SCRARROWHR",
    L"SCRBACKV", L"SCRTHUMBV", L"SCRGRIPV", L"SCRARROWV", L"SCRARROWVT", L"SCRARROWVB",
};

namespace {

class Plan {
public:
    explicit Plan(int skin) : skin_(skin) {}
    void Copy(int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t dx, int32_t dy, bool masked = false) {
        if (w < 1 || h < 1) return;
        out.push_back({skin_, false, masked, sx, sy, w, h, dx, dy, w, h});
    }
    void Stretch(int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dx, int32_t dy, int32_t dw, int32_t dh) {
        if (dw < 1 || dh < 1) return;
        out.push_back({skin_, true, false, sx, sy, sw, sh, dx, dy, dw, dh});
    }
    void Skin(int skin) { skin_ = skin; }
    std::vector<SkinCopy> out;

private:
    int skin_;
};

int32_t Half(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

std::vector<SkinCopy> PlanButton(int orientation, int state, const PartRect& r, int glyphH, int glyphV) {
    const int32_t w = r.right - r.left, h = r.bottom - r.top, s = state;
    if (orientation == 1) {
        Plan p(kSkinArrowH);
        p.Copy(18 * s, 0, 18, 3, r.left, r.top);
        p.Copy(18 * s, 14, 18, 3, r.left, r.bottom - 3);
        p.Stretch(18 * s, 3, 18, 11, r.left, r.top + 3, 18, h - 6);
        p.Skin(glyphH);
        p.Copy(18 * s, 0, 18, 17, r.left, Half((h - 17) / 2.0), true);
        return p.out;
    }
    Plan p(kSkinArrowV);
    p.Copy(0, 18 * s, 3, 18, r.left, r.top);
    p.Copy(14, 18 * s, 3, 18, r.right - 3, r.top);
    p.Stretch(3, 18 * s, 11, 18, r.left + 3, r.top, w - 6, 18);
    p.Skin(glyphV);
    p.Copy(0, 18 * s, 17, 18, Half((w - 17) / 2.0), r.top, true);
    return p.out;
}

}  // namespace

std::vector<SkinCopy> PlanTrack(int orientation, int state, const PartRect& r) {
    const int32_t w = r.right - r.left, h = r.bottom - r.top, s = state;
    if (orientation == 1) {
        Plan p(kSkinBackH);
        p.Stretch(2 * s, 0, 2, 3, r.left, r.top, w, 3);
        p.Stretch(2 * s, 14, 2, 3, r.left, r.bottom - 3, w, 3);
        p.Stretch(2 * s, 3, 2, 11, r.left, r.top + 3, w, h - 6);
        return p.out;
    }
    Plan p(kSkinBackV);
    p.Stretch(0, 2 * s, 3, 2, r.left, r.top, 3, h);
    p.Stretch(14, 2 * s, 3, 2, r.right - 3, r.top, 3, h);
    p.Stretch(3, 2 * s, 11, 2, r.left + 3, r.top, w - 6, h);
    return p.out;
}

std::vector<SkinCopy> PlanThumb(int orientation, int state, const PartRect& r) {
    const int32_t l = r.left, t = r.top, rr = r.right, b = r.bottom;
    const int32_t w = rr - l, h = b - t, s = state;
    if (orientation == 1) {
        const int32_t y = 17 * s;
        Plan p(kSkinThumbH);
        p.Copy(0, y, 3, 3, l, t);
        p.Copy(0, y + 14, 3, 3, l, b - 3);
        p.Stretch(0, y + 3, 3, 11, l, t + 3, 3, h - 6);
        p.Stretch(3, y, 9, 3, l + 3, t, w - 6, 3);
        p.Stretch(3, y + 14, 9, 3, l + 3, b - 3, w - 6, 3);
        p.Stretch(3, y + 3, 9, 11, l + 3, t + 3, w - 6, h - 6);
        p.Copy(12, y, 3, 3, rr - 3, t);
        p.Copy(12, y + 14, 3, 3, rr - 3, b - 3);
        p.Stretch(12, y + 3, 3, 11, rr - 3, t + 3, 3, h - 6);
        if (w >= 16) {
            p.Skin(kSkinGripH);
            p.Copy(0, 9 * s, 10, 9, Half(l + (w - 10) / 2.0), Half((h - 9) / 2.0), true);
        }
        return p.out;
    }
    const int32_t x = 17 * s;
    Plan p(kSkinThumbV);
    p.Copy(x, 0, 3, 3, l, t);
    p.Copy(x + 14, 0, 3, 3, rr - 3, t);
    p.Stretch(x + 3, 0, 11, 3, l + 3, t, w - 6, 3);
    p.Stretch(x, 3, 3, 9, l, t + 3, 3, h - 6);
    p.Stretch(x + 14, 3, 3, 9, rr - 3, t + 3, 3, h - 6);
    p.Stretch(x + 3, 3, 11, 9, l + 3, t + 3, w - 6, h - 6);
    p.Copy(x, 12, 3, 3, l, b - 3);
    p.Copy(x + 14, 12, 3, 3, rr - 3, b - 3);
    p.Stretch(x + 3, 12, 11, 3, l + 3, b - 3, w - 6, 3);
    if (h >= 16) {
        p.Skin(kSkinGripV);
        p.Copy(0, 10 * s, 9, 10, Half((w - 9) / 2.0), Half(t + (h - 10) / 2.0), true);
    }
    return p.out;
}

std::vector<SkinCopy> PlanTLButton(int orientation, int state, const PartRect& r) {
    return PlanButton(orientation, state, r, kSkinArrowHL, kSkinArrowVT);
}

std::vector<SkinCopy> PlanBRButton(int orientation, int state, const PartRect& r) {
    return PlanButton(orientation, state, r, kSkinArrowHR, kSkinArrowVB);
}

}  // namespace lumio::lists
