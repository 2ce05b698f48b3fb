#pragma once
// The frame's fonts (title strip and menu strip) between a LOGFONT and the
// description a font object gives, at the screen's vertical resolution.
#include <windows.h>

#include <string>

namespace lumio {

// Font description as a font object gives it (face, size in points, styles).
struct MenuFontSpec {
    std::string name;
    double size = 8.25;
    bool bold = false, italic = false, underline = false, strikethrough = false;
};

// Face, height, weight and styles of lf from font; the other fields are left.
void ApplyFontSpec(LOGFONTA& lf, const MenuFontSpec& font);
// What font describes; a null font reads as an empty LOGFONT.
MenuFontSpec FontSpecOf(HFONT font);

}  // namespace lumio
