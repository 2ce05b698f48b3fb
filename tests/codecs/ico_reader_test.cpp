// The ICO and CUR reader natively, with stand-in DIB decoding: directory validation, the
// choice of entry, alpha from colour bits and from masks, PNG entries, and entries that
// do not hold what their headers promise.
#include "ico/ico_reader.h"

#include <gtest/gtest.h>

#include "support/image_builders.h"
#include "support/stand_in_decoder.h"

namespace {

using fixtures::Bytes;
using fixtures::IconImage;

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

void Load(std::span<const uint8_t> ico, Loaded &l, int32_t cx = 32, int32_t cy = 32, int32_t depth = 32) {
    lumio::IcoReader reader(&l.system);
    l.result = reader.LoadStream(ico, cx, cy, &l.surface, depth);
    l.why = reader.Failure();
}

// A 32-bit entry of w x h pixels, every pixel (b, g, r, a); its mask all clear.
Bytes Dib32(int32_t w, int32_t h, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    Bytes rows;
    for (int32_t i = 0; i < w * h; ++i) rows.insert(rows.end(), {b, g, r, a});
    return fixtures::IconDib(w, h, 32, {}, rows, Bytes(fixtures::RowBytes(1, uint32_t(w)) * uint32_t(h), 0));
}

// A 2 x 2 8-bit entry: palette 0 red, 1 green; left column index 0, right index 1; the
// mask makes the top-left pixel transparent.
Bytes Dib8() {
    Bytes palette(256 * 4, 0);
    palette[2] = 255;    // entry 0: red
    palette[4 + 1] = 255; // entry 1: green
    const Bytes rows = {0, 1, 0, 0, 0, 1, 0, 0};
    const Bytes mask = {0x00, 0, 0, 0, 0x80, 0, 0, 0}; // bottom row first
    return fixtures::IconDib(2, 2, 8, palette, rows, mask);
}

TEST(IcoReader, DirectoriesThatAreNotIconFiles) {
    using Why = lumio::DecodeFailure;
    const Bytes good = fixtures::IconFile(1, {{2, 2, 32, Dib32(2, 2, 1, 2, 3, 255)}});
    auto with = [&](size_t at, uint8_t v) {
        Bytes b = good;
        b[at] = v;
        return b;
    };
    Bytes outside = good; // sizes add up, but the image starts past the data
    outside[6 + 12] = 0xF0;
    Bytes tiny = fixtures::IconFile(1, {{2, 2, 32, Bytes(15, 0)}});
    Bytes noBits = fixtures::IconFile(1, {{2, 2, 0, Dib32(2, 2, 1, 2, 3, 255)}});
    noBits[6 + 16 + 14] = 0;
    const struct {
        const char *what;
        Bytes data;
        Why why;
    } cases[] = {
        {"six bytes, count 0", {0, 0, 1, 0, 0, 0}, Why::kNotThisFormat},
        {"five bytes", {0, 0, 1, 0, 1}, Why::kNotThisFormat},
        {"reserved not 0", with(0, 1), Why::kNotThisFormat},
        {"type 3", with(2, 3), Why::kNotThisFormat},
        {"directory cut short", Bytes(good.begin(), good.begin() + 20), Why::kNotThisFormat},
        {"sizes beyond the data", Bytes(good.begin(), good.end() - 1), Why::kNotThisFormat},
        {"image outside the data", outside, Why::kNotThisFormat},
        {"bit count past the end of the data", tiny, Why::kBadHeader},
        {"no bit count anywhere", noBits, Why::kBadHeader},
    };
    for (const auto &c : cases) {
        Loaded l;
        Load(c.data, l);
        EXPECT_FALSE(l.result) << c.what;
        EXPECT_FALSE(l.surface.HasImage()) << c.what;
        EXPECT_EQ(l.why, c.why) << c.what;
        lumio::IcoReader validator(nullptr);
        EXPECT_FALSE(validator.LoadStream(c.data, 0, 0, nullptr, 32)) << c.what;
    }
}

TEST(IcoReader, ChoosesTheClosestEntry) {
    // Only the header counts here; its bit count is the entry's.
    auto entry = [](uint8_t size, uint16_t bits) { return IconImage{size, size, 0, fixtures::IconDib(1, 1, bits, {}, {}, {})}; };
    const struct {
        const char *what;
        std::vector<IconImage> entries;
        int32_t cx, cy, depth, chosen;
    } cases[] = {
        {"larger at 8 bits beats larger at 32", {entry(16, 32), entry(32, 8), entry(48, 32)}, 32, 32, 32, 2},
        {"exact match at once", {entry(16, 32), entry(32, 8), entry(32, 32), entry(32, 32)}, 32, 32, 32, 3},
        {"all smaller: nearest, deepest", {entry(16, 8), entry(24, 4), entry(24, 32), entry(16, 32)}, 48, 48, 32, 3},
        {"all smaller, tie: the later", {entry(16, 32), entry(16, 32)}, 48, 48, 32, 2},
        {"only deeper than 32", {entry(16, 64), entry(16, 48)}, 16, 16, 32, 1},
        {"huge wanted sizes: none qualifies", {entry(16, 32), entry(0, 32)}, INT32_MAX, INT32_MIN + 1, 32, 1},
    };
    for (const auto &c : cases) {
        const Bytes ico = fixtures::IconFile(1, c.entries);
        lumio::IcoReader reader(nullptr);
        ASSERT_TRUE(reader.LoadStream(ico, 0, 0, nullptr, 32)) << c.what;
        EXPECT_EQ(reader.SelectBestEntry(c.cx, c.cy, c.depth), c.chosen) << c.what;
    }
}

TEST(IcoReader, ReadMembersCountSizeByteZeroAs256) {
    const uint32_t maskSize = fixtures::RowBytes(1, 256) * 256;
    Bytes dib = fixtures::IconDib(256, 256, 4, Bytes(16 * 4, 0), Bytes(fixtures::RowBytes(4, 256) * 256, 0),
                                  Bytes(maskSize, 0));
    const Bytes ico = fixtures::IconFile(1, {{0, 0, 4, dib}, {16, 16, 32, Dib32(16, 16, 0, 0, 0, 0)}});
    lumio::IcoReader reader(nullptr);
    ASSERT_TRUE(reader.LoadStream(ico, 0, 0, nullptr, 32));
    EXPECT_EQ(reader.IconCount(), 2);
    EXPECT_EQ(reader.Width(1), 256);
    EXPECT_EQ(reader.Height(1), 256);
    EXPECT_EQ(reader.bitDepth(1), 4);
    EXPECT_EQ(reader.ColorCount(1), 16);
    EXPECT_EQ(reader.ColorByteOffset(1), 6 + 32 + 40 + 64);
    EXPECT_EQ(reader.MaskOffset(1), 6 + 32 + int64_t(dib.size()) - maskSize);
    EXPECT_EQ(reader.ColorCount(2), 0);
    EXPECT_FALSE(reader.IsIconPNG(2));
    EXPECT_EQ(reader.Width(3), 0); // no such entry
}

TEST(IcoReader, ThirtyTwoBitEntriesTakeAlphaFromTheirBits) {
    const struct {
        uint16_t type;
        uint8_t alpha;
        Bytes pixel;
        int32_t imageType;
    } cases[] = {
        {1, 0, {0, 0, 0, 0}, 8},          // alpha 0 everywhere: fully transparent
        {1, 255, {40, 80, 120, 255}, 8},
        {1, 128, {20, 40, 60, 128}, 8},   // premultiplied, rounded down
        {2, 128, {20, 40, 60, 128}, 12},  // a cursor
    };
    for (const auto &c : cases) {
        Loaded l;
        Load(fixtures::IconFile(c.type, {{2, 2, 32, Dib32(2, 2, 40, 80, 120, c.alpha)}}), l);
        ASSERT_TRUE(l.result);
        ASSERT_TRUE(l.surface.HasImage());
        EXPECT_TRUE(l.surface.Alpha());
        EXPECT_EQ(l.surface.ImageType(), c.imageType);
        EXPECT_EQ(l.At(1, 1), c.pixel);
    }
}

TEST(IcoReader, MaskedEntriesTakeAlphaFromTheMask) {
    for (const uint16_t type : {1, 2}) {
        Loaded l;
        Load(fixtures::IconFile(type, {{2, 2, 8, Dib8()}}), l);
        ASSERT_TRUE(l.surface.HasImage());
        EXPECT_EQ(l.surface.ImageType(), type == 1 ? 3 : 5);
        EXPECT_TRUE(l.surface.Alpha());
        EXPECT_EQ(l.At(0, 0), (Bytes{0, 0, 0, 0}));
        EXPECT_EQ(l.At(1, 0), (Bytes{0, 255, 0, 255}));
        EXPECT_EQ(l.At(0, 1), (Bytes{0, 0, 255, 255}));
    }
    // A mask with no set bit: opaque, Alpha False.
    Bytes clear = Dib8();
    clear[clear.size() - 4] = 0;
    Loaded l;
    Load(fixtures::IconFile(1, {{2, 2, 8, clear}}), l);
    EXPECT_FALSE(l.surface.Alpha());
    EXPECT_EQ(l.At(0, 0), (Bytes{0, 0, 255, 255}));
}

TEST(IcoReader, HeaderIsPreparedInACopy) {
    Bytes dib = Dib8();
    dib[14] = 0; // no bit count in the header: the directory's 8 is used
    const Bytes ico = fixtures::IconFile(1, {{2, 2, 8, dib}});
    const Bytes before = ico;
    Loaded l;
    Load(ico, l);
    EXPECT_EQ(ico, before);
    ASSERT_TRUE(l.surface.HasImage());
    const Bytes &info = l.system.lastInfo;
    ASSERT_EQ(info.size(), 40u + 256 * 4);
    EXPECT_EQ(info[8], 2);   // the colour bitmap's height, not the doubled one
    EXPECT_EQ(info[14], 8);  // the missing bit count
    EXPECT_EQ(info[32] | info[33] << 8, 256); // colours used
}

TEST(IcoReader, ChosenEntryThatDoesNotHoldItsImage) {
    using Why = lumio::DecodeFailure;
    auto field = [](Bytes dib, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) dib[at + size_t(i)] = uint8_t(v >> (8 * i));
        return dib;
    };
    const Bytes d = Dib8();
    const struct {
        const char *what;
        Bytes dib;
        Why why;
    } cases[] = {
        {"header size below 40", field(d, 0, 12), Why::kUnsupported},
        {"header size past the entry", field(d, 0, 0x10000), Why::kUnsupported},
        {"header width wider than its bits", field(d, 4, 64), Why::kTruncated},
        {"compressed bits", field(d, 16, 1), Why::kUnsupported},
        {"bits cut short", Bytes(d.begin(), d.end() - 9), Why::kTruncated},
        {"unknown bit count", field(d, 14, 7), Why::kUnsupported},
    };
    for (const auto &c : cases) {
        Loaded l;
        Load(fixtures::IconFile(1, {{2, 2, 8, c.dib}}), l);
        EXPECT_TRUE(l.result) << c.what;
        EXPECT_FALSE(l.surface.HasImage()) << c.what;
        EXPECT_EQ(l.why, c.why) << c.what;
    }
}

