// Saving under Wine: PNG files written beside the target and renamed over it, BMP bytes that
// load back to the same pixels, and SaveToStream_PNG with GDI+ on and off.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "bmp/bmp_writer.h"
#include "bmp/win/cbmp_parser.h"
#include "imaging/byte_source.h"
#include "png/png_reader.h"
#include "png/win/cpng_writer.h"
#include "zlib/win/zlib_binding.h"

#include "../support/image_builders.h"
#include "link_case.h"

using namespace lumio;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const fs::path &p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}
void WriteAll(const fs::path &p, const Bytes &b) {
    std::ofstream f(p, std::ios::binary);
    f.write(reinterpret_cast<const char *>(b.data()), std::streamsize(b.size()));
}
Bytes Pixels(const SurfaceCore &s) { return Bytes(s.BitsPointer(), s.BitsPointer() + s.ByteCount()); }

// 300 opaque colours with a partly transparent pixel: an RGBA file.
void Make(c32bppDIB &s) {
    ASSERT_TRUE(s.InitializeDIB(30, 10));
    s.SetAlpha(true);
    for (size_t i = 0; i < s.ByteCount() / 4; ++i) {
        uint8_t *p = s.BitsPointer() + i * 4;
        p[0] = uint8_t(i), p[1] = uint8_t(i >> 8), p[2] = 7, p[3] = 255;
    }
    uint8_t *p = s.BitsPointer() + 4 * 17;
    p[0] = 20, p[1] = 10, p[2] = 5, p[3] = 100;
}

// zlib whose compression fails, as a full disk or a broken library would.
class FailingCompress final : public ZlibApi {
public:
    FailingCompress() : inner_(LoadZlib()) {}
    bool Usable() const { return inner_ != nullptr; }
    uint32_t Crc32(const uint8_t *d, uint32_t n) override { return inner_->Crc32(d, n); }
    int Uncompress(uint8_t *d, uint32_t &dl, const uint8_t *s, uint32_t sl) override { return inner_->Uncompress(d, dl, s, sl); }
    bool HasCompress2() override { return true; }
    int Compress2(uint8_t *, uint32_t &, const uint8_t *, uint32_t, int) override { return -5; }

private:
    std::unique_ptr<ZlibApi> inner_;
};

// A fresh folder per test, so stray temporaries show.
struct Folder {
    fs::path path;
    explicit Folder(const char *name) : path(fs::temp_directory_path() / name) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ec;
        for (const auto &e : fs::directory_iterator(path, ec))
            SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(path, ec);
    }
    size_t Entries() const { return size_t(std::distance(fs::directory_iterator(path), fs::directory_iterator())); }
};

TEST(SavePNG, FileHoldsTheSameBytesAsTheArray) {
    c32bppDIB s;
    Make(s);
    Bytes inMemory;
    ASSERT_TRUE(SavePNG(s, std::wstring(), inMemory));
    Folder f("lumio_png_save");
    const fs::path target = f.path / L"out.png";
    WriteAll(target, Bytes(5000, 0xEE));  // a longer file it replaces
    Bytes untouched = {9};
    ASSERT_TRUE(SavePNG(s, target.wstring(), untouched));
    EXPECT_EQ(untouched, Bytes{9});
    EXPECT_EQ(ReadAll(target), inMemory);
    EXPECT_EQ(f.Entries(), 1u);
}

TEST(SavePNG, FailuresLeaveTheUsersFile) {
    c32bppDIB s;
    Make(s);
    const Bytes original = {'m', 'i', 'n', 'e'};
    Folder f("lumio_png_keep");
    const fs::path target = f.path / L"kept.png";
    Bytes stream;

    WriteAll(target, original);
    ASSERT_TRUE(FailingCompress().Usable()) << "zlib1.dll beside the test";
    EXPECT_FALSE(SavePNG(s, target.wstring(), stream, [] { return std::make_unique<FailingCompress>(); }));
    EXPECT_EQ(ReadAll(target), original) << "failed compression";
    EXPECT_EQ(f.Entries(), 1u) << "no temporary left";

    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SavePNG(s, target.wstring(), stream));
    EXPECT_EQ(ReadAll(target), original) << "read-only target";
    EXPECT_EQ(f.Entries(), 1u);
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);

    const HANDLE locked = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(SavePNG(s, target.wstring(), stream)) << "locked target";
    CloseHandle(locked);
    EXPECT_EQ(ReadAll(target), original);

    fs::create_directories(f.path / L"dir.png");
    EXPECT_FALSE(SavePNG(s, (f.path / L"dir.png").wstring(), stream)) << "a directory";
    EXPECT_EQ(f.Entries(), 2u);
}

