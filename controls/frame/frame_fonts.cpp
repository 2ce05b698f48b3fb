#include "frame_fonts.h"

#include <cmath>
#include <cstring>

#include "gdi_scope.h"

namespace lumio {
namespace {

int TwipsPerPixelY() {
    ScreenDC screen;
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? 1440 / dpi : 15;
}

}  // namespace

void ApplyFontSpec(LOGFONTA& lf, const MenuFontSpec& font) {
    lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
    lf.lfHeight = static_cast<LONG>(std::nearbyint(-20.0 * font.size / TwipsPerPixelY()));
    lf.lfWeight = font.bold ? 700 : 400;
    lf.lfItalic = font.italic ? 1 : 0;
    lf.lfUnderline = font.underline ? 1 : 0;
    lf.lfStrikeOut = font.strikethrough ? 1 : 0;
}

MenuFontSpec FontSpecOf(HFONT handle) {
    MenuFontSpec font;
    LOGFONTA lf{};
    if (handle) GetObjectA(handle, sizeof lf, &lf);
    font.name.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    font.bold = lf.lfWeight > 400;
    font.italic = lf.lfItalic != 0;
    font.underline = lf.lfUnderline != 0;
    font.strikethrough = lf.lfStrikeOut != 0;
    font.size = lf.lfHeight < 0 ? TwipsPerPixelY() * static_cast<double>(lf.lfHeight) / -20.0 : 8.25;
    return font;
}

}  // namespace lumio
