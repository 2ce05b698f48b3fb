// The GIF, BMP and ICO readers under Wine with GDI+ off: the system's picture loader and
// GDI decode, our readers walk the bytes; picture and handle conversion.
#include <windows.h>

#include <gtest/gtest.h>

#include "bmp/win/cbmp_parser.h"
#include "gif/win/cgif_parser.h"
#include "ico/win/cico_parser.h"
#include "imaging/codec_registry.h"
#include "imaging/mod_parsers_win.h"
#include "win/library_codecs.h"

#include "../support/image_builders.h"

namespace {

using fixtures::Bytes;
using fixtures::Rgb;
using lumio::c32bppDIB;

Bytes At(const c32bppDIB &s, int32_t x, int32_t y) {
    const uint8_t *p = s.RowFromTop(y) + size_t(x) * 4;
    return Bytes(p, p + 4);
}

// The bytes embedded at an offset of a larger array, as a stream range would give them.
struct Embedded {
    Bytes array;
    int32_t start, length;
    Embedded(const Bytes &file, size_t before) : array(before, 0xAB), start(int32_t(before)), length(int32_t(file.size())) {
        fixtures::Append(array, file);
        array.insert(array.end(), 7, 0xCD);
    }
};

const std::vector<Rgb> kFour = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};

TEST(cGIFparser, DecodesThroughThePictureLoader) {
    // Entries 3 and 7 share a colour; 7 is transparent, 3 stays opaque.
    std::vector<Rgb> table(8, Rgb{1, 2, 3});
    table[3] = table[7] = Rgb{200, 100, 50};
    Bytes transparent = fixtures::GifHeader(30, 30, table, "gif89a");
    fixtures::Append(transparent, fixtures::GifControl(true, 7));
    fixtures::Append(transparent, fixtures::GifImage(4, 5, 3, 2, {3, 7, 0, 7, 3, 3}));
    fixtures::Append(transparent, fixtures::GifImage(0, 0, 30, 30, Bytes(900, 1))); // a second frame
    transparent.push_back(0x3B);

    Bytes opaque = fixtures::GifHeader(2, 2, kFour);
    fixtures::Append(opaque, fixtures::GifControl(false, 1));
    fixtures::Append(opaque, fixtures::GifImage(0, 0, 2, 2, {0, 1, 2, 3}));
    opaque.push_back(0x3B);

    for (const size_t before : {size_t{0}, size_t{13}}) {
        Embedded e(transparent, before);
        c32bppDIB s;
        ASSERT_TRUE(lumio::cGIFparser().LoadStream(e.array, s, e.start, e.length));
        ASSERT_TRUE(s.HasImage());
        EXPECT_EQ(s.Width(), 3);
        EXPECT_EQ(s.Height(), 2);
        EXPECT_TRUE(s.Alpha());
        EXPECT_EQ(s.ImageType(), 9);
        EXPECT_EQ(At(s, 0, 0), (Bytes{50, 100, 200, 255}));
        EXPECT_EQ(At(s, 1, 0), (Bytes{0, 0, 0, 0}));
        EXPECT_EQ(At(s, 2, 0), (Bytes{3, 2, 1, 255}));
        EXPECT_EQ(At(s, 0, 1), (Bytes{0, 0, 0, 0}));
    }
    c32bppDIB s;
    ASSERT_TRUE(lumio::cGIFparser().LoadStream(opaque, s, 0, int32_t(opaque.size())));
    ASSERT_TRUE(s.HasImage());
    EXPECT_FALSE(s.Alpha());
    EXPECT_EQ(At(s, 0, 0), (Bytes{30, 20, 10, 255}));
    EXPECT_EQ(At(s, 1, 1), (Bytes{120, 110, 100, 255}));
}

TEST(cGIFparser, DamagedAndForeignData) {
    Bytes g = fixtures::GifHeader(2, 2, kFour);
    fixtures::Append(g, fixtures::GifImage(0, 0, 2, 2, {0, 1, 2, 3}));
    const Bytes cut(g.begin(), g.end() - 3); // sub-blocks run past the end
    c32bppDIB s;
    EXPECT_TRUE(lumio::cGIFparser().LoadStream(cut, s, 0, int32_t(cut.size())));
    EXPECT_FALSE(s.HasImage());
    const Bytes bmp = fixtures::BmpFile(1, 1, 32, 0, Bytes(4, 0));
    EXPECT_FALSE(lumio::cGIFparser().LoadStream(bmp, s, 0, int32_t(bmp.size())));
    EXPECT_FALSE(lumio::cGIFparser().LoadStream(g, s, int32_t(g.size()), 10)); // start past the end
}

const Bytes kRows32 = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0};

