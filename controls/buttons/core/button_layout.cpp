#include "button_layout.h"

#include "basic_arith.h"

namespace lumio::buttons {

ButtonLayout CalcButtonLayout(const ButtonLayoutInput& in, int32_t my, int32_t mx,
                              const std::function<Box(int32_t, int32_t)>& measure) {
    const int32_t W = in.width, H = in.height;
    Box T;
    if (in.hasCaption) {
        T = measure(W, H);
        T.Offset(IntDiv(W - T.right, 2), IntDiv(H - T.bottom, 2));
    }
    if (!in.hasPicture) return {T, Box{}};
    Box P{0, 0, in.picW, in.picH};
    const bool cap = in.hasCaption;
    const int32_t g = cap ? 2 : 0;
    auto vcentre = [&] { P.Offset(0, IntDiv(H - P.Height(), 2)); };
    auto hcentre = [&] { P.Offset(IntDiv(W - P.Width(), 2), 0); };
    auto textToX0 = [&] { T.Offset(-T.left, 0); };
    auto textToY0 = [&] { T.Offset(0, -T.top); };
    switch (in.align) {
    case 0:  // behind the text
        P.Offset(IntDiv(W - P.right, 2), IntDiv(H - P.bottom, 2));
        break;
    case 3:  // left edge
        vcentre();
        P.Offset(mx - P.left, 0);
        textToX0();
        if (cap) {
            T.Offset(g + P.right, 0);
            int32_t e = (W - mx) - T.right;
            if (e >= 2) T.Offset(IntDiv(e, 2), 0);
        }
        break;
    case 4:  // left of the caption
        vcentre();
        textToX0();
        if (cap) {
            T.Offset(g + P.right, 0);
            int32_t d = IntDiv(W - T.right, 2);
            T.Offset(d, 0);
            P.Offset(d, 0);
        } else {
            hcentre();
        }
        break;
    case 5:  // right edge
        vcentre();
        P.Offset(W - P.Width() - mx - P.left, 0);
        textToX0();
        if (cap) {
            T.Offset(P.left - g - T.right, 0);
            int32_t d = T.left - mx;
            if (d >= 2) T.Offset(-IntDiv(d, 2), 0);
        }
        break;
    case 6:  // right of the caption
        vcentre();
        textToX0();
        if (cap) {
            P.Offset(g + T.right, 0);
            int32_t d = IntDiv(W - P.right, 2);
            T.Offset(d, 0);
            P.Offset(d, 0);
        } else {
            hcentre();
        }
        break;
    case 7:  // top edge
        hcentre();
        P.Offset(0, my - P.top);
        textToY0();
        if (cap) {
            T.Offset(0, P.bottom);
            int32_t d = (H - T.bottom) - my;
            if (d >= 2) T.Offset(0, IntDiv(d, 2));
        }
        break;
    case 8:  // top of the caption
        hcentre();
        textToY0();
        if (cap) {
            T.Offset(0, P.bottom);
            int32_t d = IntDiv(H - T.bottom, 2);
            T.Offset(0, d);
            P.Offset(0, d);
        } else {
            vcentre();
        }
        break;
    case 1:  // bottom edge
        hcentre();
        P.Offset(0, H - P.Height() - my - P.top);
        textToY0();
        if (cap) {
            T.Offset(0, P.top - T.bottom);
            int32_t d = T.top - my;
            if (d >= 2) T.Offset(0, -IntDiv(d, 2));
        }
        break;
    case 2:  // bottom of the caption
        hcentre();
        textToY0();
        if (cap) {
            P.Offset(0, T.bottom);
            int32_t d = IntDiv(H - P.bottom, 2);
            T.Offset(0, d);
            P.Offset(0, d);
        } else {
            vcentre();
        }
        break;
    default:  // unknown alignments place nothing
        break;
    }
    return {T, P};
}

}  // namespace lumio::buttons
