// The GIF reader natively, with a stand-in LZW decoder in place of the system's: the block
// walk, the rebuilt one-image GIF, transparency through the index ramp, and damaged data.
#include "gif/gif_reader.h"

#include <gtest/gtest.h>

#include "support/image_builders.h"
#include "support/stand_in_decoder.h"

namespace {

using fixtures::Bytes;
using fixtures::Rgb;

const std::vector<Rgb> kFour = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};

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

void Load(const Bytes &gif, Loaded &l) {
    lumio::GifReader reader(l.system);
    l.result = reader.LoadStream(gif, l.surface);
    l.why = reader.Failure();
}

Bytes TwoByTwo(const std::string &signature, const Bytes &control = {}) {
    Bytes g = fixtures::GifHeader(2, 2, kFour, signature);
    fixtures::Append(g, control);
    fixtures::Append(g, fixtures::GifImage(0, 0, 2, 2, {0, 1, 2, 3}));
    g.push_back(0x3B);
    return g;
}

TEST(GifReader, SignaturesAreComparedWithoutCase) {
    const struct {
        const char *signature;
        bool read;
    } cases[] = {{"GIF89a", true}, {"gif89a", true}, {"GIF87a", true}, {"GiF87A", true},
                 {"GIF88a", false}, {"GIF89b", false}, {"\x89PNG\r\n", false}};
    for (const auto &c : cases) {
        Loaded l;
        Load(TwoByTwo(c.signature), l);
        EXPECT_EQ(l.result, c.read) << c.signature;
        EXPECT_EQ(l.surface.HasImage(), c.read) << c.signature;
        if (c.read) {
            EXPECT_EQ(std::string(l.system.lastGif.begin(), l.system.lastGif.begin() + 6).substr(0, 3), "GIF");
        }
    }
}

TEST(GifReader, OpaqueFrameKeepsDecodedColours) {
    // A control extension whose transparent flag is clear, naming index 1 all the same.
    Loaded l;
    Load(TwoByTwo("GIF89a", fixtures::GifControl(false, 1)), l);
    ASSERT_TRUE(l.result);
    ASSERT_TRUE(l.surface.HasImage());
    EXPECT_FALSE(l.surface.Alpha());
    EXPECT_EQ(l.surface.ImageType(), 9);
    EXPECT_EQ(l.At(0, 0), (Bytes{30, 20, 10, 255}));
    EXPECT_EQ(l.At(1, 0), (Bytes{60, 50, 40, 255}));
    EXPECT_EQ(l.At(1, 1), (Bytes{120, 110, 100, 255}));
}

TEST(GifReader, FirstFrameOfAnimationIsPlacedAtOrigin) {
    Bytes g = fixtures::GifHeader(20, 20, kFour);
    fixtures::Append(g, {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
    fixtures::Append(g, fixtures::GifControl(false, 0));
    fixtures::Append(g, fixtures::GifImage(5, 3, 3, 2, {0, 1, 2, 3, 2, 1}));
    fixtures::Append(g, fixtures::GifControl(false, 0));
    fixtures::Append(g, fixtures::GifImage(0, 0, 20, 20, Bytes(400, 3)));
    g.push_back(0x3B);
    Loaded l;
    Load(g, l);
    ASSERT_TRUE(l.surface.HasImage());
    EXPECT_EQ(l.surface.Width(), 3);
    EXPECT_EQ(l.surface.Height(), 2);
    EXPECT_EQ(l.At(0, 1), (Bytes{120, 110, 100, 255}));
    // The rebuilt GIF: screen = frame size, frame at (0, 0), one image, a trailer.
    const Bytes &sent = l.system.lastGif;
    EXPECT_EQ(Bytes(sent.begin() + 6, sent.begin() + 10), (Bytes{3, 0, 2, 0}));
    const size_t descriptor = 13 + 12 + 8;
    ASSERT_EQ(sent[descriptor], 0x2C);
    EXPECT_EQ(Bytes(sent.begin() + long(descriptor) + 1, sent.begin() + long(descriptor) + 5), Bytes(4, 0));
    EXPECT_EQ(sent.back(), 0x3B);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x2C), 1);
}

