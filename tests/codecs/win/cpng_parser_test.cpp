// cPNGparser under Wine without GDI+: our own decoding, zlib1.dll beside the test or none.
#include "png/win/cpng_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "imaging/codec_registry.h"
#include "imaging/file_byte_source.h"
#include "win/library_codecs.h"
#include "zlib/win/zlib_binding.h"

#include "../support/suite_files.h"

using namespace lumio;

namespace {

namespace fs = std::filesystem;
using suite::Bytes;
using lumio::c32bppDIB;

std::unique_ptr<ZlibApi> NoZlib() { return nullptr; }

Bytes Pixels(const c32bppDIB &s) {
    return s.HasImage() ? Bytes(s.BitsPointer(), s.BitsPointer() + s.ByteCount()) : Bytes{};
}

// RAII for a file opened for reading.
struct OpenFile {
    HANDLE h;
    explicit OpenFile(const fs::path &p)
        : h(CreateFileW(p.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~OpenFile() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

TEST(cPNGparser, FindsZlib1BesideTheProgram) {
    const std::unique_ptr<ZlibApi> zlib = LoadZlib();
    ASSERT_TRUE(zlib);
    const uint8_t iend[] = {'I', 'E', 'N', 'D'};
    EXPECT_TRUE(CheckChunkCRC(*zlib, iend, 4, 0xAE426082u));
    EXPECT_FALSE(CheckChunkCRC(*zlib, iend, 4, 0x826042AEu));  // byte-swapped
}

// Both ways of calling zlib: through cCDECL and through the exports bound by file name
// (on x86-64 there is one calling convention, so zlib1.dll serves both).
TEST(cPNGparser, ZlibBindingsCrcUncompressAndInflate) {
    const Bytes raw = {'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c'};
    const Bytes z = {0x78, 0xDA, 0x4B, 0x4C, 0x4A, 0x4E, 0x04, 0x23, 0x00, 0x11, 0x3D, 0x03, 0x73};
    for (bool isCdecl : {true, false}) {
        const std::unique_ptr<ZlibApi> zlib = BindZlib("zlib1.dll", 2, isCdecl);
        ASSERT_TRUE(zlib) << isCdecl;
        EXPECT_EQ(zlib->Crc32(raw.data(), 3), 0x352441C2u) << isCdecl;
        Bytes out(16, 0);
        uint32_t length = uint32_t(out.size());
        EXPECT_TRUE(ZlibUncompress(*zlib, out.data(), length, z.data(), uint32_t(z.size()))) << isCdecl;
        EXPECT_EQ(Bytes(out.begin(), out.begin() + length), raw);
        uint32_t tooShort = 4;
        EXPECT_FALSE(ZlibUncompress(*zlib, out.data(), tooShort, z.data(), uint32_t(z.size())));

        // The same stream through inflate, a few bytes of output at a time.
        const std::unique_ptr<ZlibInflater> inflater = zlib->BeginInflate();
        ASSERT_TRUE(inflater) << isCdecl;
        std::span<const uint8_t> in(z);
        Bytes inflated;
        int status = kZlibOk;
        for (int calls = 0; status == kZlibOk && calls < 20; ++calls) {
            uint8_t piece[4];
            std::span<uint8_t> room(piece);
            status = inflater->Inflate(in, room, false);
            inflated.insert(inflated.end(), piece, piece + (4 - room.size()));
        }
        EXPECT_EQ(status, kZlibStreamEnd) << isCdecl;
        EXPECT_EQ(inflated, raw) << isCdecl;
        EXPECT_TRUE(in.empty()) << isCdecl;
    }
    EXPECT_FALSE(BindZlib("zlib.dll", 1, false)) << "no zlib.dll beside the test";
}

TEST(cPNGparser, SuiteDecodesTheSameWithAndWithoutZlibFromStreamsAndFiles) {
    const std::set<std::string> decodeWithoutZlib = {"xcsn0g01.png", "xhdn0g08.png"};
    int images = 0;
    for (const fs::path &file : suite::All()) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        const Bytes png = suite::ReadFile(file);
        const bool corrupt = name[0] == 'x';

        c32bppDIB without, with, fromFile;
        cPNGparser(NoZlib).LoadStream(png, without, 0, int32_t(png.size()), 0);
        cPNGparser().LoadStream(png, with, 0, int32_t(png.size()), 0);
        {
            OpenFile f(file);
            ASSERT_NE(f.h, INVALID_HANDLE_VALUE);
            cPNGparser().LoadFile(f.h, file.wstring(), fromFile, 0);
        }
        if (corrupt) {
            EXPECT_EQ(without.HasImage(), decodeWithoutZlib.count(name) == 1);
            EXPECT_FALSE(with.HasImage());
            EXPECT_FALSE(fromFile.HasImage());
            continue;
        }
        ASSERT_TRUE(without.HasImage());
        ASSERT_TRUE(with.HasImage());
        ASSERT_TRUE(fromFile.HasImage());
        EXPECT_EQ(with.ImageType(), 10);
        EXPECT_EQ(Pixels(without), Pixels(with));
        EXPECT_EQ(Pixels(fromFile), Pixels(with));
        EXPECT_EQ(without.Alpha(), with.Alpha());
        ++images;
    }
    EXPECT_GT(images, 150);
}

TEST(cPNGparser, StreamIsAViewIntoTheCallersArray) {
    const Bytes png = suite::File("basn6a08.png");
    Bytes padded(7 + png.size() + 5, 0xEE);
    std::copy(png.begin(), png.end(), padded.begin() + 7);
    c32bppDIB whole, inside;
    ASSERT_TRUE(cPNGparser().LoadStream(png, whole, 0, int32_t(png.size()), 0));
    ASSERT_TRUE(cPNGparser().LoadStream(padded, inside, 7, int32_t(png.size()), 0));
    EXPECT_EQ(Pixels(inside), Pixels(whole));
    // A view that leaves the array is not read.
    c32bppDIB none;
    EXPECT_FALSE(cPNGparser().LoadStream(png, none, 1, int32_t(png.size()), 0));
    EXPECT_FALSE(cPNGparser().LoadStream(png, none, -1, 8, 0));
    EXPECT_FALSE(none.HasImage());
}

TEST(cPNGparser, FileSizeTest) {
    const Bytes png = suite::File("basn0g01.png");
    for (size_t size : {size_t(56), size_t(57)}) {
        const fs::path cut = fs::temp_directory_path() / ("cut" + std::to_string(size) + ".png");
        {
            std::ofstream o(cut, std::ios::binary);
            o.write(reinterpret_cast<const char *>(png.data()), std::streamsize(size));
        }
        c32bppDIB s;
        {
            OpenFile f(cut);
            EXPECT_EQ(cPNGparser().LoadFile(f.h, cut.wstring(), s, 0), size > 56) << size;
        }
        EXPECT_FALSE(s.HasImage());
        fs::remove(cut);
    }
}

// The loader's way in: the registered PNG reader, given bytes or an open file.
TEST(cPNGparser, RegisteredReaderDecodesBytesAndFiles) {
    RegisterLibraryCodecs();
    for (const ImageFormat format : {ImageFormat::kPng, ImageFormat::kGif, ImageFormat::kIcon, ImageFormat::kBmp})
        EXPECT_NE(MakeDecoder(format), nullptr) << int(format);
    const fs::path file = suite::Dir() / "basn6a08.png";
    const Bytes png = suite::ReadFile(file);
    c32bppDIB expected;
    ASSERT_TRUE(cPNGparser().LoadStream(png, expected, 0, int32_t(png.size()), 0));

    c32bppDIB fromBytes, fromFile, unnamed;
    MemoryByteSource bytes(png);
    std::unique_ptr<ImageDecoder> reader = MakeDecoder(ImageFormat::kPng);
    ASSERT_NE(reader, nullptr);
    EXPECT_TRUE(reader->Decode({.source = bytes}, fromBytes));
    EXPECT_EQ(reader->Failure(), DecodeFailure::kNone);
    {
        OpenFile f(file);
        FileByteSource source(f.h);
        EXPECT_EQ(source.Size(), png.size());
        const std::wstring name = file.wstring();
        EXPECT_TRUE(MakeDecoder(ImageFormat::kPng)->Decode({.source = source, .fileName = name}, fromFile));
        // A file without its name is not taken: GDI+ could not be offered it.
        reader = MakeDecoder(ImageFormat::kPng);
        EXPECT_FALSE(reader->Decode({.source = source}, unnamed));
        EXPECT_EQ(reader->Failure(), DecodeFailure::kNotThisFormat);
    }
    EXPECT_EQ(Pixels(fromBytes), Pixels(expected));
    EXPECT_EQ(Pixels(fromFile), Pixels(expected));
    EXPECT_FALSE(unnamed.HasImage());

    // Why a damaged file gave no image reaches the caller of Decode.
    Bytes cut(png.begin(), png.begin() + 60);
    MemoryByteSource cutSource(cut);
    c32bppDIB none;
    EXPECT_TRUE(reader->Decode({.source = cutSource}, none));
    EXPECT_EQ(reader->Failure(), DecodeFailure::kTruncated);
}

}  // namespace
