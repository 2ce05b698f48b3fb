// cPNGparser under Wine with GDI+: the image goes to GDI+ before our own decoding.
#include "png/win/cpng_parser.h"

#include "imaging/gdiplus_api.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../support/suite_files.h"

using namespace lumio;

namespace {

namespace fs = std::filesystem;
using suite::Bytes;
using lumio::c32bppDIB;

TEST(cPNGparserWithGdiplus, OpaqueImageMatchesOurOwnDecoding) {
    const Bytes png = suite::File("basn2c08.png");
    c32bppDIB viaGdiplus;
    ASSERT_TRUE(cPNGparser().LoadStream(png, viaGdiplus, 0, int32_t(png.size()), 0));
    ASSERT_TRUE(viaGdiplus.HasImage());
    EXPECT_EQ(viaGdiplus.ImageType(), 10);
    EXPECT_FALSE(viaGdiplus.Alpha());

    lumio::MemorySurface ours;
    PngReader reader{PngReader::ZlibLoader()};
    lumio::MemoryByteSource source(png);
    ASSERT_TRUE(reader.ParsePNG(source, ours));
    ASSERT_EQ(viaGdiplus.ByteCount(), ours.ByteCount());
    EXPECT_TRUE(std::equal(ours.BitsPointer(), ours.BitsPointer() + ours.ByteCount(), viaGdiplus.BitsPointer()));
}

// GDI+ starts once per load when no token is lent.
TEST(cPNGparserWithGdiplus, OfferedFirstThenOurOwnDecoding) {
    const auto startups = [] { return lumio::GdiplusCalls().startups; };
    const Bytes good = suite::File("basn0g08.png");
    c32bppDIB a;
    int before = startups();
    ASSERT_TRUE(cPNGparser().LoadStream(good, a, 0, int32_t(good.size()), 0));
    EXPECT_EQ(startups() - before, 1);
    EXPECT_TRUE(a.HasImage());

    // A palette that follows the image data (libpng-based decoders refuse that; our walk does
    // not mind): the same image either way.
    Bytes png = suite::File("basn3p08.png");
    const Bytes plte = {'P', 'L', 'T', 'E'};
    const auto at = std::search(png.begin(), png.end(), plte.begin(), plte.end()) - png.begin() - 4;
    const uint32_t length = uint32_t(png[size_t(at)]) << 24 | png[size_t(at) + 1] << 16 | png[size_t(at) + 2] << 8 | png[size_t(at) + 3];
    const Bytes chunk(png.begin() + at, png.begin() + at + 12 + length);
    png.erase(png.begin() + at, png.begin() + at + 12 + length);
    png.insert(png.end() - 12, chunk.begin(), chunk.end());  // before IEND
    c32bppDIB b;
    before = startups();
    ASSERT_TRUE(cPNGparser().LoadStream(png, b, 0, int32_t(png.size()), 0));
    EXPECT_EQ(startups() - before, 1);
    ASSERT_TRUE(b.HasImage());
    EXPECT_EQ(b.ImageType(), 10);

    const Bytes original = suite::File("basn3p08.png");
    c32bppDIB c;
    ASSERT_TRUE(cPNGparser().LoadStream(original, c, 0, int32_t(original.size()), 0));
    ASSERT_TRUE(c.HasImage());
    EXPECT_TRUE(std::equal(b.BitsPointer(), b.BitsPointer() + b.ByteCount(), c.BitsPointer()));
}

TEST(cPNGparserWithGdiplus, AlphaImageFromAFile) {
    const fs::path file = suite::Dir() / "basn6a08.png";
    HANDLE h = CreateFileW(file.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    c32bppDIB s;
    EXPECT_TRUE(cPNGparser().LoadFile(h, file.wstring(), s, 0));
    CloseHandle(h);
    ASSERT_TRUE(s.HasImage());
    EXPECT_TRUE(s.Alpha());
    EXPECT_EQ(s.ImageType(), 10);
    EXPECT_EQ(s.Width(), 32);
}

}  // namespace
