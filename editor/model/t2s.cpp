#include "t2s.h"

#include <algorithm>
#include <iterator>

namespace {

struct Pair {
    char16_t From;
    char16_t To;
};

constexpr Pair kTable[] = {
#include "t2s_table.inc"
};

} // namespace

char16_t SimplifiedChar(char16_t c) {
    auto it = std::lower_bound(std::begin(kTable), std::end(kTable), c,
                               [](const Pair &p, char16_t v) { return p.From < v; });
    return (it != std::end(kTable) && it->From == c) ? it->To : c;
}

std::u16string ToSimplified(std::u16string_view text) {
    std::u16string out(text);
    for (auto &c : out) c = SimplifiedChar(c);
    return out;
}