TEST(GifReader, TransparentIndexUsesInputColoursThroughRamp) {
    // Entries 3 and 7 hold the same colour; 7 is transparent, 3 must stay opaque.
    std::vector<Rgb> table(8, Rgb{1, 2, 3});
    table[3] = table[7] = Rgb{200, 100, 50};
    table[0] = Rgb{9, 8, 7};
    Bytes g = fixtures::GifHeader(4, 1, table);
    fixtures::Append(g, fixtures::GifControl(true, 9)); // replaced by the later one
    fixtures::Append(g, fixtures::GifControl(true, 7));
    fixtures::Append(g, fixtures::GifImage(0, 0, 4, 1, {3, 7, 0, 7}));
    g.push_back(0x3B);
    Loaded l;
    Load(g, l);
    ASSERT_TRUE(l.surface.HasImage());
    EXPECT_TRUE(l.surface.Alpha());
    EXPECT_EQ(l.surface.ImageType(), 9);
    EXPECT_EQ(l.At(0, 0), (Bytes{50, 100, 200, 255}));
    EXPECT_EQ(l.At(1, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(l.At(2, 0), (Bytes{7, 8, 9, 255}));
    EXPECT_EQ(l.At(3, 0), (Bytes{0, 0, 0, 0}));
    // Only the second control extension was copied, and the table became a ramp.
    const Bytes &sent = l.system.lastGif;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Bytes(sent.begin() + 13 + 3 * i, sent.begin() + 16 + 3 * i), Bytes(3, uint8_t(i)));
    EXPECT_EQ(sent[13 + 24 + 6], 7);
    EXPECT_EQ(sent[13 + 24 + 8], 0x2C);
}

TEST(GifReader, LocalTableOverridesGlobal) {
    const std::vector<Rgb> local = {{1, 1, 1}, {250, 240, 230}};
    Bytes g = fixtures::GifHeader(2, 1, kFour);
    fixtures::Append(g, fixtures::GifControl(true, 0));
    fixtures::Append(g, fixtures::GifImage(0, 0, 2, 1, {0, 1}, local));
    g.push_back(0x3B);
    Loaded l;
    Load(g, l);
    ASSERT_TRUE(l.surface.HasImage());
    EXPECT_EQ(l.At(0, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(l.At(1, 0), (Bytes{230, 240, 250, 255}));
    // The global table was copied as it stands; the local one holds the ramp.
    EXPECT_EQ(Bytes(l.system.lastGif.begin() + 13, l.system.lastGif.begin() + 16), (Bytes{10, 20, 30}));
}

// Hands back pixels whose blue bytes are indexes far past a four-colour table.
class WildDecoder final : public lumio::SystemDecoder {
public:
    lumio::DecodeResult DecodeGif(std::span<const uint8_t>, lumio::SurfaceCore &host) override {
        host.InitializeDIB(2, 1);
        host.BitsPointer()[0] = 200;
        host.BitsPointer()[4] = 1;
        return lumio::DecodeResult::kFilled;
    }
    bool LoadPicture(std::span<const uint8_t>, lumio::SurfaceCore &, int16_t) override { return false; }
    bool DecodeDib(std::span<const uint8_t>, std::span<const uint8_t>, lumio::SurfaceCore &) override { return false; }
    bool LoadPng(std::span<const uint8_t>, lumio::SurfaceCore &) override { return false; }
};

TEST(GifReader, IndexPastTheTableIsOpaqueBlack) {
    Bytes g = fixtures::GifHeader(2, 1, kFour);
    fixtures::Append(g, fixtures::GifControl(true, 3));
    fixtures::Append(g, fixtures::GifImage(0, 0, 2, 1, {0, 1}));
    g.push_back(0x3B);
    WildDecoder system;
    lumio::MemorySurface s;
    ASSERT_TRUE(lumio::GifReader(system).LoadStream(g, s));
    const uint8_t *p = s.RowFromTop(0);
    EXPECT_EQ(Bytes(p, p + 8), (Bytes{0, 0, 0, 255, 60, 50, 40, 255}));
}

TEST(GifReader, EveryCutInsideTheFirstImageIsRecognisedWithoutImage) {
    Bytes g = fixtures::GifHeader(3, 3, kFour);
    fixtures::Append(g, fixtures::GifControl(true, 1));
    fixtures::Append(g, {0x21, 0xFE, 3, 'a', 'b', 'c', 0}); // a comment
    const size_t imageEnd = g.size() + fixtures::GifImage(0, 0, 3, 3, Bytes(9, 2)).size();
    fixtures::Append(g, fixtures::GifImage(0, 0, 3, 3, Bytes(9, 2)));
    for (size_t cut = 6; cut < imageEnd; ++cut) {
        Loaded l;
        Load(Bytes(g.begin(), g.begin() + long(cut)), l);
        EXPECT_TRUE(l.result) << cut;
        EXPECT_FALSE(l.surface.HasImage()) << cut;
        EXPECT_EQ(l.why, lumio::DecodeFailure::kTruncated) << cut;
    }
    Loaded whole;
    Load(Bytes(g.begin(), g.begin() + long(imageEnd)), whole); // no trailer needed
    EXPECT_TRUE(whole.surface.HasImage());
    EXPECT_EQ(whole.why, lumio::DecodeFailure::kNone);
}

TEST(GifReader, NotReadWithoutImageColoursOrPicture) {
    using Why = lumio::DecodeFailure;
    Bytes noImage = fixtures::GifHeader(2, 2, kFour);
    noImage.push_back(0x3B);
    Bytes noTable = fixtures::GifHeader(2, 2, {});
    fixtures::Append(noTable, fixtures::GifImage(0, 0, 2, 2, {0, 1, 0, 1}));
    Bytes badLzw = fixtures::GifHeader(2, 2, kFour);
    fixtures::Append(badLzw, {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 1, 0xFF, 0});
    const struct {
        const char *what;
        Bytes gif;
        Why why;
    } cases[] = {{"trailer before any image", noImage, Why::kNoImageData},
                 {"no colour table", noTable, Why::kNoImageData},
                 {"undecodable data", badLzw, Why::kSystemRefused}};
    for (const auto &c : cases) {
        Loaded l;
        Load(c.gif, l);
        EXPECT_FALSE(l.result) << c.what;
        EXPECT_FALSE(l.surface.HasImage()) << c.what;
        EXPECT_EQ(l.why, c.why) << c.what;
    }
}

} // namespace