// The bit count comes from the image data, not from the size an entry declares.
TEST(IcoReader, EntriesDeclaringFewerBytesThanTheirHeader) {
    auto declare = [](Bytes ico, size_t entry, uint8_t size) {
        const size_t at = 6 + 16 * entry + 8;
        ico[at] = size;
        ico[at + 1] = ico[at + 2] = ico[at + 3] = 0;
        return ico;
    };
    // One cursor entry declaring 8 bytes, a whole header at its offset: a cursor file whose
    // entry does not hold its image.
    const Bytes cursor = declare(fixtures::IconFile(2, {{2, 2, 0, Dib32(2, 2, 1, 2, 3, 255)}}), 0, 8);
    Loaded c;
    Load(cursor, c);
    EXPECT_TRUE(c.result);
    EXPECT_FALSE(c.surface.HasImage());
    EXPECT_EQ(c.why, lumio::DecodeFailure::kTruncated);
    lumio::IcoReader validator(nullptr);
    EXPECT_TRUE(validator.LoadStream(cursor, 0, 0, nullptr, 32));
    EXPECT_TRUE(validator.IsCursor());
    EXPECT_EQ(validator.bitDepth(1), 32);

    // Two icon entries: an unused 16 x 16 one of 8 bytes, and the whole 32 x 32 one wanted.
    const Bytes icon = fixtures::IconFile(1, {{16, 16, 32, Bytes(8, 0)}, {32, 32, 32, Dib32(32, 32, 10, 20, 30, 255)}});
    Loaded i;
    Load(icon, i, 32, 32, 32);
    ASSERT_TRUE(i.result);
    ASSERT_TRUE(i.surface.HasImage());
    EXPECT_EQ(i.surface.Width(), 32);
    EXPECT_EQ(i.At(31, 31), (Bytes{10, 20, 30, 255}));

    // A PNG entry declaring fewer bytes than its signature: an icon without its image.
    Bytes rgba;
    for (int n = 0; n < 4; ++n) rgba.insert(rgba.end(), {255, 0, 0, 255});
    const Bytes png = declare(fixtures::IconFile(1, {{2, 2, 0, fixtures::PngRgba(2, 2, rgba)}}), 0, 4);
    Loaded p;
    Load(png, p);
    EXPECT_TRUE(p.result);
    EXPECT_FALSE(p.surface.HasImage());
    lumio::IcoReader pngValidator(nullptr);
    EXPECT_TRUE(pngValidator.LoadStream(png, 0, 0, nullptr, 32));
    EXPECT_TRUE(pngValidator.IsIconPNG(1));
}

