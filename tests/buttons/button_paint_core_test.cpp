#include <gtest/gtest.h>

#include <vector>

#include "button_layout.h"
#include "gradient_rows.h"
#include "picture_pass.h"

namespace {

using namespace lumio::buttons;

Box Measure40x13(int32_t, int32_t) { return {0, 0, 40, 13}; }

TEST(ButtonLayout, NineAlignmentsOnA100x40Button) {
    struct Case {
        int align;
        bool caption, picture;
        Box text, pic;
    } cases[] = {
        {0, true, false, {30, 13, 70, 26}, {}},                  // a caption alone is centred
        {0, true, true, {30, 13, 70, 26}, {42, 12, 58, 28}},
        {3, true, true, {39, 13, 79, 26}, {4, 12, 20, 28}},
        {4, true, true, {39, 13, 79, 26}, {21, 12, 37, 28}},
        {5, true, true, {21, 13, 61, 26}, {80, 12, 96, 28}},
        {6, true, true, {21, 13, 61, 26}, {63, 12, 79, 28}},
        {7, true, true, {30, 21, 70, 34}, {42, 4, 58, 20}},      // no gap vertically
        {8, true, true, {30, 21, 70, 34}, {42, 5, 58, 21}},
        {1, true, true, {30, 6, 70, 19}, {42, 20, 58, 36}},
        {2, true, true, {30, 5, 70, 18}, {42, 18, 58, 34}},
        {7, false, true, {}, {42, 4, 58, 20}},                   // 4 px below the top, centred
        {4, false, true, {}, {42, 12, 58, 28}},
        {1, false, true, {}, {42, 20, 58, 36}},
        {9, true, true, {30, 13, 70, 26}, {0, 0, 16, 16}},       // outside 0-8: nothing placed
        {-1, false, true, {}, {0, 0, 16, 16}},
    };
    for (const Case& c : cases) {
        ButtonLayoutInput in{100, 40, c.caption, c.picture, 16, 16, c.align};
        int measured = 0;
        ButtonLayout out = CalcButtonLayout(in, 4, 4, [&](int32_t w, int32_t h) {
            ++measured;
            EXPECT_EQ(w, 100);
            EXPECT_EQ(h, 40);
            return Measure40x13(w, h);
        });
        SCOPED_TRACE(testing::Message() << "align " << c.align << " caption " << c.caption);
        EXPECT_EQ(measured, c.caption ? 1 : 0);
        EXPECT_EQ(out.caption, c.text);
        EXPECT_EQ(out.picture, c.pic);
    }
}

std::vector<int> GradientRows(int32_t c1, int32_t c2, float& split, int32_t y1, int32_t y2, int32_t height) {
    lumio::GradientV g = lumio::PlanGradientV(c1, c2, split, 0, y1, -1, y2, 100, height);
    std::vector<int> rows;
    if (!g.Empty())
        for (int32_t y = g.y1; y <= g.y2; ++y) rows.push_back(g.RowColour(y) & 0xFF);
    return rows;
}

TEST(ButtonGradient, FaceBandsOfA25PixelButton) {
    // Back 230: bands 250 -> 235 (rows 2-12) and 230 -> 204 (rows 12-23);
    // 230 shifted by -0.1 is 204.5, rounded to 204; the mid colours are
    // 242.5 -> 242 and 217.
    float split = 50;
    std::vector<int> top = GradientRows(0xFAFAFA, 0xEBEBEB, split, 2, 12, 25);
    EXPECT_FLOAT_EQ(split, 6.5f);  // (12 - 2 - 1) * 0.5 + 2, written back
    ASSERT_EQ(top.size(), 11u);
    EXPECT_EQ(top[0], 248);   // row 2: f = 2 / 6.5 counted from row 0
    EXPECT_EQ(top[4], 243);   // row 6: 250 - 8 * 6 / 6.5 = 242.6
    EXPECT_EQ(top[10], 235);  // row 12
    split = 50;
    std::vector<int> bottom = GradientRows(0xE6E6E6, 0xCCCCCC, split, 12, 23, 25);
    EXPECT_FLOAT_EQ(split, 17.0f);
    ASSERT_EQ(bottom.size(), 12u);
    EXPECT_EQ(bottom[0], 221);   // row 12: 230 - 13 * 12 / 17 = 220.8
    EXPECT_EQ(bottom[5], 217);   // row 17, the band edge
    EXPECT_EQ(bottom[6], 215);   // row 18: 217 - 13 / 6
    EXPECT_EQ(bottom[11], 204);  // last row
}

TEST(ButtonGradient, EdgesAndSplitAreClamped) {
    struct Case {
        float split;
        int32_t y1, y2;
        float writtenBack;
        std::vector<int> rows;
    } cases[] = {
        {50, 0, 1, 0, {200, 150}},                // s = 0 is used as 1
        {150, 0, 3, 2, {200, 175, 150, 100}},     // split 100 puts the edge at row 2
        {-5, 0, 2, 0, {200, 150, 100}},           // split 0: s 0, used as 1
        {50, 5, 2, 4.5f, {100}},                  // y2 above y1 is raised to y1
        {50, 0, -1, 0.5f, {200, 133, 100}},       // -1 is the last row of H = 3
    };
    for (auto& c : cases) {
        float split = c.split;
        auto rows = GradientRows(200, 100, split, c.y1, c.y2, 3);
        EXPECT_FLOAT_EQ(split, c.writtenBack) << c.split << " " << c.y1 << " " << c.y2;
        EXPECT_EQ(rows, c.rows) << c.split << " " << c.y1 << " " << c.y2;
    }
}

TEST(ButtonPicturePass, KeysOutEveryRowOfA14PixelWideBitmap) {
    const int w = 14, h = 5;
    ASSERT_EQ(Stride24(w), 44);
    std::vector<uint8_t> pic(44 * h), back(44 * h);
    const int32_t key = 0xFF00FF;  // magenta
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &pic[y * 44 + x * 3];
            bool keyed = (x + y) % 3 == 0 || x == w - 1;
            p[0] = keyed ? 0xFF : 10;
            p[1] = keyed ? 0x00 : 20;
            p[2] = keyed ? 0xFF : 30;
            uint8_t* b = &back[y * 44 + x * 3];
            b[0] = b[1] = b[2] = static_cast<uint8_t>(100 + y);
        }
    for (int y = 0; y < h; ++y) pic[y * 44 + 42] = pic[y * 44 + 43] = 0xEE;  // padding
    auto expected = pic;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x + y) % 3 == 0 || x == w - 1)
                for (int i = 0; i < 3; ++i) expected[y * 44 + x * 3 + i] = static_cast<uint8_t>(100 + y);
    KeyAndBlendPicture(pic.data(), back.data(), w, h, key, 1.0f, [](int32_t c) { return c; });
    EXPECT_EQ(pic, expected);
}

