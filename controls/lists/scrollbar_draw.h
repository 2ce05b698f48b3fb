#pragma once
// cScrollbarDraw: the scroll bar's twelve skins, loaded once, and the drawing
// of its four kinds of part from them.
#include <windows.h>

#include <array>
#include <vector>

#include "imaging/pc_mem_dc.h"
#include "scroll_skin_plan.h"

namespace lumio::lists {

class cScrollbarDraw {
public:
    // Loads the skins from the bitmap resources of the module holding this code.
    cScrollbarDraw();

    void DrawTrack(HDC dc, int orientation, int state, const PartRect& r) { Run(dc, PlanTrack(orientation, state, r)); }
    void DrawThumb(HDC dc, int orientation, int state, const PartRect& r) { Run(dc, PlanThumb(orientation, state, r)); }
    void DrawTLButton(HDC dc, int orientation, int state, const PartRect& r) {
        Run(dc, PlanTLButton(orientation, state, r));
    }
    void DrawBRButton(HDC dc, int orientation, int state, const PartRect& r) {
        Run(dc, PlanBRButton(orientation, state, r));
    }

    // Whether every skin was found (a missing one draws nothing).
    bool Complete() const;

private:
    void Run(HDC dc, const std::vector<SkinCopy>& plan) const;
    std::array<pcMemDC, kSkinCount> skins_;
};

}  // namespace lumio::lists
