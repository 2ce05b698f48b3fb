#include "glyph_text.h"

namespace lumio::buttons {

int DrawAnsiText(HDC dc, const std::wstring& text, RECT& rc, UINT flags) {
    std::string ansi;
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n > 0) {
        ansi.resize(static_cast<size_t>(n));
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), n, nullptr, nullptr);
    }
    return DrawTextA(dc, ansi.c_str(), static_cast<int>(ansi.size()), &rc, flags);
}

}  // namespace lumio::buttons