TEST(IcoReader, BitFieldEntries) {
    using fixtures::BitFieldIconDib;
    using Row = std::vector<Bytes>; // B, G, R, A of each pixel, left to right
    const uint8_t clear[] = {0, 0, 0, 0};
    const Bytes noMask(clear, clear + 4);
    const struct {
        const char *what;
        Bytes dib;
        int32_t imageType;
        bool alpha;
        std::vector<Row> rows; // top row first
    } cases[] = {
        // Odd width: each row ends in two padding bytes. The mask hides the top-left pixel.
        {"16 bits, 565",
         BitFieldIconDib(16, {0xF800, 0x07E0, 0x001F}, {{0x001F, 0xFFFF, 0x0000}, {0xF800, 0x07E0, 0x8410}},
                         {0, 0, 0, 0, 0x80, 0, 0, 0}),
         3, true,
         {{{0, 0, 0, 0}, {0, 255, 0, 255}, {132, 130, 132, 255}}, {{255, 0, 0, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}}}},
        {"16 bits, 555: the top bit is no colour",
         BitFieldIconDib(16, {0x7C00, 0x03E0, 0x001F}, {{0xFC00, 0x801F, 0x4210}}, noMask), 3, false,
         {{{0, 0, 255, 255}, {255, 0, 0, 255}, {132, 132, 132, 255}}}},
        {"one-bit and empty fields",
         BitFieldIconDib(16, {0x8000, 0, 0x0003}, {{0x8000, 0x7FFF, 0x0001}}, noMask), 3, false,
         {{{0, 0, 255, 255}, {255, 0, 0, 255}, {85, 0, 0, 255}}}},
        {"32 bits: alpha from the free top byte",
         BitFieldIconDib(32, {0xFF0000, 0xFF00, 0xFF}, {{0xFF102030, 0x80402010, 0x00FFFFFF}}, noMask), 8, true,
         {{{0x30, 0x20, 0x10, 255}, {8, 16, 32, 128}, {0, 0, 0, 0}}}},
        {"32 bits, colour in the top byte: alpha from the mask",
         BitFieldIconDib(32, {0xFF000000, 0xFF0000, 0xFF00}, {{0x11223300, 0xFFFFFFFF}}, {0x40, 0, 0, 0}), 3, true,
         {{{0x33, 0x22, 0x11, 255}, {0, 0, 0, 0}}}},
        {"masks inside a larger header",
         BitFieldIconDib(16, {0xF800, 0x07E0, 0x001F}, {{0x001F, 0x07E0}}, noMask, 108), 3, false,
         {{{255, 0, 0, 255}, {0, 255, 0, 255}}}},
    };
    for (const auto &c : cases) {
        const auto width = uint8_t(c.rows[0].size()), height = uint8_t(c.rows.size());
        Loaded l;
        Load(fixtures::IconFile(1, {{width, height, 0, c.dib}}), l);
        ASSERT_TRUE(l.result) << c.what;
        ASSERT_TRUE(l.surface.HasImage()) << c.what;
        EXPECT_EQ(l.why, lumio::DecodeFailure::kNone) << c.what;
        EXPECT_EQ(l.system.lastInfo.size(), 0u) << c.what << ": not the system's to decode";
        EXPECT_EQ(l.surface.ImageType(), c.imageType) << c.what;
        EXPECT_EQ(l.surface.Alpha(), c.alpha) << c.what;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                EXPECT_EQ(l.At(x, y), c.rows[size_t(y)][size_t(x)]) << c.what << " at " << x << "," << y;
    }
}

