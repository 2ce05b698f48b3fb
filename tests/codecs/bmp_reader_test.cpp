// The BMP reader natively: 32-bit files read directly (alpha kept, either row order, at an
// offset), everything else handed to the system's picture loader, and headers it refuses.
#include "bmp/bmp_reader.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/image_builders.h"
#include "support/stand_in_decoder.h"

namespace {

using fixtures::Bytes;

struct Loaded {
    bool result = false;
    lumio::DecodeFailure why = lumio::DecodeFailure::kNone;
    lumio::MemorySurface surface;
    StandInDecoder system;
    Bytes At(int32_t x, int32_t y) const {
        const uint8_t *p = surface.RowFromTop(y) + size_t(x) * 4;
        return Bytes(p, p + 4);
    }
};

void Load(std::span<const uint8_t> bmp, Loaded &l) {
    lumio::BmpReader reader(l.system);
    l.result = reader.LoadStream(bmp, l.surface);
    l.why = reader.Failure();
}

// Two rows of two pixels, as stored: B, G, R, A each.
const Bytes kRows = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0};

TEST(BmpReader, BottomUpWithoutAlphaIsOpaque) {
    Loaded l;
    Load(fixtures::BmpFile(2, 2, 32, 0, kRows), l);
    ASSERT_TRUE(l.result);
    ASSERT_TRUE(l.surface.HasImage());
    EXPECT_FALSE(l.surface.Alpha());
    EXPECT_EQ(l.surface.ImageType(), 1);
    EXPECT_EQ(l.At(0, 1), (Bytes{1, 2, 3, 255})); // the file's first row is the bottom one
    EXPECT_EQ(l.At(1, 0), (Bytes{10, 11, 12, 255}));
    EXPECT_EQ(l.system.pictureLoaderCalls, 0);
}

TEST(BmpReader, StraightAlphaIsPremultiplied) {
    const Bytes rows = {200, 100, 50, 128, 0, 0, 0, 0, 10, 20, 30, 255, 255, 255, 255, 255};
    Loaded l;
    Load(fixtures::BmpFile(2, 2, 32, 0, rows), l);
    ASSERT_TRUE(l.surface.HasImage());
    EXPECT_TRUE(l.surface.Alpha());
    EXPECT_EQ(l.surface.ImageType(), 6);
    EXPECT_EQ(l.At(0, 1), (Bytes{100, 50, 25, 128}));
}

TEST(BmpReader, TopDownAndOffsetFilesLoadUpright) {
    const Bytes topDown = fixtures::BmpFile(2, -2, 32, 0, kRows);
    Bytes embedded(37, 0xEE);
    fixtures::Append(embedded, topDown);
    embedded.insert(embedded.end(), 5, 0xEE);
    for (const std::span<const uint8_t> data :
         {std::span<const uint8_t>(topDown), std::span<const uint8_t>(embedded).subspan(37, topDown.size())}) {
        Loaded l;
        Load(data, l);
        ASSERT_TRUE(l.surface.HasImage());
        EXPECT_EQ(l.At(0, 0), (Bytes{1, 2, 3, 255}));
        EXPECT_EQ(l.At(1, 1), (Bytes{10, 11, 12, 255}));
    }
    // A gap between header and rows is honoured.
    Loaded gap;
    Load(fixtures::BmpFile(2, 2, 32, 0, kRows, {}, 9), gap);
    EXPECT_EQ(gap.At(0, 1), (Bytes{1, 2, 3, 255}));
}

TEST(BmpReader, RefusedHeadersDoNotReachThePictureLoader) {
    for (const int32_t width : {0, -1, INT_MIN}) {
        Loaded l;
        Load(fixtures::BmpFile(width, 2, 32, 0, kRows), l);
        EXPECT_FALSE(l.result) << width;
        EXPECT_EQ(l.why, lumio::DecodeFailure::kBadHeader) << width;
        EXPECT_EQ(l.system.pictureLoaderCalls, 0) << width;
    }
    Loaded zeroHeight;
    Load(fixtures::BmpFile(2, 0, 24, 0, kRows), zeroHeight);
    EXPECT_FALSE(zeroHeight.result);
    EXPECT_EQ(zeroHeight.why, lumio::DecodeFailure::kBadHeader);
    EXPECT_EQ(zeroHeight.system.pictureLoaderCalls, 0);
}

Bytes WithField(Bytes b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
    return b;
}

TEST(BmpReader, EverythingElseGoesToThePictureLoader) {
    const Bytes good = fixtures::BmpFile(2, 2, 32, 0, kRows);
    Bytes notBmp(good);
    notBmp[0] = 'X';
    const struct {
        const char *what;
        Bytes data;
        int16_t bitCount;
    } cases[] = {
        {"24 bits", fixtures::BmpFile(2, 2, 24, 0, Bytes(16, 0)), 24},
        {"8 bits", fixtures::BmpFile(2, 2, 8, 0, Bytes(8, 0), Bytes(8, 0)), 8},
        {"bit fields", fixtures::BmpFile(2, 2, 32, 3, kRows), 32},
        {"not BM", notBmp, 0},
        {"rows cut short", Bytes(good.begin(), good.end() - 1), 32},
        {"negative bits offset", WithField(good, 10, 0xFFFFFFF0u), 32},
        {"bits offset past the end", WithField(good, 10, 0x7FFFFFF0u), 32},
        {"rows overflow 32 bits", WithField(WithField(good, 18, 0x20000000u), 22, 0x20000000u), 32},
        {"rows overflow 64 bits", WithField(WithField(good, 18, 0x7FFFFFFFu), 22, 0x7FFFFFFFu), 32},
        {"height of -2^31", WithField(good, 22, 0x80000000u), 32},
        {"header cut short", Bytes(good.begin(), good.begin() + 20), 0},
    };
    for (const auto &c : cases) {
        Loaded l;
        Load(c.data, l);
        EXPECT_EQ(l.system.pictureLoaderCalls, 1) << c.what;
        EXPECT_EQ(l.system.lastBitCount, c.bitCount) << c.what;
        EXPECT_FALSE(l.result) << c.what; // the stand-in loader refuses all
        EXPECT_EQ(l.why, lumio::DecodeFailure::kNotThisFormat) << c.what; // refused: the chain goes on
        EXPECT_FALSE(l.surface.HasImage()) << c.what;
    }
}

} // namespace

namespace {

TEST(BmpReader, HimetricToPixels) {
    const struct {
        int32_t himetric;
        double twips;
        int32_t pixels;
    } cases[] = {{2540, 15, 96}, {2540, 12, 120}, {0, 15, 0}, {-2540, 15, -96},
                 {1, 15, 0}, {INT32_MAX, 15, 81164736}, {2540, 0, 0}};
    for (const auto &c : cases) EXPECT_EQ(lumio::HimetricToPixels(c.himetric, c.twips), c.pixels) << c.himetric;
}

} // namespace
