#include "png/png_rows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

using namespace lumio;

namespace {

using Bytes = std::vector<uint8_t>;

// The filters as the format defines them, a byte at a time: a = left, b = up, c = up-left,
// each zero where there is no such byte.
Bytes Reconstruct(uint8_t filter, Bytes row, const Bytes *prev, size_t step) {
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= step ? row[i - step] : 0;
        const int b = prev ? (*prev)[i] : 0;
        const int c = prev && i >= step ? (*prev)[i - step] : 0;
        int add = 0;
        if (filter == 1) {
            add = a;
        } else if (filter == 2) {
            add = b;
        } else if (filter == 3) {
            add = (a + b) / 2;
        } else if (filter == 4) {
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            add = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        }
        row[i] = uint8_t(row[i] + add);
    }
    return row;
}

// Every filter, every pixel size, with and without a row above, and rows short and long
// enough that the last pixels cannot be read as a whole word; the bytes after the row are
// never touched.
TEST(PngRows, UnfilterFollowsTheFilterDefinitions) {
    std::mt19937 rng(5);
    for (size_t step : {1, 2, 3, 4, 6, 8}) {
        for (size_t pixels : {1, 2, 3, 5, 17, 64}) {
            const size_t length = step * pixels;
            for (uint8_t filter = 0; filter <= 5; ++filter) {
                for (bool first : {true, false}) {
                    Bytes row(length + 8), prev(length);
                    for (auto &x : row) x = uint8_t(rng());
                    for (auto &x : prev) x = uint8_t(rng());
                    // Values at the ends of the range make the Paeth distances tie and wrap.
                    for (size_t i = 0; i < length; i += 5) prev[i] = (i / 5) % 2 ? 0 : 255;
                    const Bytes stored(row.begin(), row.begin() + ptrdiff_t(length));
                    const Bytes want = Reconstruct(filter, stored, first ? nullptr : &prev, step);
                    Bytes got = row;
                    png_rows::Unfilter(filter, got.data(), first ? nullptr : prev.data(), length, step);
                    SCOPED_TRACE(testing::Message() << "step " << step << " pixels " << pixels << " filter "
                                                    << int(filter) << (first ? " first row" : ""));
                    ASSERT_EQ(Bytes(got.begin(), got.begin() + ptrdiff_t(length)), want);
                    ASSERT_TRUE(std::equal(got.begin() + ptrdiff_t(length), got.end(), row.begin() + ptrdiff_t(length)));
                }
            }
        }
    }
}

}  // namespace