// The link is made by the test's set-up outside Wine (a Unix symbolic link), in the folder
// named by LUMIO_LINK_DIR: "linked.png" there points to "real/linked.png".
TEST(SavePNG, ThroughASymbolicLinkTheLinkedFileIsWritten) {
    const std::wstring dir = linkcase::Folder("LUMIO_LINK_DIR");
    if (dir.empty()) GTEST_SKIP() << "no link made by the set-up";
    const fs::path link = dir + L"\\linked.png", real = dir + L"\\real\\linked.png";
    ASSERT_NE(linkcase::FinalPath(link).find(L"\\real\\"), std::wstring::npos) << "the set-up's link";
    c32bppDIB s;
    Make(s);
    Bytes inMemory, unused;
    ASSERT_TRUE(SavePNG(s, std::wstring(), inMemory));
    ASSERT_TRUE(SavePNG(s, link.wstring(), unused));
    EXPECT_NE(linkcase::FinalPath(link).find(L"\\real\\"), std::wstring::npos) << "still a link";
    EXPECT_EQ(ReadAll(real), inMemory);
}

TEST(SavePNG, KeepsAttributesAndWritesInPlaceWhereNothingCanBeMadeBeside) {
    c32bppDIB s;
    Make(s);
    Bytes inMemory, unused;
    ASSERT_TRUE(SavePNG(s, std::wstring(), inMemory));
    Folder f("lumio_png_replace");
    const fs::path hidden = f.path / L"hidden.png";
    WriteAll(hidden, Bytes(10, 1));
    ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SavePNG(s, hidden.wstring(), unused));
    EXPECT_EQ(ReadAll(hidden), inMemory);
    EXPECT_TRUE(GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(f.Entries(), 1u);

    // A name so long that no longer name beside it can be made: the file is written itself.
    const fs::path longName = f.path / (std::wstring(248, L'n') + L".png");
    WriteAll(longName, Bytes(50000, 2));
    ASSERT_EQ(CreateFileW((longName.wstring() + L".~1.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr),
              INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SavePNG(s, longName.wstring(), unused));
    EXPECT_EQ(ReadAll(longName), inMemory);
    EXPECT_EQ(f.Entries(), 2u);
}

TEST(SaveToStream, BmpLoadSaveLoadKeepsPixels) {
    // 24-bit rows (B, G, R, padded to 4 bytes) and 32-bit rows with alpha.
    const Bytes rows24 = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    const Bytes rows32 = {200, 100, 50, 128, 0, 0, 0, 0, 10, 20, 30, 255, 255, 255, 255, 255};
    for (const auto &[bits, rows] : {std::pair{uint16_t(24), rows24}, std::pair{uint16_t(32), rows32}}) {
        SCOPED_TRACE(bits);
        const Bytes file = fixtures::BmpFile(2, 2, bits, 0, rows);
        c32bppDIB first, second;
        ASSERT_TRUE(cBMPparser().LoadStream(file, first, 0, int32_t(file.size())));
        Bytes saved;
        ASSERT_TRUE(SaveToStream(first, saved));
        EXPECT_EQ(ReadLittleEndian16(&saved[28]), bits);
        ASSERT_TRUE(cBMPparser().LoadStream(saved, second, 0, int32_t(saved.size())));
        EXPECT_EQ(second.Alpha(), first.Alpha());
        EXPECT_EQ(Pixels(second), Pixels(first));
    }
}

TEST(SaveToStream_PNG, OurWriterWithoutGdiplusAndGdiplusWithIt) {
    c32bppDIB s;
    Make(s);
    s.isGDIplusEnabled(false);
    Bytes ours, viaSwitch;
    ASSERT_TRUE(SavePNG(s, std::wstring(), ours));
    ASSERT_TRUE(SaveToStream_PNG(s, viaSwitch));
    EXPECT_EQ(viaSwitch, ours);

    s.isGDIplusEnabled(true);
    Bytes viaGdiplus;
    ASSERT_TRUE(SaveToStream_PNG(s, viaGdiplus));
    PngReader reader([] { return LoadZlib(); });
    MemorySurface back;
    MemoryByteSource source(viaGdiplus);
    ASSERT_TRUE(reader.ParsePNG(source, back));
    ASSERT_TRUE(back.HasImage());
    // Opaque pixels come back exactly; the one partly transparent pixel within rounding.
    const Bytes a = Pixels(s), b = Pixels(back);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        EXPECT_NEAR(a[i], b[i], 1) << i;

    c32bppDIB empty;
    Bytes kept = {1};
    EXPECT_FALSE(SaveToStream_PNG(empty, kept));
    EXPECT_EQ(kept, Bytes{1});
}

TEST(SaveToStream_PNG, FailureLeavesTheCallersBytes) {
    // Wine's GDI+ encoder (libpng) refuses pictures wider than 1,000,000 pixels; without
    // zlib our writer cannot step in.
    c32bppDIB wide;
    ASSERT_TRUE(wide.InitializeDIB(1000001, 1));
    wide.isGDIplusEnabled(true);
    ASSERT_TRUE(wide.isGDIplusEnabled());
    const Bytes mine = {'m', 'i', 'n', 'e'};
    Bytes stream = mine;
    EXPECT_FALSE(SaveToStream_PNG(wide, stream, [] { return std::unique_ptr<ZlibApi>(); }));
    EXPECT_EQ(stream, mine);
}

}  // namespace
