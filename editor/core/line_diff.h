#pragma once
// Matching the lines of an edited text with the lines it was made from, so that lines the
// user did not touch can keep their stored form. A longest common subsequence, computed
// after the common head and tail are taken off; a middle too large to compare line by
// line is taken as replaced whole.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// For each line of b, the index of the line of a it matches, or -1. Matches keep their order.
template <typename T, typename Eq>
std::vector<ptrdiff_t> MatchLines(const std::vector<T> &a, const std::vector<T> &b, Eq eq) {
    std::vector<ptrdiff_t> match(b.size(), -1);
    size_t head = 0;
    while (head < a.size() && head < b.size() && eq(a[head], b[head])) {
        match[head] = static_cast<ptrdiff_t>(head);
        ++head;
    }
    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           eq(a[a.size() - 1 - tail], b[b.size() - 1 - tail])) {
        match[b.size() - 1 - tail] = static_cast<ptrdiff_t>(a.size() - 1 - tail);
        ++tail;
    }
    const size_t n = a.size() - head - tail, m = b.size() - head - tail;
    constexpr size_t kMaxCells = size_t{1} << 22;
    if (n == 0 || m == 0 || n > kMaxCells / m) return match;
    // len[i][j]: common length of a[head+i..] and b[head+j..] within the middle.
    std::vector<uint32_t> len((n + 1) * (m + 1), 0);
    auto at = [&](size_t i, size_t j) -> uint32_t & { return len[i * (m + 1) + j]; };
    for (size_t i = n; i-- > 0;) {
        for (size_t j = m; j-- > 0;) {
            at(i, j) = eq(a[head + i], b[head + j]) ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
        }
    }
    for (size_t i = 0, j = 0; i < n && j < m;) {
        if (eq(a[head + i], b[head + j])) {
            match[head + j] = static_cast<ptrdiff_t>(head + i);
            ++i;
            ++j;
        } else if (at(i + 1, j) >= at(i, j + 1)) {
            ++i;
        } else {
            ++j;
        }
    }
    return match;
}
