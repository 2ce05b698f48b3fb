// Every image of the PNG suite through our reader, with and without zlib, against libpng.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "png/png_reader.h"
#include "support/libpng_reference.h"
#include "zlib/native/system_zlib.h"

#include "support/suite_files.h"

using namespace lumio;

namespace {

namespace fs = std::filesystem;
using suite::Bytes;

struct Decoded {
    bool recognised;
    lumio::MemorySurface surface;
};

void Decode(const Bytes &png, bool withZlib, Decoded &out) {
    PngReader reader(withZlib ? PngReader::ZlibLoader(SystemZlib) : PngReader::ZlibLoader());
    lumio::MemoryByteSource source(png);
    out.recognised = reader.ParsePNG(source, out.surface);
}

// The surface's rows top-down, as the reference holds them.
Bytes TopDown(const lumio::SurfaceCore &s) {
    Bytes b;
    for (int32_t y = 0; y < s.Height(); ++y)
        b.insert(b.end(), s.RowFromTop(y), s.RowFromTop(y) + size_t(s.Width()) * 4);
    return b;
}

TEST(PngSuite, DecodesLikeLibpngWithAndWithoutZlib) {
    int checked = 0;
    for (const fs::path &file : suite::All()) {
        const std::string name = file.filename().string();
        if (name[0] == 'x')
            continue;
        const Bytes png = suite::ReadFile(file);
        const auto ref = DecodeWithLibpng(png);
        ASSERT_TRUE(ref) << name;
        for (bool withZlib : {false, true}) {
            Decoded d;
            Decode(png, withZlib, d);
            SCOPED_TRACE(name + (withZlib ? " with zlib" : " without zlib"));
            ASSERT_TRUE(d.recognised);
            ASSERT_TRUE(d.surface.HasImage());
            EXPECT_EQ(d.surface.ImageType(), 10);
            EXPECT_EQ(d.surface.Alpha(), ref->hasAlpha);
            ASSERT_EQ(d.surface.Width(), ref->width);
            ASSERT_EQ(d.surface.Height(), ref->height);
            const Bytes ours = TopDown(d.surface);
            if (ours != ref->bgra) {
                const auto at = std::mismatch(ours.begin(), ours.end(), ref->bgra.begin()).first - ours.begin();
                ADD_FAILURE() << "first difference at byte " << at;
            }
        }
        ++checked;
    }
    EXPECT_GT(checked, 150);
}

// The corrupt images: without zlib (no CRC checks) only the two whose sole fault is a CRC
// decode; with zlib none does. Those that are not PNGs at all are not recognised.
TEST(PngSuite, CorruptImages) {
    const std::set<std::string> decodeWithoutZlib = {"xcsn0g01.png", "xhdn0g08.png"};
    int checked = 0;
    for (const fs::path &file : suite::All()) {
        const std::string name = file.filename().string();
        if (name[0] != 'x')
            continue;
        const Bytes png = suite::ReadFile(file);
        for (bool withZlib : {false, true}) {
            Decoded d;
            Decode(png, withZlib, d);
            const bool expectImage = !withZlib && decodeWithoutZlib.count(name);
            EXPECT_EQ(d.surface.HasImage(), expectImage) << name << (withZlib ? " with zlib" : " without zlib");
        }
        ++checked;
    }
    EXPECT_GE(checked, 14);
}

}  // namespace