TEST(cBMPparser, ReadsDirectlyOrThroughThePictureLoader) {
    const Bytes pal8(8 * 4, 0);
    Bytes palette = pal8;
    palette[4 + 2] = 255; // entry 1 red
    const struct {
        const char *what;
        Bytes file;
        Bytes topLeft, bottomRight;
        int32_t imageType;
    } cases[] = {
        {"32-bit bottom-up", fixtures::BmpFile(2, 2, 32, 0, kRows32), {7, 8, 9, 255}, {4, 5, 6, 255}, 1},
        {"32-bit top-down", fixtures::BmpFile(2, -2, 32, 0, kRows32), {1, 2, 3, 255}, {10, 11, 12, 255}, 1},
        {"24-bit", fixtures::BmpFile(2, 2, 24, 0, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}),
         {7, 8, 9, 255}, {4, 5, 6, 255}, 1},
        {"8-bit", fixtures::BmpFile(2, 2, 8, 0, {1, 0, 0, 0, 0, 1, 0, 0}, palette), {0, 0, 0, 255}, {0, 0, 0, 255}, 1},
    };
    for (const auto &c : cases) {
        for (const size_t before : {size_t{0}, size_t{5}}) {
            Embedded e(c.file, before);
            c32bppDIB s;
            EXPECT_TRUE(lumio::cBMPparser().LoadStream(e.array, s, e.start, e.length)) << c.what;
            ASSERT_TRUE(s.HasImage()) << c.what;
            EXPECT_EQ(At(s, 0, 0), c.topLeft) << c.what;
            EXPECT_EQ(At(s, 1, 1), c.bottomRight) << c.what;
            EXPECT_EQ(s.ImageType(), c.imageType) << c.what;
            EXPECT_FALSE(s.Alpha()) << c.what;
        }
    }
    const Bytes straight = fixtures::BmpFile(1, 1, 32, 0, {200, 100, 50, 128});
    c32bppDIB s;
    ASSERT_TRUE(lumio::cBMPparser().LoadStream(straight, s, 0, int32_t(straight.size())));
    EXPECT_EQ(s.ImageType(), 6);
    EXPECT_EQ(At(s, 0, 0), (Bytes{100, 50, 25, 128}));

    const Bytes zeroWidth = fixtures::BmpFile(0, 2, 24, 0, Bytes(16, 0));
    s.DestroyDIB();
    EXPECT_FALSE(lumio::cBMPparser().LoadStream(zeroWidth, s, 0, int32_t(zeroWidth.size())));
    const Bytes junk(100, 0x55);
    EXPECT_FALSE(lumio::cBMPparser().LoadStream(junk, s, 0, int32_t(junk.size())));
    EXPECT_FALSE(s.HasImage());
}

HBITMAP Section(int32_t width, int32_t height, const Bytes &pixels) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP h = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (h) memcpy(bits, pixels.data(), pixels.size());
    return h;
}

TEST(cBMPparser, ConvertsBitmapHandlesUpright) {
    // Memory order: first row given first; top-down sections store the top row first.
    const Bytes pixels = {1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255};
    for (const int32_t height : {2, -2}) {
        HBITMAP h = Section(2, height, pixels);
        ASSERT_NE(h, nullptr);
        c32bppDIB s;
        ASSERT_TRUE(lumio::cBMPparser().ConvertstdPicTo32bpp(nullptr, h, s, 0));
        const Bytes top = height < 0 ? Bytes{1, 2, 3, 255} : Bytes{7, 8, 9, 255};
        EXPECT_EQ(At(s, 0, 0), top) << height;
        BITMAP bm{};
        EXPECT_EQ(GetObjectW(h, sizeof bm, &bm), int(sizeof bm)); // still the caller's
        DeleteObject(h);
    }
    c32bppDIB s;
    EXPECT_FALSE(lumio::cBMPparser().ConvertstdPicTo32bpp(nullptr, reinterpret_cast<HBITMAP>(HGDIOBJ(GetStockObject(WHITE_BRUSH))), s, 0));
}

// A handle the copy cannot select: no image and False, not an opaque black one.
TEST(cBMPparser, HandlesThatCannotBeSelectedConvertToNothing) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP rgb24 = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(rgb24, nullptr);
    memset(bits, 0x80, 16);
    HDC holder = CreateCompatibleDC(nullptr);
    HGDIOBJ displaced = SelectObject(holder, rgb24);
    ASSERT_NE(displaced, nullptr);
    // A font whose LOGFONT reads as a 24-bit BITMAP of 8 x 100 pixels.
    HFONT font = CreateFontW(-20, 8, 100, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    ASSERT_NE(font, nullptr);
    const struct {
        const char *what;
        HGDIOBJ handle;
    } cases[] = {{"a bitmap selected in another context", rgb24}, {"a font", font}};
    for (const auto &c : cases) {
        c32bppDIB s;
        EXPECT_FALSE(lumio::cBMPparser().ConvertstdPicTo32bpp(nullptr, static_cast<HBITMAP>(c.handle), s, 0)) << c.what;
        EXPECT_FALSE(s.HasImage()) << c.what;
    }
    SelectObject(holder, displaced);
    c32bppDIB s;
    ASSERT_TRUE(lumio::cBMPparser().ConvertstdPicTo32bpp(nullptr, rgb24, s, 0)); // free again, it converts
    EXPECT_EQ(At(s, 0, 0), (Bytes{0x80, 0x80, 0x80, 255}));
    DeleteDC(holder);
    DeleteObject(rgb24);
    DeleteObject(font);
}

