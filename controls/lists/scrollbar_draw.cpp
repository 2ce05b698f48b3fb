#include "scrollbar_draw.h"

#include "skin_resource.h"

namespace lumio::lists {

cScrollbarDraw::cScrollbarDraw() {
    for (int i = 0; i < kSkinCount; ++i) LoadBitmapSkin(skins_[i], kScrollSkinNames[i]);
}

bool cScrollbarDraw::Complete() const {
    for (const auto& s : skins_)
        if (!s.hDC()) return false;
    return true;
}

void cScrollbarDraw::Run(HDC dc, const std::vector<SkinCopy>& plan) const {
    for (const auto& c : plan) {
        const pcMemDC& skin = skins_[c.skin];
        if (c.stretch)
            skin.StretchDraw(dc, c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh);
        else
            skin.Draw(dc, c.sx, c.sy, c.sw, c.sh, c.dx, c.dy, c.masked);
    }
}

}  // namespace lumio::lists