TEST(IcoReader, BitFieldEntriesThatDoNotHoldTheirImage) {
    using Why = lumio::DecodeFailure;
    using fixtures::BitFieldIconDib;
    const Bytes mask = {0, 0, 0, 0};
    const Bytes d16 = BitFieldIconDib(16, {0xF800, 0x07E0, 0x001F}, {{1, 2, 3}}, mask);
    const Bytes d32 = BitFieldIconDib(32, {0xFF0000, 0xFF00, 0xFF}, {{1, 2, 3}}, mask);
    auto cut = [](const Bytes &dib, size_t keep) { return Bytes(dib.begin(), dib.begin() + ptrdiff_t(keep)); };
    Bytes at24 = BitFieldIconDib(32, {0xFF0000, 0xFF00, 0xFF}, {{1, 2, 3}}, mask);
    at24[14] = 24;
    const struct {
        const char *what;
        Bytes dib;
        Why why;
    } cases[] = {
        {"masks cut short", cut(d16, 40 + 8), Why::kTruncated},
        {"16-bit pixels cut short", cut(d16, 40 + 12 + 5), Why::kTruncated},
        {"32-bit pixels cut short", cut(d32, 40 + 12 + 11), Why::kTruncated},
        {"bit fields at 24 bits", at24, Why::kUnsupported},
        {"header too short to hold the masks", BitFieldIconDib(16, {0xF800, 0x07E0, 0x001F}, {{1, 2, 3}}, mask, 44),
         Why::kUnsupported},
    };
    for (const auto &c : cases) {
        Loaded l;
        Load(fixtures::IconFile(1, {{3, 1, 0, c.dib}}), l);
        EXPECT_TRUE(l.result) << c.what;
        EXPECT_FALSE(l.surface.HasImage()) << c.what;
        EXPECT_EQ(l.why, c.why) << c.what;
    }
}