// A 2 x 2 8-bit icon image: palette 0 red, 1 green; left column 0, right 1; the mask
// makes the top-left pixel transparent.
Bytes Dib8() {
    Bytes palette(256 * 4, 0);
    palette[2] = 255;
    palette[4 + 1] = 255;
    return fixtures::IconDib(2, 2, 8, palette, {0, 1, 0, 0, 0, 1, 0, 0}, {0x00, 0, 0, 0, 0x80, 0, 0, 0});
}

Bytes Dib32(int32_t size, uint8_t alpha) {
    Bytes rows;
    for (int32_t i = 0; i < size * size; ++i) rows.insert(rows.end(), {40, 80, 120, alpha});
    return fixtures::IconDib(size, size, 32, {}, rows, Bytes(fixtures::RowBytes(1, uint32_t(size)) * uint32_t(size), 0));
}

TEST(cICOparser, DecodesEntriesThroughGdi) {
    Bytes rgba;
    for (int i = 0; i < 4; ++i) rgba.insert(rgba.end(), {255, 0, 0, 128});
    const struct {
        const char *what;
        Bytes file;
        int32_t cx;
        Bytes topLeft, topRight;
        int32_t width, imageType;
        bool alpha;
    } cases[] = {
        {"8-bit with mask", fixtures::IconFile(1, {{2, 2, 8, Dib8()}}), 32, {0, 0, 0, 0}, {0, 255, 0, 255}, 2, 3, true},
        {"cursor with mask", fixtures::IconFile(2, {{2, 2, 8, Dib8()}}), 32, {0, 0, 0, 0}, {0, 255, 0, 255}, 2, 5, true},
        {"32-bit half alpha", fixtures::IconFile(1, {{16, 16, 32, Dib32(16, 128)}, {2, 2, 8, Dib8()}}), 16,
         {20, 40, 60, 128}, {20, 40, 60, 128}, 16, 8, true},
        {"32-bit alpha 0", fixtures::IconFile(1, {{4, 4, 32, Dib32(4, 0)}}), 4, {0, 0, 0, 0}, {0, 0, 0, 0}, 4, 8, true},
        {"PNG entry", fixtures::IconFile(1, {{2, 2, 0, fixtures::PngRgba(2, 2, rgba)}}), 2, {0, 0, 128, 128},
         {0, 0, 128, 128}, 2, 11, true},
    };
    for (const auto &c : cases) {
        for (const size_t before : {size_t{0}, size_t{3}}) {
            Embedded e(c.file, before);
            const Bytes copy = e.array;
            c32bppDIB s;
            int32_t length = e.length;
            EXPECT_TRUE(lumio::cICOparser().LoadStream(e.array, c.cx, c.cx, &s, e.start, length, 32, 0)) << c.what;
            EXPECT_EQ(e.array, copy) << c.what;
            ASSERT_TRUE(s.HasImage()) << c.what;
            EXPECT_EQ(s.Width(), c.width) << c.what;
            EXPECT_EQ(s.ImageType(), c.imageType) << c.what;
            EXPECT_EQ(s.Alpha(), c.alpha) << c.what;
            EXPECT_EQ(At(s, 0, 0), c.topLeft) << c.what;
            EXPECT_EQ(At(s, 1, 0), c.topRight) << c.what;
        }
    }
}

TEST(cICOparser, RangesAndRefusals) {
    const Bytes ico = fixtures::IconFile(1, {{2, 2, 8, Dib8()}});
    Embedded e(ico, 9);
    int32_t length = 0; // to the array's end, written back
    lumio::cICOparser reader;
    EXPECT_TRUE(reader.LoadStream(e.array, 0, 0, nullptr, e.start, length, 32, 0));
    EXPECT_EQ(length, int32_t(e.array.size()) - 9);
    EXPECT_EQ(reader.IconCount(), 1);
    // Counted from the array's first element the directory is not there.
    length = 0;
    EXPECT_FALSE(lumio::cICOparser().LoadStream(e.array, 0, 0, nullptr, 0, length, 32, 0));
    // An entry that cannot be decoded: recognised, no image.
    Bytes broken = ico;
    broken[6 + 16] = 12; // header size below 40
    c32bppDIB s;
    length = int32_t(broken.size());
    EXPECT_TRUE(lumio::cICOparser().LoadStream(broken, 32, 32, &s, 0, length, 32, 0));
    EXPECT_FALSE(s.HasImage());
}

