#include "file_filter.h"

std::vector<std::pair<std::wstring, std::wstring>> ParseFileFilter(std::wstring_view filter) {
    std::vector<std::wstring> parts;
    size_t pos = 0;
    while (pos <= filter.size() && !filter.empty()) {
        size_t bar = filter.find(L'|', pos);
        parts.emplace_back(filter.substr(pos, bar == std::wstring_view::npos ? std::wstring_view::npos : bar - pos));
        if (bar == std::wstring_view::npos) break;
        pos = bar + 1;
    }
    std::vector<std::pair<std::wstring, std::wstring>> out;
    for (size_t i = 0; i < parts.size(); i += 2)
        out.emplace_back(parts[i], i + 1 < parts.size() ? parts[i + 1] : L"*.*");
    return out;
}
