// The loading chain natively: ranges, the order of the readers, kept bytes, the system
// decoder's turn and a reader's escaping error, with the stand-in codecs.
#include "imaging/picture_chain.h"

#include <gtest/gtest.h>

#include "imaging/codec_registry.h"
#include "run_time_error.h"
#include "support/image_builders.h"
#include "support/stand_in_codecs.h"

namespace {

using fixtures::Bytes;

struct Hooks final : lumio::ChainHooks {
    bool enabled = false;
    int systemCalls = 0;
    std::vector<std::wstring> shown;
    bool SystemDecoderEnabled() const override { return enabled; }
    bool DecodeWithSystem(std::wstring_view, std::span<const uint8_t> bytes, lumio::SurfaceCore &host,
                          std::vector<uint8_t> *png) override {
        ++systemCalls;
        if (bytes.size() < 4 || bytes[0] != 'J') return false;
        host.InitializeDIB(1, 1);
        if (png) *png = {'P', 'N', 'G'};
        return true;
    }
    void ShowReaderError(const std::wstring &d) override { shown.push_back(d); }
};

class PictureChain : public ::testing::Test {
protected:
    void SetUp() override { system_ = &RegisterStandInCodecs(); }
    bool Load(std::span<const uint8_t> bytes, bool save = false, int32_t cx = 0, int32_t cy = 0) {
        lumio::LoadRequest r;
        r.bytes = bytes;
        r.saveFormat = save;
        r.iconCx = cx;
        r.iconCy = cy;
        return lumio::LoadPictureData(surface_, r, hooks_);
    }
    StandInDecoder *system_ = nullptr;
    lumio::MemorySurface surface_;
    Hooks hooks_;
};

// A 32-bit BMP of `size` bytes at least, padded after its rows.
Bytes Bmp(size_t size) {
    Bytes b = fixtures::BmpFile(1, 1, 32, 0, {1, 2, 3, 0});
    if (b.size() < size) b.resize(size, 0);
    return b;
}

TEST_F(PictureChain, StreamRanges) {
    const Bytes array(100, 7);
    const struct {
        const char *what;
        int32_t start, length;
        bool read;
        size_t from, size;
    } cases[] = {
        {"whole array", 0, 0, true, 0, 100},
        {"start below 0 reads from 0", -5, 0, true, 0, 100},
        {"length past the end is clipped", 10, 500, true, 10, 90},
        {"57 bytes", 43, 0, true, 43, 57},
        {"56 bytes", 44, 0, false, 0, 0},
        {"56 bytes asked of many", 0, 56, false, 0, 0},
        {"start at the end", 100, 0, false, 0, 0},
        {"start past the end", 1000, 60, false, 0, 0},
        {"negative length", 0, -1, false, 0, 0},
    };
    for (const auto &c : cases) {
        const auto r = lumio::StreamLoadRange(array, c.start, c.length);
        ASSERT_EQ(r.has_value(), c.read) << c.what;
        if (r) {
            EXPECT_EQ(r->data(), array.data() + c.from) << c.what;
            EXPECT_EQ(r->size(), c.size) << c.what;
        }
    }
}

TEST_F(PictureChain, ReadersInOrderAndKeptRange) {
    Bytes array(10, 0xEE);
    const Bytes bmp = Bmp(80);
    fixtures::Append(array, bmp);
    array.insert(array.end(), 5, 0xEE);
    EXPECT_TRUE(Load(std::span<const uint8_t>(array).subspan(10, bmp.size()), true));
    EXPECT_EQ(surface_.ImageType(), 1);
    EXPECT_EQ(surface_.OriginalFormat(), bmp); // the range, not the whole array
    EXPECT_FALSE(Load(Bytes(80, 0x55), true));
    EXPECT_TRUE(surface_.OriginalFormat().empty());
    EXPECT_TRUE(Load(bmp, false));
    EXPECT_TRUE(surface_.OriginalFormat().empty());
}

TEST_F(PictureChain, HugeDeclaredPngIsRefusedWithoutOverflow) {
    Bytes png = fixtures::PngRgba(1, 1, {1, 2, 3, 4});
    const uint8_t huge[8] = {0x41, 0xC0, 0x02, 0x00, 0x40, 0x61, 0x00, 0x00};
    std::copy(huge, huge + 8, png.begin() + 16);
    png.resize(80, 0);
    EXPECT_FALSE(Load(png));
}

TEST_F(PictureChain, RecognisedGifStopsTheChain) {
    // A damaged GIF is recognised without image: the icon and BMP readers are not asked.
    Bytes gif = fixtures::GifHeader(2, 2, {{1, 2, 3}, {4, 5, 6}});
    fixtures::Append(gif, fixtures::GifImage(0, 0, 2, 2, {0, 1, 1, 0}));
    gif.resize(gif.size() - 2);
    gif.resize(80, 0x01); // sub-block lengths now run past the end
    EXPECT_FALSE(Load(gif));
    EXPECT_EQ(system_->pictureLoaderCalls, 0);
    EXPECT_EQ(surface_.ImageType(), -1);
}

TEST_F(PictureChain, SystemDecoderWhenNoImage) {
    hooks_.enabled = true;
    Bytes jpeg(80, 0);
    jpeg[0] = 'J';
    const Bytes before = jpeg;
    EXPECT_TRUE(Load(jpeg, true));
    EXPECT_EQ(surface_.OriginalFormat(), (Bytes{'P', 'N', 'G'})); // kept as PNG
    EXPECT_EQ(jpeg, before);
    EXPECT_TRUE(Load(Bmp(80)));
    EXPECT_EQ(hooks_.systemCalls, 1); // not when a reader made an image
    hooks_.enabled = false;
    EXPECT_FALSE(Load(jpeg));
    EXPECT_EQ(hooks_.systemCalls, 1);
}

class ThrowingPng final : public lumio::ImageDecoder {
public:
    bool Decode(const lumio::DecodeRequest &, lumio::SurfaceCore &host) override {
        host.InitializeDIB(2, 2);
        lumio::Raise(lumio::kErrSubscriptOutOfRange);
    }
};

TEST_F(PictureChain, ErrorEscapingThePngReaderIsShownOnceAndTakenAsFalse) {
    lumio::RegisterDecoder(lumio::ImageFormat::kPng,
                           [] { return std::unique_ptr<lumio::ImageDecoder>(new ThrowingPng); });
    EXPECT_TRUE(Load(Bmp(80)));
    ASSERT_EQ(hooks_.shown.size(), 1u);
    EXPECT_EQ(hooks_.shown[0], lumio::StandardErrorText(lumio::kErrSubscriptOutOfRange));
    EXPECT_EQ(surface_.Width(), 1); // the BMP's image, nothing of the PNG reader's
}

TEST_F(PictureChain, SourceIconSizes) {
    auto dib = [](int32_t size, uint16_t bits) {
        const uint32_t n = uint32_t(size);
        return fixtures::IconDib(size, size, bits, Bytes(bits <= 8 ? 4u << bits : 0, 0),
                                 Bytes(fixtures::RowBytes(bits, n) * n, 0), Bytes(fixtures::RowBytes(1, n) * n, 0));
    };
    const Bytes ico = fixtures::IconFile(1, {{16, 16, 4, dib(16, 4)}, {32, 32, 32, dib(32, 32)}, {8, 8, 8, dib(8, 8)}});
    std::vector<std::array<int32_t, 4>> sizes;
    ASSERT_TRUE(Load(ico, true, 16, 16));
    EXPECT_EQ(surface_.Width(), 16);
    EXPECT_EQ(lumio::SourceIconSizes(surface_, sizes), 3);
    EXPECT_EQ(sizes[0], (std::array<int32_t, 4>{16, 16, 4, 16}));
    EXPECT_EQ(sizes[1], (std::array<int32_t, 4>{32, 32, 32, -1}));
    EXPECT_EQ(sizes[2], (std::array<int32_t, 4>{8, 8, 8, 256}));
    ASSERT_TRUE(Load(ico, false, 32, 32));
    EXPECT_EQ(lumio::SourceIconSizes(surface_, sizes), 1);
    EXPECT_EQ(sizes[0], (std::array<int32_t, 4>{32, 32, 32, -1}));
    ASSERT_TRUE(Load(Bmp(80), true));
    EXPECT_EQ(lumio::SourceIconSizes(surface_, sizes), 0);
}

} // namespace
