#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/cgdiplus.h"
#include "imaging/image_type.h"

using namespace lumio;

namespace {
std::vector<std::uint8_t> ReadFile(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}
std::string Suite(const char *name) { return std::string(LUMIO_TESTDATA) + "/pngsuite/" + name; }

// Starts and shutdowns our binding made while `f` ran.
template <class F> GdiplusCallCounts CountDuring(F f) {
    const GdiplusCallCounts before = GdiplusCalls();
    f();
    const GdiplusCallCounts after = GdiplusCalls();
    return {after.startups - before.startups, after.shutdowns - before.shutdowns};
}

// A 3 x 2 surface: top row red, green, blue (opaque); bottom row transparent, half-white, opaque white.
void FillSample(SurfaceCore &s) {
    ASSERT_TRUE(s.InitializeDIB(3, 2));
    const std::uint8_t top[12] = {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255};
    const std::uint8_t bottom[12] = {0, 0, 0, 0, 128, 128, 128, 128, 255, 255, 255, 255};
    std::memcpy(s.RowFromTop(0), top, 12);
    std::memcpy(s.RowFromTop(1), bottom, 12);
}
} // namespace

TEST(cGDIPlus, ProbeStartsAndStopsOnce) {
    ULONG_PTR token = 0;
    cGDIPlus g;
    auto n = CountDuring([&] { EXPECT_TRUE(g.isGDIplusOk(token, false)); });
    EXPECT_EQ(n.startups, 1);
    EXPECT_EQ(n.shutdowns, 1);
    n = CountDuring([] { c32bppDIB s; });
    EXPECT_EQ(n.startups, 1) << "a new surface asks whether GDI+ works";
    EXPECT_EQ(n.shutdowns, 1);
}

TEST(cGDIPlus, EncoderMimeIgnoresCase) {
    cGDIPlus g;
    ULONG_PTR token = 0;
    ASSERT_TRUE(g.StartupShutdown(token, false));
    CLSID lower{}, upper{};
    const auto i = g.EncoderClsidForMime(L"image/png", lower);
    EXPECT_GT(i, 0);
    EXPECT_EQ(g.EncoderClsidForMime(L"IMAGE/PNG", upper), i);
    EXPECT_TRUE(IsEqualCLSID(lower, upper));
    EXPECT_EQ(g.EncoderClsidForMime(L"image/none", upper), -1);
    g.StartupShutdown(token, true);
}

TEST(cGDIPlus, PngRoundTripKeepsOrientationAndSource) {
    c32bppDIB src;
    FillSample(src);
    std::vector<std::uint8_t> before(src.BitsPointer(), src.BitsPointer() + src.ByteCount());
    std::vector<std::uint8_t> png;
    cGDIPlus g;
    ASSERT_TRUE(g.SaveToPNG(L"", png, src, 0));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    // Only the stream's bytes: the file ends with its IEND chunk.
    EXPECT_EQ(std::memcmp(png.data() + png.size() - 8, "IEND\xAE\x42\x60\x82", 8), 0);
    EXPECT_EQ(std::vector<std::uint8_t>(src.BitsPointer(), src.BitsPointer() + src.ByteCount()), before)
        << "saving leaves the surface alone";

    c32bppDIB back;
    ASSERT_TRUE(g.LoadImageToDIB(L"", png, back, 0));
    EXPECT_EQ(back.Width(), 3);
    EXPECT_EQ(back.Height(), 2);
    EXPECT_EQ(back.ImageType(), image_type::kPng);
    EXPECT_TRUE(back.Alpha());
    const std::uint8_t *top = back.RowFromTop(0);
    EXPECT_EQ(top[2], 255) << "first row of the file is the top row: red";
    EXPECT_EQ(top[0], 0);
    EXPECT_EQ(top[3], 255);
    EXPECT_EQ(top[8], 255) << "blue";

    // Saved to a file, read from the file.
    const std::wstring file = L"lumio_roundtrip.png";
    ASSERT_TRUE(g.SaveToPNG(file, png, src, 0));
    c32bppDIB fromFile;
    ASSERT_TRUE(g.LoadImageToDIB(file, {}, fromFile, 0));
    EXPECT_EQ(fromFile.Width(), 3);
    DeleteFileW(file.c_str());
}

