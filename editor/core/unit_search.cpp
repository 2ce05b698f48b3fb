#include "unit_search.h"

std::u16string SearchTextOf(std::u16string_view typed) {
    size_t last = typed.size() < 41 ? typed.size() : 41;
    for (size_t i = 1; i < last; ++i) {
        char16_t c = typed[i];
        if (c == u' ' || c == u';' || c == u'\0') return std::u16string(typed.substr(0, i));
    }
    return std::u16string(typed);
}

int FindUnitRow(const std::vector<std::u16string> &cells, std::u16string_view typed) {
    std::u16string wanted = SearchTextOf(typed);
    std::u16string cell;
    for (size_t i = 0; i < cells.size(); ++i) {
        cell.assign(1, u' ').append(cells[i]);
        if (cell.find(wanted) != std::u16string::npos) return static_cast<int>(i);
    }
    return -1;
}

std::u16string SearchNotFoundMessage(std::u16string_view typed) {
    std::u16string m = u"找不到“";
    m.append(typed).append(u"”。\r\n请确认您的输入是否正确，然后重试。\r\n或者该CSF文件中没有您所需单位的中文名。");
    return m;
}