TEST(cICOparser, ConvertsIconHandles) {
    // A colour icon with alpha.
    Bytes pixels(4 * 4 * 4, 0);
    for (size_t i = 0; i < pixels.size(); i += 4) pixels[i + 2] = pixels[i + 3] = 128;
    HBITMAP colour = Section(4, 4, pixels);
    HBITMAP mask = CreateBitmap(4, 4, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON alphaIcon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    ASSERT_NE(alphaIcon, nullptr);
    c32bppDIB s;
    ASSERT_TRUE(lumio::cICOparser().ConvertstdPicTo32bpp(alphaIcon, s));
    EXPECT_EQ(s.ImageType(), 8);
    EXPECT_TRUE(s.Alpha());
    EXPECT_EQ(At(s, 1, 1), (Bytes{0, 0, 128, 128}));
    ICONINFO still{};
    EXPECT_TRUE(GetIconInfo(alphaIcon, &still)); // the caller's handle stays valid
    DeleteObject(still.hbmColor);
    DeleteObject(still.hbmMask);
    DestroyIcon(alphaIcon);

    // A monochrome icon: AND mask with the left half set (transparent), XOR all clear.
    const BYTE andBits[] = {0xC0, 0, 0xC0, 0, 0xC0, 0, 0xC0, 0};
    const BYTE xorBits[] = {0, 0, 0, 0, 0, 0, 0, 0};
    HICON mono = CreateIcon(nullptr, 4, 4, 1, 1, andBits, xorBits);
    ASSERT_NE(mono, nullptr);
    ASSERT_TRUE(lumio::cICOparser().ConvertstdPicTo32bpp(mono, s));
    EXPECT_EQ(s.Width(), 4);
    EXPECT_EQ(s.Height(), 4); // half the mask bitmap
    EXPECT_EQ(s.ImageType(), 3);
    EXPECT_TRUE(s.Alpha());
    EXPECT_EQ(At(s, 0, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(At(s, 3, 3)[3], 255);
    DestroyIcon(mono);

    EXPECT_FALSE(lumio::cICOparser().ConvertstdPicTo32bpp(nullptr, s));
}

// The loader's way in: each reader made through the registry, given a byte source, says
// whether the bytes are its format and, when it built no image, why.
TEST(LibraryCodecs, EachReaderThroughTheRegistry) {
    using lumio::DecodeFailure;
    using lumio::ImageFormat;
    lumio::RegisterLibraryCodecs();
    Bytes gif = fixtures::GifHeader(2, 2, kFour);
    fixtures::Append(gif, fixtures::GifImage(0, 0, 2, 2, {0, 1, 2, 3}));
    const Bytes cutGif(gif.begin(), gif.end() - 3);
    const Bytes bmp = fixtures::BmpFile(2, 2, 32, 0, kRows32);
    const Bytes ico = fixtures::IconFile(1, {{2, 2, 8, Dib8()}});
    Bytes badIco = ico;
    badIco[6 + 16 + 14] = 7; // a bit count GDI has no rows for
    const struct {
        const char *what;
        ImageFormat format;
        const Bytes &bytes;
        bool recognised;
        DecodeFailure why;
    } cases[] = {
        {"GIF", ImageFormat::kGif, gif, true, DecodeFailure::kNone},
        {"cut GIF", ImageFormat::kGif, cutGif, true, DecodeFailure::kTruncated},
        {"BMP to the GIF reader", ImageFormat::kGif, bmp, false, DecodeFailure::kNotThisFormat},
        {"icon", ImageFormat::kIcon, ico, true, DecodeFailure::kNone},
        {"icon of 7 bits", ImageFormat::kIcon, badIco, true, DecodeFailure::kUnsupported},
        {"GIF to the icon reader", ImageFormat::kIcon, gif, false, DecodeFailure::kNotThisFormat},
        {"BMP", ImageFormat::kBmp, bmp, true, DecodeFailure::kNone},
        {"GIF to the PNG reader", ImageFormat::kPng, gif, false, DecodeFailure::kNotThisFormat},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<lumio::ImageDecoder> reader = lumio::MakeDecoder(c.format);
        ASSERT_NE(reader, nullptr);
        lumio::MemoryByteSource source(c.bytes);
        c32bppDIB s;
        EXPECT_EQ(reader->Decode({.source = source}, s), c.recognised);
        EXPECT_EQ(s.HasImage(), c.why == DecodeFailure::kNone);
        EXPECT_STREQ(lumio::DecodeFailureName(reader->Failure()), lumio::DecodeFailureName(c.why));
    }
}

} // namespace
