#pragma once
// How the scroll bar's skin cells are cut and copied onto a part: fixed
// corners and edges copied, middles stretched. The painter carries out the
// copies on its surfaces; tests read them as they are.
#include <cstdint>
#include <vector>

#include "scroll_geometry.h"

namespace lumio::lists {

// The twelve skins in load order; each is a bitmap resource of that name.
enum ScrollSkin : int {
    kSkinBackH, kSkinThumbH, kSkinGripH, kSkinArrowH, kSkinArrowHL, kSkinArrowHR,
    kSkinBackV, kSkinThumbV, kSkinGripV, kSkinArrowV, kSkinArrowVT, kSkinArrowVB, kSkinCount
};
extern const wchar_t* const kScrollSkinNames[kSkinCount];

struct SkinCopy {
    int skin = 0;
    bool stretch = false;
    bool masked = false;  // magenta left out (glyphs and grips)
    int32_t sx = 0, sy = 0, sw = 0, sh = 0;
    int32_t dx = 0, dy = 0, dw = 0, dh = 0;  // dw, dh equal sw, sh for a plain copy
    bool operator==(const SkinCopy&) const = default;
};

// orientation: 1 horizontal, anything else vertical. Slices whose
// destination extent is below 1 are left out.
std::vector<SkinCopy> PlanTrack(int orientation, int state, const PartRect& r);
std::vector<SkinCopy> PlanThumb(int orientation, int state, const PartRect& r);
std::vector<SkinCopy> PlanTLButton(int orientation, int state, const PartRect& r);
std::vector<SkinCopy> PlanBRButton(int orientation, int state, const PartRect& r);

}  // namespace lumio::lists