TEST(cGDIPlus, TokenRule) {
    cGDIPlus g;
    c32bppDIB src;
    FillSample(src);
    const auto png = ReadFile(Suite("basn6a08.png"));
    ASSERT_FALSE(png.empty());
    std::vector<std::uint8_t> out;

    // Without a token every operation starts and stops GDI+ itself.
    c32bppDIB dst;
    auto n = CountDuring([&] {
        EXPECT_TRUE(g.SaveToPNG(L"", out, src, 0));
        EXPECT_TRUE(g.LoadImageToDIB(L"", png, dst, 0));
    });
    EXPECT_EQ(n.startups, 2);
    EXPECT_EQ(n.shutdowns, 2);

    // With a lent token nothing is started or stopped, and GDI+ stays usable.
    ULONG_PTR host = 0;
    ASSERT_TRUE(g.isGDIplusOk(host, true));
    ASSERT_NE(host, 0u);
    n = CountDuring([&] {
        dst.gdiToken(host);
        EXPECT_TRUE(g.SaveToPNG(L"", out, src, dst.gdiToken()));
        EXPECT_TRUE(g.LoadImageToDIB(L"", png, dst, dst.gdiToken()));
    });
    EXPECT_EQ(n.startups, 0);
    EXPECT_EQ(n.shutdowns, 0);
    n = CountDuring([&] { g.StartupShutdown(host, true); });
    EXPECT_EQ(n.shutdowns, 1);
}

TEST(cGDIPlus, LoadReportsAlphaFromTheSourceFormat) {
    struct { const char *file; std::int32_t w, h; bool alpha; } cases[] = {
        {"basn2c08.png", 32, 32, false}, // 24-bit colour
        {"basn6a08.png", 32, 32, true},  // 32-bit with alpha
        {"basn3p08.png", 32, 32, false}, // palette
    };
    cGDIPlus g;
    for (auto &c : cases) {
        c32bppDIB s;
        ASSERT_TRUE(g.LoadImageToDIB(L"", ReadFile(Suite(c.file)), s, 0)) << c.file;
        EXPECT_EQ(s.Width(), c.w);
        EXPECT_EQ(s.Height(), c.h);
        EXPECT_EQ(s.Alpha(), c.alpha) << c.file;
        EXPECT_EQ(s.ImageType(), image_type::kPng);
        // Drawn into the DIB as premultiplied pixels, translucent ones kept.
        int translucent = 0, notPremultiplied = 0;
        for (std::size_t i = 0; i < s.ByteCount(); i += 4) {
            const std::uint8_t *p = s.BitsPointer() + i;
            translucent += p[3] > 0 && p[3] < 255;
            notPremultiplied += p[0] > p[3] || p[1] > p[3] || p[2] > p[3];
        }
        EXPECT_EQ(translucent > 0, c.alpha) << c.file;
        EXPECT_EQ(notPremultiplied, 0) << c.file;
    }
    c32bppDIB s;
    EXPECT_FALSE(g.LoadImageToDIB(L"", std::vector<std::uint8_t>(64, 7), s, 0));
    EXPECT_FALSE(g.LoadImageToDIB(L"", {}, s, 0));
    EXPECT_FALSE(g.LoadImageToDIB(L"C:\\no\\such\\file.png", {}, s, 0));
}

TEST(StreamHelpers, StreamToArrayTakesTheStreamLengthNotTheBlock) {
    auto stream = ArrayToStream({}, 0);
    ASSERT_TRUE(stream);
    ULONG written = 0;
    ASSERT_EQ(stream->Write("0123456789", 10, &written), S_OK);
    // Grow the memory block behind the stream: its length stays 10.
    HGLOBAL block = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(stream.get(), &block), S_OK);
    ASSERT_EQ(GlobalReAlloc(block, 4096, GMEM_MOVEABLE | GMEM_ZEROINIT), block);
    ASSERT_GE(GlobalSize(block), 4096u);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(StreamToArray(stream.get(), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "0123456789");

    std::vector<std::uint8_t> empty;
    EXPECT_FALSE(StreamToArray(ArrayToStream({}, 0).get(), empty)) << "nothing written";
}

TEST(StreamHelpers, ArrayToStreamFromAStartIndex) {
    const std::vector<std::uint8_t> src = {1, 2, 3, 4, 5};
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(StreamToArray(ArrayToStream(src, 2).get(), out));
    EXPECT_EQ(out, (std::vector<std::uint8_t>{3, 4, 5}));
    EXPECT_FALSE(ArrayToStream(src, 5)) << "start beyond the array";
}
