#include "sequence_check.h"

#include <sstream>

namespace lumio::test::detail {

::testing::AssertionResult CheckPositions(const std::string &name, const std::vector<bool> &optional, size_t seen,
                                          const std::function<bool(size_t, size_t)> &accepts,
                                          const std::function<std::string(long, long)> &describe) {
    const size_t steps = optional.size();
    // reach[i][j]: the first i steps can account for the first j entries seen.
    std::vector<std::vector<char>> reach(steps + 1, std::vector<char>(seen + 1, 0));
    reach[0][0] = 1;
    size_t farStep = 0, farSeen = 0;
    for (size_t i = 0; i <= steps; ++i) {
        for (size_t j = 0; j <= seen; ++j) {
            if (!reach[i][j]) continue;
            // The furthest entry reached, by the fewest steps: the optional ones still show as possible.
            if (j > farSeen) farStep = i, farSeen = j;
            if (i == steps) continue;
            if (optional[i]) reach[i + 1][j] = 1;
            if (j < seen && accepts(i, j)) reach[i + 1][j + 1] = 1;
        }
    }
    if (reach[steps][seen]) return ::testing::AssertionSuccess();

    std::ostringstream out;
    out << "sequence \"" << name << "\" differs after " << farSeen << " matching entries";
    if (farSeen < seen) out << ": seen " << describe(-1, static_cast<long>(farSeen));
    else out << ": nothing more was seen";
    out << ", expected ";
    if (farStep < steps) {
        // The next required step, with the optional ones that could have come before it.
        size_t i = farStep;
        for (; i < steps && optional[i]; ++i) out << "[" << describe(static_cast<long>(i), -1) << "] or ";
        out << (i < steps ? describe(static_cast<long>(i), -1) : std::string("the end"));
    } else {
        out << "the end";
    }
    out << "\n  expected:";
    for (size_t i = 0; i < steps; ++i) {
        std::string s = describe(static_cast<long>(i), -1);
        out << ' ' << (optional[i] ? "[" + s + "]" : s);
    }
    out << "\n  seen:    ";
    for (size_t j = 0; j < seen; ++j) out << (j == farSeen ? " >>" : " ") << describe(-1, static_cast<long>(j));
    return ::testing::AssertionFailure() << out.str();
}

} // namespace lumio::test::detail
