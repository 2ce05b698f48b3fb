#include "simplified_names.h"

#include "ansi_text.h"
#include "t2s.h"

#include <windows.h>

std::wstring MapToSimplified(std::wstring_view name) {
    std::string source = ToAnsi(name);
    int length = lstrlenA(source.c_str());
    if (length <= 0) return {};
    std::string mapped(static_cast<size_t>(length), ' ');
    int got = LCMapStringA(MAKELCID(2052, SORT_DEFAULT), LCMAP_SIMPLIFIED_CHINESE, source.c_str(), length,
                           mapped.data(), length);
    std::wstring result = FromAnsi(mapped);
    if (got == 0) return result;
    std::wstring widened = FromAnsi(std::string_view(source).substr(0, static_cast<size_t>(length)));
    if (result == widened) {
        std::u16string table = ToSimplified(std::u16string(widened.begin(), widened.end()));
        std::wstring fromTable(table.begin(), table.end());
        if (fromTable != widened) return fromTable;
    }
    return result;
}
