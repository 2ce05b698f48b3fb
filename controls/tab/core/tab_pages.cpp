#include "tab_pages.h"

#include <cwctype>

#include "basic_arith.h"

namespace lumio::tab {

int32_t DefaultTabOffset(double parentWidth) {
    return parentWidth > 10000 ? RoundToLong(parentWidth + 1000) : 10000;
}

int32_t TabOfLeft(double left, int32_t tabOffset) {
    int32_t whole = RoundToLong(left);
    int32_t away = whole < 0 ? CheckedSub(0, whole) : whole;
    int32_t page = IntDiv(away, tabOffset);
    return whole > 0 ? page : CheckedAdd(page, 1);
}

int32_t ShiftDelta(int32_t newTab, int32_t activeTab, int32_t tabOffset) {
    return CheckedMul(CheckedSub(newTab, activeTab), tabOffset);
}

int32_t TabAccessKey(const std::wstring& caption) {
    std::wstring marked;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size() && caption[i + 1] == L'&') {
            marked += L'\x01';
            ++i;
        } else {
            marked += caption[i];
        }
    }
    size_t amp = marked.rfind(L'&');
    if (amp == std::wstring::npos || amp + 1 >= marked.size()) return 0;
    return static_cast<int32_t>(std::towupper(marked[amp + 1]));
}

std::wstring AccessKeyList(const std::vector<int32_t>& keys) {
    std::wstring list;
    for (int32_t k : keys)
        if (k != 0) list += static_cast<wchar_t>(k);
    return list;
}

}  // namespace lumio::tab