TEST(ButtonPicturePass, BlendsAtTheOpacityAndKeysThroughTheNearestColour) {
    struct Case {
        uint8_t back, pic;
        float opacity;
        uint8_t out;
    } cases[] = {
        {0, 255, 0.5f, 128},   // 127.5 to even
        {10, 20, 0.2f, 12},
        {200, 100, 0.2f, 180},
        {7, 9, 1.0f, 9},
        {50, 50, 0.1f, 50},
    };
    for (auto& c : cases) {
        std::vector<uint8_t> pic(4, c.pic), back(4, c.back);
        KeyAndBlendPicture(pic.data(), back.data(), 1, 1, std::nullopt, c.opacity, [](int32_t v) { return v; });
        EXPECT_EQ(pic[0], c.out) << int(c.back) << " " << int(c.pic) << " " << c.opacity;
        EXPECT_EQ(pic[3], c.pic);  // padding untouched
    }
    // A device that shows 0x010101 as black keys it out with a black key.
    std::vector<uint8_t> pic{1, 1, 1, 0}, back{9, 9, 9, 0};
    KeyAndBlendPicture(pic.data(), back.data(), 1, 1, 0, 1.0f, [](int32_t v) { return v == 0x010101 ? 0 : v; });
    EXPECT_EQ(pic[0], 9);
}

}  // namespace
