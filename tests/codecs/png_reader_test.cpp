// The PNG reader on small hand-built files: chunk walk, header rules, transparency, pixel
// conversion and the faults that must end in "recognised, no image".
#include "png/png_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "support/libpng_reference.h"
#include "support/png_builder.h"
#include "zlib/native/system_zlib.h"

using namespace lumio;

namespace {

using Bytes = std::vector<uint8_t>;

// A file-like source: the same bytes, with the size test of a file.
class FileLikeSource final : public ByteSource {
public:
    explicit FileLikeSource(const Bytes &b) : ByteSource(b.size()), inner_(b) {}
    const uint8_t *Fetch(uint64_t offset, size_t n) override { return inner_.Fetch(offset, n); }
    bool IsFile() const noexcept override { return true; }

private:
    MemoryByteSource inner_;
};

struct Result {
    bool recognised = false;
    DecodeFailure why = DecodeFailure::kNone;
    lumio::MemorySurface surface;
    bool HasImage() const { return surface.HasImage(); }
    // Pixel (x, y) from the top-left as B, G, R, A.
    Bytes At(int32_t x, int32_t y) const {
        const uint8_t *p = surface.RowFromTop(y) + size_t(x) * 4;
        return Bytes(p, p + 4);
    }
};

void Load(const Bytes &png, bool withZlib, Result &r, const PngReader::FirstDecoder &first = {}) {
    PngReader reader(withZlib ? PngReader::ZlibLoader(SystemZlib) : PngReader::ZlibLoader());
    lumio::MemoryByteSource source(png);
    r.recognised = reader.ParsePNG(source, r.surface, first);
    r.why = reader.Failure();
}

// One-row images: filter byte 0 then the samples.
Bytes Row(Bytes samples, uint8_t filter = 0) {
    samples.insert(samples.begin(), filter);
    return samples;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes &p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(PngReader, PixelConversion) {
    struct Case {
        const char *name;
        Bytes png;
        Bytes pixel0;  // B, G, R, A of the top-left pixel
        bool alpha;
    };
    const Case cases[] = {
        {"opaque RGB", PngBuilder().IHDR(1, 1, 8, 2).IDAT(Row({255, 0, 0})).IEND(), {0, 0, 255, 255}, false},
        {"RGBA, truncating premultiplication", PngBuilder().IHDR(1, 1, 8, 6).IDAT(Row({200, 100, 50, 128})).IEND(),
         {25, 50, 100, 128}, true},
        {"alpha 0 clears the colour", PngBuilder().IHDR(1, 1, 8, 6).IDAT(Row({200, 100, 50, 0})).IEND(), {0, 0, 0, 0}, true},
        {"grey + alpha", PngBuilder().IHDR(1, 1, 8, 4).IDAT(Row({100, 51})).IEND(), {20, 20, 20, 51}, true},
        {"16-bit RGBA uses high bytes", PngBuilder().IHDR(1, 1, 16, 6).IDAT(Row({200, 9, 100, 9, 50, 9, 128, 255})).IEND(),
         {25, 50, 100, 128}, true},
        {"palette without PLTE, 1 bit: 1 is white", PngBuilder().IHDR(1, 1, 1, 3).IDAT(Row({0x80})).IEND(),
         {255, 255, 255, 255}, false},
        {"palette without PLTE, 8 bits: black", PngBuilder().IHDR(1, 1, 8, 3).IDAT(Row({7})).IEND(), {0, 0, 0, 255}, false},
        {"PLTE after IDAT still counts",
         PngBuilder().IHDR(1, 1, 8, 3).IDAT(Row({1})).Chunk("PLTE", {1, 2, 3, 4, 5, 6}).IEND(), {6, 5, 4, 255}, false},
        {"a later PLTE replaces the first",
         PngBuilder().IHDR(1, 1, 8, 3).Chunk("PLTE", {1, 2, 3}).Chunk("PLTE", {9, 8, 7}).IDAT(Row({0})).IEND(),
         {7, 8, 9, 255}, false},
        {"PLTE ignored for grey",
         PngBuilder().IHDR(1, 1, 2, 0).Chunk("PLTE", {1, 2, 3, 4, 5, 6}).IDAT(Row({0x40})).IEND(), {85, 85, 85, 255}, false},
        {"palette alpha from tRNS",
         PngBuilder().IHDR(1, 1, 8, 3).Chunk("PLTE", {200, 100, 50}).Chunk("tRNS", {128}).IDAT(Row({0})).IEND(),
         {25, 50, 100, 128}, true},
        {"ancillary and unknown (also critical) chunks skipped",
         PngBuilder().IHDR(1, 1, 8, 2).Chunk("tEXt", {'a', 0, 'b'}).Chunk("gAMA", {0, 0, 0, 1}).Chunk("zZZZ", {1}).Chunk("QQQQ", {2}).IDAT(Row({1, 2, 3})).IEND(),
         {3, 2, 1, 255}, false},
        {"unknown filter type: row kept as stored", PngBuilder().IHDR(2, 1, 8, 0).IDAT(Row({10, 20}, 5)).IEND(),
         {10, 10, 10, 255}, false},
        {"empty IDAT skipped", PngBuilder().IHDR(1, 1, 8, 2).Chunk("IDAT", {}).IDAT(Row({1, 2, 3})).IEND(), {3, 2, 1, 255}, false},
        {"IEND with data ends the walk",
         PngBuilder().IHDR(1, 1, 8, 2).IDAT(Row({1, 2, 3})).Chunk("IEND", {1, 2}).Raw({0xDE, 0xAD}), {3, 2, 1, 255}, false},
        {"no IEND: the walk runs into the end", PngBuilder().IHDR(1, 1, 8, 2).IDAT(Row({1, 2, 3})), {}, false},
    };
    for (const Case &c : cases) {
        Result r;
        Load(c.png, true, r);
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(r.recognised);
        if (c.pixel0.empty()) {
            EXPECT_FALSE(r.HasImage());
            EXPECT_EQ(r.why, DecodeFailure::kTruncated);
            continue;
        }
        EXPECT_EQ(r.why, DecodeFailure::kNone);
        ASSERT_TRUE(r.HasImage());
        EXPECT_EQ(r.At(0, 0), c.pixel0);
        EXPECT_EQ(r.surface.Alpha(), c.alpha);
        EXPECT_EQ(r.surface.ImageType(), 10);
    }
}

TEST(PngReader, RowsAreStoredBottomUp) {
    Result r;
    Load(PngBuilder().IHDR(1, 2, 8, 0).IDAT(Cat({Row({10}), Row({20})})).IEND(), false, r);
    ASSERT_TRUE(r.HasImage());
    EXPECT_EQ(r.surface.BitsPointer()[0], 20);  // the bottom row comes first in memory
    EXPECT_EQ(r.surface.BitsPointer()[4], 10);
}

TEST(PngReader, GreyLevelsOfLowBitDepths) {
    Result r;
    Load(PngBuilder().IHDR(4, 1, 2, 0).IDAT(Row({0b00011011})).IEND(), false, r);
    ASSERT_TRUE(r.HasImage());
    for (int x = 0; x < 4; ++x) EXPECT_EQ(r.At(x, 0)[0], x * 85);
}

TEST(PngReader, TransparencyKeys) {
    // 16-bit keys compare high bytes only; an 8-bit grey key compares the whole sample.
    Result rgb16;
    Load(PngBuilder().IHDR(2, 1, 16, 2).Chunk("tRNS", {1, 0, 2, 0, 3, 0})
             .IDAT(Row({1, 77, 2, 88, 3, 99, 1, 0, 2, 0, 4, 0})).IEND(),
         true, rgb16);
    ASSERT_TRUE(rgb16.HasImage());
    EXPECT_EQ(rgb16.At(0, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(rgb16.At(1, 0), (Bytes{4, 2, 1, 255}));
    EXPECT_TRUE(rgb16.surface.Alpha());

    Result grey16;
    Load(PngBuilder().IHDR(2, 1, 16, 0).Chunk("tRNS", {7, 1}).IDAT(Row({7, 200, 8, 1})).IEND(), true, grey16);
    ASSERT_TRUE(grey16.HasImage());
    EXPECT_EQ(grey16.At(0, 0)[3], 0);
    EXPECT_EQ(grey16.At(1, 0)[3], 255);

    Result grey8;
    Load(PngBuilder().IHDR(2, 1, 8, 0).Chunk("tRNS", {0, 7}).IDAT(Row({7, 8})).IEND(), true, grey8);
    ASSERT_TRUE(grey8.HasImage());
    EXPECT_EQ(grey8.At(0, 0)[3], 0);
    EXPECT_EQ(grey8.At(1, 0)[3], 255);

    // A palette tRNS of 3 entries: the rest of the palette is opaque.
    Bytes plte;
    for (int i = 0; i < 5; ++i) plte.insert(plte.end(), {255, 255, 255});
    Result pal;
    Load(PngBuilder().IHDR(5, 1, 8, 3).Chunk("PLTE", plte).Chunk("tRNS", {0, 51, 102}).IDAT(Row({0, 1, 2, 3, 4})).IEND(),
         true, pal);
    ASSERT_TRUE(pal.HasImage());
    const uint8_t alphas[] = {0, 51, 102, 255, 255};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(pal.At(x, 0)[3], alphas[x]) << x;

    // A tRNS chunk with a wrong CRC (checked with zlib) is skipped alone: opaque, and loaded.
    Result badTrns;
    Load(PngBuilder().IHDR(1, 1, 8, 0).Chunk("tRNS", {0, 7}, 0x12345678).IDAT(Row({7})).IEND(), true, badTrns);
    ASSERT_TRUE(badTrns.HasImage());
    EXPECT_FALSE(badTrns.surface.Alpha());
    EXPECT_EQ(badTrns.At(0, 0), (Bytes{7, 7, 7, 255}));

    // A short grey or RGB tRNS gives no key.
    Result shortKey;
    Load(PngBuilder().IHDR(1, 1, 8, 2).Chunk("tRNS", {0, 1, 0, 2}).IDAT(Row({1, 2, 3})).IEND(), true, shortKey);
    ASSERT_TRUE(shortKey.HasImage());
    EXPECT_FALSE(shortKey.surface.Alpha());
}

TEST(PngReader, InterlacedImageOneColumnWide) {
    // Width 1, height 3: passes 1 (row 0), 5 (row 2) and 7 (row 1) hold pixels.
    const Bytes raw = Cat({Row({10}), Row({30}), Row({20})});
    Result r;
    Load(PngBuilder().IHDR(1, 3, 8, 0, 1).IDAT(raw).IEND(), false, r);
    ASSERT_TRUE(r.HasImage());
    EXPECT_EQ(r.At(0, 0)[0], 10);
    EXPECT_EQ(r.At(0, 1)[0], 20);
    EXPECT_EQ(r.At(0, 2)[0], 30);
}

TEST(PngReader, CrcsAreCheckedOnlyWithZlibAndWhenStored) {
    const Bytes rows = PngBuilder::Compress(Row({1, 2, 3}));
    const Bytes badIdat = PngBuilder().IHDR(1, 1, 8, 2).Chunk("IDAT", rows, 0xBAD).IEND();
    const Bytes zeroCrc = PngBuilder().IHDR(1, 1, 8, 2).Chunk("IDAT", rows, 0).IEND();
    const Bytes swapped = PngBuilder().IHDR(1, 1, 8, 2)
        .Chunk("IDAT", rows, __builtin_bswap32(PngBuilder::Crc("IDAT", rows))).IEND();
    const Bytes badHeader = PngBuilder().Chunk("IHDR", PngBuilder::Header(1, 1, 8, 2), 1).IDAT(Row({1, 2, 3})).IEND();
    constexpr DecodeFailure kImage = DecodeFailure::kNone, kCrc = DecodeFailure::kBadChecksum;
    struct Case {
        const char *name;
        const Bytes &png;
        bool withZlib;
        DecodeFailure why;
    } cases[] = {
        {"bad IDAT CRC without zlib", badIdat, false, kImage}, {"bad IDAT CRC with zlib", badIdat, true, kCrc},
        {"stored CRC 0", zeroCrc, true, kImage},               {"byte-swapped CRC", swapped, true, kCrc},
        {"bad IHDR CRC with zlib", badHeader, true, kCrc},     {"bad IHDR CRC without zlib", badHeader, false, kImage},
    };
    for (const Case &c : cases) {
        Result r;
        Load(c.png, c.withZlib, r);
        EXPECT_TRUE(r.recognised) << c.name;
        EXPECT_EQ(r.HasImage(), c.why == kImage) << c.name;
        EXPECT_STREQ(DecodeFailureName(r.why), DecodeFailureName(c.why)) << c.name;
    }
}

TEST(PngReader, BadDataGivesNoImage) {
    const Bytes idat = PngBuilder::Compress(Row({1, 2, 3}));
    auto withLength = [&](uint32_t length) {
        Bytes png = PngBuilder().IHDR(1, 1, 8, 2).Chunk("IDAT", idat).IEND();
        const size_t at = 8 + 25;  // the IDAT chunk's length field
        png[at] = uint8_t(length >> 24), png[at + 1] = uint8_t(length >> 16), png[at + 2] = uint8_t(length >> 8),
        png[at + 3] = uint8_t(length);
        return png;
    };
    Bytes shortHeader = PngBuilder::Header(1, 1, 8, 2);
    shortHeader.resize(12);
    Bytes longHeader = PngBuilder::Header(1, 1, 8, 2);
    longHeader.push_back(0xEE);
    using Why = DecodeFailure;
    const struct Case {
        const char *name;
        Bytes png;
        DecodeFailure why;  // kNone: an image is built
    } cases[] = {
        {"width 0", PngBuilder().IHDR(0, 1, 8, 2).IDAT(Row({1, 2, 3})).IEND(), Why::kBadHeader},
        {"height above 2^31", PngBuilder().IHDR(1, 0x80000001u, 8, 2).IDAT(Row({1, 2, 3})).IEND(), Why::kBadHeader},
        {"8192 x 8192 pixels", PngBuilder().IHDR(8192, 8192, 1, 0).IDAT(Row({0})).IEND(), Why::kTooLarge},
        {"IHDR of 12 bytes", PngBuilder().Chunk("IHDR", shortHeader).IDAT(Row({1, 2, 3})).IEND(), Why::kBadHeader},
        {"IHDR of 14 bytes", PngBuilder().Chunk("IHDR", longHeader).IDAT(Row({1, 2, 3})).IEND(), Why::kNone},
        {"RGB at 4 bits", PngBuilder().IHDR(1, 1, 4, 2).IDAT(Row({0x12, 0x30})).IEND(), Why::kBadHeader},
        {"grey + alpha at 4 bits", PngBuilder().IHDR(1, 1, 4, 4).IDAT(Row({0x12})).IEND(), Why::kBadHeader},
        {"palette at 16 bits", PngBuilder().IHDR(1, 1, 16, 3).IDAT(Row({0, 0})).IEND(), Why::kBadHeader},
        {"bit depth 3", PngBuilder().IHDR(1, 1, 3, 0).IDAT(Row({0})).IEND(), Why::kBadHeader},
        {"colour type 5", PngBuilder().IHDR(1, 1, 8, 5).IDAT(Row({0})).IEND(), Why::kBadHeader},
        {"interlace 2", PngBuilder().IHDR(1, 1, 8, 0, 2).IDAT(Row({0})).IEND(), Why::kBadHeader},
        {"palette index past PLTE", PngBuilder().IHDR(2, 1, 8, 3).Chunk("PLTE", {1, 2, 3}).IDAT(Row({0, 1})).IEND(), Why::kBadPalette},
        {"PLTE length not a multiple of 3", PngBuilder().IHDR(1, 1, 8, 3).Chunk("PLTE", {1, 2, 3, 4}).IDAT(Row({0})).IEND(), Why::kBadPalette},
        {"no IHDR", PngBuilder().IDAT(Row({1, 2, 3})).IEND(), Why::kBadHeader},
        {"no IDAT", PngBuilder().IHDR(1, 1, 8, 2).IEND(), Why::kNoImageData},
        {"chunk length past the data", withLength(uint32_t(idat.size()) + 20), Why::kTruncated},
        {"chunk length 2^31", withLength(0x80000000u), Why::kTruncated},
        {"chunk length 2^32 - 1", withLength(0xFFFFFFFFu), Why::kTruncated},
        {"data ends inside a length field", Bytes(PngBuilder().IHDR(1, 1, 8, 2).IDAT(Row({1, 2, 3})).Raw({0, 0})), Why::kTruncated},
        {"IDAT with block type 3", PngBuilder().IHDR(1, 1, 8, 2).Chunk("IDAT", {0x78, 0x9C, 0x07, 0, 0}).IEND(), Why::kBadCompressedData},
        {"more image data than the header allows", PngBuilder().IHDR(1, 1, 8, 2).IDAT(Cat({Row({1, 2, 3}), Row({4, 5, 6})})).IEND(), Why::kBadCompressedData},
    };
    for (const Case &c : cases) {
        for (bool withZlib : {false, true}) {
            Result r;
            Load(c.png, withZlib, r);
            EXPECT_TRUE(r.recognised) << c.name;
            EXPECT_EQ(r.HasImage(), c.why == Why::kNone) << c.name << (withZlib ? " with zlib" : "");
            EXPECT_STREQ(DecodeFailureName(r.why), DecodeFailureName(c.why)) << c.name << (withZlib ? " with zlib" : "");
        }
    }
}

TEST(PngReader, LaterHeaderReplacesTheFirst) {
    Result r;
    Load(PngBuilder().IHDR(5, 5, 8, 6).IHDR(1, 1, 8, 2).IDAT(Row({1, 2, 3})).IEND(), true, r);
    ASSERT_TRUE(r.HasImage());
    EXPECT_EQ(r.surface.Width(), 1);
    EXPECT_EQ(r.At(0, 0), (Bytes{3, 2, 1, 255}));
}

TEST(PngReader, ShortImageDataLeavesTheRestBlack) {
    Result r;
    Load(PngBuilder().IHDR(1, 2, 8, 2).IDAT(Row({1, 2, 3})).IEND(), false, r);
    ASSERT_TRUE(r.HasImage());
    EXPECT_EQ(r.At(0, 1), (Bytes{0, 0, 0, 255}));
}

TEST(PngReader, FailedInflationLeavesTheSurfaceFailedConversionDestroysIt) {
    for (bool withZlib : {true, false}) {
        Result inflation;
        ASSERT_TRUE(inflation.surface.InitializeDIB(2, 2));
        inflation.surface.BitsPointer()[0] = 42;
        Load(PngBuilder().IHDR(1, 1, 8, 2).Chunk("IDAT", {0x78, 0x9C, 0xFF, 0xFF}).IEND(), withZlib, inflation);
        ASSERT_TRUE(inflation.HasImage());
        EXPECT_EQ(inflation.surface.Width(), 2);
        EXPECT_EQ(inflation.surface.BitsPointer()[0], 42);
        EXPECT_EQ(inflation.why, DecodeFailure::kBadCompressedData);
    }

    Result conversion;
    ASSERT_TRUE(conversion.surface.InitializeDIB(2, 2));
    Load(PngBuilder().IHDR(1, 1, 8, 3).Chunk("PLTE", {1, 2, 3}).IDAT(Row({5})).IEND(), true, conversion);
    EXPECT_FALSE(conversion.HasImage());
    EXPECT_EQ(conversion.surface.ImageType(), -1);
    EXPECT_EQ(conversion.why, DecodeFailure::kBadPalette);
}

// Filtered rows of random samples for every pass, filter types 0-4 (random data is a valid
// filtered image); width and height in pixels of `bytesPerPixel` bytes.
Bytes RandomFilteredRows(uint32_t width, uint32_t height, uint32_t bytesPerPixel, bool interlaced, uint32_t seed) {
    static const uint32_t passes[7][4] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                                          {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};
    uint32_t state = seed;
    auto next = [&] { return (state = state * 1103515245u + 12345u) >> 16; };
    Bytes raw;
    for (int p = interlaced ? 0 : 6; p < 7; ++p) {
        const uint32_t *q = interlaced ? passes[p] : passes[6];
        const uint32_t rows = interlaced ? (height > q[0] ? (height - q[0] + q[2] - 1) / q[2] : 0) : height;
        const uint32_t columns = interlaced ? (width > q[1] ? (width - q[1] + q[3] - 1) / q[3] : 0) : width;
        if (rows == 0 || columns == 0)
            continue;
        for (uint32_t y = 0; y < rows; ++y) {
            raw.push_back(uint8_t(next() % 5));
            for (uint32_t i = 0; i < columns * bytesPerPixel; ++i)
                raw.push_back(uint8_t(i % 7 == 0 ? next() : i * 3 + y));
        }
    }
    return raw;
}

// A PNG whose compressed data is cut into IDAT chunks of `chunk` bytes.
Bytes InChunks(const Bytes &header, const Bytes &plte, const Bytes &z, size_t chunk) {
    PngBuilder b;
    b.Chunk("IHDR", header);
    if (!plte.empty())
        b.Chunk("PLTE", plte);
    for (size_t at = 0; at < z.size(); at += chunk)
        b.Chunk("IDAT", Bytes(z.begin() + ptrdiff_t(at), z.begin() + ptrdiff_t(std::min(z.size(), at + chunk))));
    return b.IEND();
}

TEST(PngReader, LargeImagesInManyChunksDecodeAlikeEveryWay) {
    // Inflated sizes well beyond the window the reader inflates through without zlib; read in
    // place from memory, from a file-like source (gathered into a copy), and through zlib.
    Bytes plte;
    for (int i = 0; i < 256; ++i)
        plte.insert(plte.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)});
    const struct {
        const char *name;
        uint32_t width, height;
        uint8_t colorType, bytesPerPixel;
        bool interlaced;
        const char *why;  // of a damaged copy: "palette" (index past PLTE), "data" (cut stream)
    } cases[] = {{"RGBA", 700, 400, 6, 4, false, "data"},
                 {"RGBA interlaced", 333, 517, 6, 4, true, "data"},
                 {"RGB interlaced, one column", 1, 3000, 2, 3, true, "data"},
                 {"indexed", 900, 600, 3, 1, false, "palette"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes header = PngBuilder::Header(c.width, c.height, 8, c.colorType, c.interlaced);
        const Bytes raw = RandomFilteredRows(c.width, c.height, c.bytesPerPixel, c.interlaced, c.width);
        const Bytes z = PngBuilder::Compress(raw);
        const Bytes png = InChunks(header, c.colorType == 3 ? plte : Bytes{}, z, 1000);
        const auto ref = DecodeWithLibpng(png);
        ASSERT_TRUE(ref);

        // Damaged: the stream cut in its middle, or the last row indexing past a short palette.
        Bytes damaged;
        DecodeFailure damage;
        if (std::string(c.why) == "data") {
            damaged = InChunks(header, {}, Bytes(z.begin(), z.begin() + ptrdiff_t(z.size() / 2)), 1000);
            damage = DecodeFailure::kBadCompressedData;
        } else {
            damaged = InChunks(header, Bytes(plte.begin(), plte.begin() + 3 * 200), z, 1000);
            damage = DecodeFailure::kBadPalette;
        }

        // A wrong Adler-32: zlib refuses it only at the very end, after every row went by, and
        // our own decoder, which does not check it, starts again.
        Bytes badAdler = z;
        badAdler.back() ^= 0x55;
        const Bytes checksum = InChunks(header, c.colorType == 3 ? plte : Bytes{}, badAdler, 1000);

        for (int way = 0; way < 3; ++way) {
            const bool withZlib = way == 2;
            const bool fileLike = way == 1;
            SCOPED_TRACE(way == 0 ? "in place" : way == 1 ? "file-like" : "zlib");
            for (const Bytes *file : {&png, static_cast<const Bytes *>(&damaged), &checksum}) {
                PngReader reader(withZlib ? PngReader::ZlibLoader(SystemZlib) : PngReader::ZlibLoader());
                lumio::MemoryByteSource memory(*file);
                FileLikeSource fileSource(*file);
                Result r;
                ASSERT_TRUE(reader.ParsePNG(fileLike ? static_cast<ByteSource &>(fileSource) : memory, r.surface));
                if (file == &damaged) {
                    EXPECT_FALSE(r.HasImage());
                    EXPECT_EQ(reader.Failure(), damage);
                    continue;
                }
                ASSERT_TRUE(r.HasImage());
                Bytes ours;
                for (int32_t y = 0; y < r.surface.Height(); ++y)
                    ours.insert(ours.end(), r.surface.RowFromTop(y), r.surface.RowFromTop(y) + size_t(c.width) * 4);
                EXPECT_TRUE(ours == ref->bgra);
            }
        }
    }
}

TEST(PngReader, SignatureAndSizeTest) {
    Bytes png = PngBuilder().IHDR(1, 1, 8, 0).IDAT(Row({9})).IEND();
    png.resize(57, 0);  // cut inside IEND: recognised, but no image
    for (size_t size : {size_t(56), size_t(57)}) {
        const Bytes file(png.begin(), png.begin() + ptrdiff_t(size));
        PngReader reader{PngReader::ZlibLoader()};
        FileLikeSource source(file);
        lumio::MemorySurface s;
        EXPECT_EQ(reader.ParsePNG(source, s), size > 56) << size;
    }
    for (const Bytes &notPng : {Bytes{}, Bytes{0x89, 'P', 'N'}, Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0B, 0, 0}}) {
        Result r;
        Load(notPng, true, r);
        EXPECT_FALSE(r.recognised);
        EXPECT_EQ(r.why, DecodeFailure::kNotThisFormat);
    }
}

TEST(PngReader, FirstDecoderTakesPrecedence) {
    // Offered first; when it succeeds the chunks are never read (these would fail).
    const Bytes broken = PngBuilder().Chunk("IHDR", {1, 2, 3}).IEND();
    int calls = 0;
    Result taken;
    Load(broken, true, taken, [&] {
        ++calls;
        return taken.surface.InitializeDIB(3, 3);
    });
    EXPECT_TRUE(taken.recognised);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(taken.surface.Width(), 3);

    Result declined;
    Load(PngBuilder().IHDR(1, 1, 8, 2).IDAT(Row({1, 2, 3})).IEND(), true, declined, [&] { return ++calls, false; });
    EXPECT_EQ(calls, 2);
    ASSERT_TRUE(declined.HasImage());
    EXPECT_EQ(declined.surface.ImageType(), 10);

    Result notPng;
    Load(Bytes(60, 0), true, notPng, [&] { return ++calls, true; });
    EXPECT_EQ(calls, 2);  // not offered what is not a PNG
    EXPECT_FALSE(notPng.recognised);
}

TEST(PngReader, ReaderKeepsNothingBetweenLoads) {
    PngReader reader{PngReader::ZlibLoader()};
    lumio::MemorySurface first, second;
    const Bytes withPalette = PngBuilder().IHDR(1, 1, 8, 3).Chunk("PLTE", {9, 8, 7}).Chunk("tRNS", {0}).IDAT(Row({0})).IEND();
    const Bytes withoutPalette = PngBuilder().IHDR(1, 1, 1, 3).IDAT(Row({0})).IEND();
    lumio::MemoryByteSource a(withPalette), b(withoutPalette);
    ASSERT_TRUE(reader.ParsePNG(a, first));
    ASSERT_TRUE(reader.ParsePNG(b, second));
    ASSERT_TRUE(second.HasImage());
    EXPECT_FALSE(second.Alpha());
    EXPECT_EQ(second.BitsPointer()[3], 255);  // black from the made-up palette, opaque
}

TEST(PngReader, PixelCountCap) {
    // 8192 x 8191 passes the cap: a 1-bit image whose data ends early decodes black.
    Result r;
    Load(PngBuilder().IHDR(8192, 8191, 1, 0).IDAT(Row({0xFF})).IEND(), false, r);
    ASSERT_TRUE(r.HasImage());
    EXPECT_EQ(r.surface.Height(), 8191);
    EXPECT_EQ(r.At(0, 0), (Bytes{255, 255, 255, 255}));
    EXPECT_EQ(r.At(8, 0), (Bytes{0, 0, 0, 255}));
}

}  // namespace
