#include "menu_layout.h"

namespace lumio {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int32_t LayoutMenuCells(const std::vector<std::pair<int32_t, int32_t>>& textSizes, int32_t availableWidth,
                        std::vector<FrameBox>& cells) {
    cells.clear();
    int32_t x = 0, y = 0, lastBottom = 0;
    for (const auto& [w, h] : textSizes) {
        FrameBox cell{x, y, x + w + 12, y + h};
        if (cell.right >= availableWidth && cell.left != 0) {
            const int32_t top = lastBottom;  // the previous cell's bottom: 6 below its text
            cell = {0, top, w + 12, top + h};
        }
        cell.bottom += 6;
        cells.push_back(cell);
        x = cell.right;
        y = cell.top;
        lastBottom = cell.bottom;
    }
    return cells.empty() ? 0 : cells.back().bottom;
}

int32_t MenuCellFromPoint(const std::vector<FrameBox>& cells, int32_t x, int32_t y) {
    for (size_t i = 0; i < cells.size(); ++i)
        if (cells[i].Contains(x, y)) return static_cast<int32_t>(i) + 1;
    return 0;
}

char MenuAccessKey(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return LowerAscii(text[i + 1]);
    }
    return 0;
}

std::string BuildMnemonics(const std::vector<std::string>& texts, const std::vector<bool>& disabled) {
    std::string keys;
    for (size_t i = 0; i < texts.size(); ++i) {
        const bool off = i < disabled.size() && disabled[i];
        keys.push_back(off ? '\0' : MenuAccessKey(texts[i]));
    }
    return keys;
}

int32_t FindMnemonic(const std::string& mnemonics, char ch, int32_t after) {
    ch = LowerAscii(ch);
    if (ch == 0) return -1;
    const int32_t n = static_cast<int32_t>(mnemonics.size());
    int32_t first = -1;
    for (int32_t i = 0; i < n; ++i) {
        if (mnemonics[static_cast<size_t>(i)] != ch) continue;
        if (first < 0) first = i;
        if (after >= 0 && i > after) return i;
    }
    return first;
}

int32_t NextMenuIndex(int32_t hot, int32_t count, bool bLeft, bool bWrapToSystem, bool& oneShot) {
    if (count <= 0) return -1;
    if (hot < 0) {
        oneShot = true;
        return bLeft ? count - 1 : 0;
    }
    const int32_t next = bLeft ? hot - 1 : hot + 1;
    if (next < 0) return bWrapToSystem ? kSystemMenuFromItem : count - 1;
    if (next >= count) return bWrapToSystem ? kSystemMenuFromItem : 0;
    return next;
}

}  // namespace lumio
