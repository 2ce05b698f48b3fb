#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "imaging/image_type.h"
#include "imaging/mod_parsers.h"

using namespace lumio;

namespace {
using Px = std::array<std::uint8_t, 4>; // B, G, R, A

struct Case {
    const char *name;
    std::vector<Px> pixels; // one row
    std::int32_t typeIn;
    std::int32_t typeOut;
    bool alpha;
    std::vector<Px> converted;
};

std::vector<std::uint8_t> Bytes(const std::vector<Px> &px) {
    std::vector<std::uint8_t> b;
    for (auto &p : px) b.insert(b.end(), p.begin(), p.end());
    return b;
}
} // namespace

TEST(ClassifyAlpha, DecidesTheKindAndConverts) {
    const Case cases[] = {
        {"alpha unused everywhere", {{1, 2, 3, 0}, {4, 5, 6, 0}}, 0, 1, false, {{1, 2, 3, 255}, {4, 5, 6, 255}}},
        {"all opaque", {{1, 2, 3, 255}, {9, 9, 9, 255}}, 0, 1, false, {{1, 2, 3, 255}, {9, 9, 9, 255}}},
        {"premultiplied, partly transparent", {{0, 0, 0, 0}, {50, 60, 100, 100}, {1, 2, 3, 255}}, 0, 7, true,
         {{0, 0, 0, 0}, {50, 60, 100, 100}, {1, 2, 3, 255}}},
        {"colour above alpha", {{0, 0, 0, 255}, {0, 0, 200, 100}}, 0, 6, true, {{0, 0, 0, 255}, {0, 0, 78, 100}}},
        {"first pixel already straight", {{0, 0, 200, 100}, {0, 0, 0, 0}}, 0, 6, true,
         {{0, 0, 78, 100}, {0, 0, 0, 0}}},
        {"zero-alpha colour then opaque", {{10, 0, 0, 0}, {1, 1, 1, 255}}, 0, 6, true,
         {{0, 0, 0, 0}, {1, 1, 1, 255}}},
        {"zero-alpha colour then translucent", {{10, 0, 0, 0}, {1, 1, 1, 50}}, 0, 6, true,
         {{0, 0, 0, 0}, {0, 0, 0, 50}}},
        {"zero-alpha colour and nothing else", {{10, 0, 0, 0}, {0, 0, 0, 0}}, 0, 1, false,
         {{10, 0, 0, 255}, {0, 0, 0, 255}}},
        {"forced opaque", {{0, 0, 200, 100}, {0, 0, 0, 0}}, -1, 1, false, {{0, 0, 200, 255}, {0, 0, 0, 255}}},
        {"no pixels", {}, 0, 1, false, {}},
    };
    for (const auto &c : cases) {
        for (bool convert : {false, true}) {
            auto bytes = Bytes(c.pixels);
            bool alpha = !c.alpha;
            std::int32_t type = c.typeIn;
            ClassifyAlpha(bytes.data(), static_cast<std::int32_t>(c.pixels.size()), c.pixels.empty() ? 0 : 1,
                          convert, alpha, type);
            EXPECT_EQ(type, c.typeOut) << c.name;
            EXPECT_EQ(alpha, c.alpha) << c.name;
            EXPECT_EQ(bytes, Bytes(convert ? c.converted : c.pixels)) << c.name << " convert=" << convert;
        }
    }
}

TEST(ClassifyAlpha, ScansRowsInMemoryOrderAndReportsToTheSurface) {
    // Row 0 in memory holds the zero-alpha colour; the opaque pixel comes after it.
    MemorySurface s;
    ASSERT_TRUE(s.InitializeDIB(1, 2));
    std::uint8_t *b = s.BitsPointer();
    b[0] = 10;        // row 0: (10,0,0,0)
    b[7] = 255;       // row 1: opaque black
    ClassifyAlpha(s, true);
    EXPECT_EQ(s.ImageType(), image_type::kStraightAlpha);
    EXPECT_TRUE(s.Alpha());
    EXPECT_EQ(b[0], 0);
}