TEST(IcoReader, PngEntries) {
    Bytes rgba;
    for (int i = 0; i < 4; ++i) rgba.insert(rgba.end(), {255, 0, 0, 128});
    const Bytes png = fixtures::PngRgba(2, 2, rgba);
    Loaded l;
    Load(fixtures::IconFile(1, {{2, 2, 0, png}}), l);
    ASSERT_TRUE(l.result);
    ASSERT_TRUE(l.surface.HasImage());
    EXPECT_EQ(l.surface.ImageType(), 11);
    EXPECT_EQ(l.At(0, 0), (Bytes{0, 0, 128, 128}));

    lumio::IcoReader reader(nullptr);
    ASSERT_TRUE(reader.LoadStream(fixtures::IconFile(1, {{9, 9, 0, png}}), 0, 0, nullptr, 32));
    EXPECT_TRUE(reader.IsIconPNG(1));
    EXPECT_EQ(reader.Width(1), 2); // from the PNG's own header
    EXPECT_EQ(reader.bitDepth(1), 32);

    // "IHDR" where a bit count would be, but no PNG signature: no icon file.
    Bytes badSignature = png;
    badSignature[1] = 'X';
    Loaded b;
    Load(fixtures::IconFile(1, {{2, 2, 0, badSignature}}), b);
    EXPECT_FALSE(b.result);
}

} // namespace
