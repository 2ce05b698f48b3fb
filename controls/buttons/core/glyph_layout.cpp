#include "glyph_layout.h"

#include <cwctype>

#include "basic_arith.h"

namespace lumio::buttons {

namespace {
constexpr int32_t kGroupRows = 4 * kGlyphSize;
constexpr int32_t kDisabledCell = 3;
}  // namespace

int32_t CheckValueGroup(int32_t value) {
    if (value == 0) return 0;
    return value == 1 ? kGroupRows : 2 * kGroupRows;
}

int32_t OptionValueGroup(bool value) { return value ? kGroupRows : 0; }

int32_t GlyphCellY(int32_t group, int32_t state, bool hover, bool enabled) {
    if (!enabled) return group + kGlyphSize * kDisabledCell;
    if (state == kGlyphNormal && hover) state = kGlyphHot;
    return group + kGlyphSize * state;
}

int32_t NextCheckValue(int32_t value) { return value == 1 ? 0 : 1; }

bool pCalcGlyphRect(int32_t align, int32_t width, int32_t height, Box& rect) {
    const int32_t top = IntDiv(CheckedSub(height, kGlyphSize), 2);
    if (align == 0) {
        rect = {0, top, kGlyphSize, top + kGlyphSize};
    } else if (align == 1) {
        rect = {width - (kGlyphSize + 1), top, width, top + kGlyphSize};
    } else {
        return false;
    }
    return true;
}

bool CaptionFrame(int32_t align, int32_t width, int32_t height, Box& rect) {
    if (align == 0) {
        rect = {kGlyphSize + 3, 1, width - 2, height - 2};
    } else if (align == 1) {
        rect = {1, 1, width - (kGlyphSize + 2), height - 2};
    } else {
        return false;
    }
    return true;
}

void CentreCaption(Box& rect, int32_t height) { rect.Offset(0, IntDiv(CheckedSub(height, rect.bottom), 2)); }

std::wstring CaptionAccessKey(const std::wstring& caption) {
    auto lower = [](wchar_t c) {
        return std::wstring(1, static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
    };
    if (caption.size() <= 1) return {};
    const size_t a = caption.find(L'&');
    if (a == std::wstring::npos || a + 1 >= caption.size()) return {};
    if (caption[a + 1] != L'&') return lower(caption[a + 1]);
    const size_t b = caption.find(L'&', a + 2);
    if (b == std::wstring::npos || b + 1 >= caption.size() || caption[b + 1] == L'&') return {};
    return lower(caption[b + 1]);
}

}  // namespace lumio::buttons
