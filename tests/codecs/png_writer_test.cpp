// The PNG writer: the encoding it chooses for each kind of surface, the chunks it emits, and
// round trips through libpng and our own reader.
#include "png/png_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <string>

#include "png/png_reader.h"
#include "support/libpng_reference.h"
#include "support/suite_files.h"
#include "zlib/native/system_zlib.h"

using namespace lumio;

namespace {

using Bytes = std::vector<uint8_t>;

struct Bgra {
    uint8_t b, g, r, a;
};
Bgra Opaque(uint8_t r, uint8_t g, uint8_t b) { return {b, g, r, 255}; }
Bgra Grey(uint8_t level) { return Opaque(level, level, level); }
// Straight colour premultiplied as surfaces hold it.
Bgra Pre(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return {uint8_t(b * a / 255), uint8_t(g * a / 255), uint8_t(r * a / 255), a};
}

using PixelFn = std::function<Bgra(int32_t x, int32_t y)>;

void Fill(MemorySurface &s, int32_t w, int32_t h, bool alpha, const PixelFn &at) {
    ASSERT_TRUE(s.InitializeDIB(w, h));
    s.SetAlpha(alpha);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const Bgra p = at(x, y);
            std::memcpy(s.RowFromTop(y) + size_t(x) * 4, &p, 4);
        }
}

struct Chunk {
    std::string type;
    Bytes data;
};

uint32_t Be32(const uint8_t *p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// The chunks of a written file; each CRC checked on the way.
std::vector<Chunk> Chunks(const Bytes &png) {
    static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<Chunk> out;
    EXPECT_GE(png.size(), 8u);
    EXPECT_EQ(std::memcmp(png.data(), kSig, 8), 0);
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t len = Be32(&png[at]);
        EXPECT_LE(at + 12 + len, png.size());
        if (at + 12 + len > png.size())
            break;
        Chunk c{std::string(png.begin() + at + 4, png.begin() + at + 8), Bytes(png.begin() + at + 8, png.begin() + at + 8 + len)};
        EXPECT_EQ(Be32(&png[at + 8 + len]), uint32_t(crc32(0, &png[at + 4], len + 4))) << c.type;
        out.push_back(std::move(c));
        at += 12 + len;
    }
    EXPECT_EQ(at, png.size());
    return out;
}

const Chunk *Find(const std::vector<Chunk> &chunks, const char *type) {
    for (const Chunk &c : chunks)
        if (c.type == type)
            return &c;
    return nullptr;
}

std::string Order(const std::vector<Chunk> &chunks) {
    std::string s;
    for (const Chunk &c : chunks)
        s += (s.empty() ? "" : " ") + c.type;
    return s;
}

Bytes Inflate(const Bytes &z, size_t size) {
    Bytes out(size);
    uLongf len = size;
    EXPECT_EQ(uncompress(out.data(), &len, z.data(), z.size()), Z_OK);
    EXPECT_EQ(len, size);
    return out;
}

// Straight R, G, B, A of a premultiplied pixel as the writer must store it.
void Straight(const uint8_t *bgra, uint8_t *rgba) {
    const uint8_t a = bgra[3];
    for (int i = 0; i < 3; ++i)
        rgba[i] = a == 255 ? bgra[2 - i] : a == 0 ? 0 : uint8_t(bgra[2 - i] * 255 / a);
    rgba[3] = a;
}

// Written bytes checked against the source: IHDR, IDAT as one compress2 level-9 stream of
// rows with the filter byte of the type, libpng's straight pixels and our reader's.
void CheckWritten(const SurfaceCore &src, const Bytes &png, int expectedType = -1) {
    const std::vector<Chunk> chunks = Chunks(png);
    ASSERT_GE(chunks.size(), 3u);
    ASSERT_EQ(chunks.front().type, "IHDR");
    const Bytes &ihdr = chunks.front().data;
    ASSERT_EQ(ihdr.size(), 13u);
    EXPECT_EQ(Be32(&ihdr[0]), uint32_t(src.Width()));
    EXPECT_EQ(Be32(&ihdr[4]), uint32_t(src.Height()));
    const int type = ihdr[9];
    if (expectedType >= 0) {
        EXPECT_EQ(type, expectedType);
    }
    EXPECT_EQ(Bytes(ihdr.begin() + 8, ihdr.end()), (Bytes{8, uint8_t(type), 0, 0, 0}));
    const char *order = type == 3 ? (Find(chunks, "tRNS") ? "IHDR PLTE tRNS IDAT IEND" : "IHDR PLTE IDAT IEND")
                        : Find(chunks, "tRNS") ? "IHDR tRNS IDAT IEND"
                                               : "IHDR IDAT IEND";
    EXPECT_EQ(Order(chunks), order);
    EXPECT_EQ(Bytes(png.end() - 12, png.end()), (Bytes{0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82}));

    const Chunk *idat = Find(chunks, "IDAT");
    ASSERT_TRUE(idat);
    const size_t bpp = type == 6 ? 4 : type == 2 ? 3 : 1;
    const size_t rowLength = size_t(src.Width()) * bpp + 1;
    const Bytes rows = Inflate(idat->data, rowLength * size_t(src.Height()));
    for (int32_t y = 0; y < src.Height(); ++y)
        EXPECT_EQ(rows[size_t(y) * rowLength], bpp == 1 ? 0 : 4) << "filter of row " << y;
    Bytes level9(compressBound(rows.size()));
    uLongf len = level9.size();
    ASSERT_EQ(compress2(level9.data(), &len, rows.data(), rows.size(), 9), Z_OK);
    level9.resize(len);
    EXPECT_EQ(idat->data, level9);

    const auto ref = DecodeWithLibpng(png);
    ASSERT_TRUE(ref);
    for (int32_t y = 0; y < src.Height(); ++y)
        for (int32_t x = 0; x < src.Width(); ++x) {
            uint8_t want[4];
            Straight(src.RowFromTop(y) + size_t(x) * 4, want);
            const uint8_t *got = &ref->rgba[(size_t(y) * size_t(src.Width()) + size_t(x)) * 4];
            const bool same = want[3] == 0 ? got[3] == 0 : std::memcmp(want, got, 4) == 0;
            if (!same) {
                ADD_FAILURE() << "libpng pixel (" << x << ", " << y << ") differs";
                return;
            }
        }

    PngReader reader(SystemZlib);
    MemorySurface back;
    MemoryByteSource source(png);
    ASSERT_TRUE(reader.ParsePNG(source, back));
    ASSERT_TRUE(back.HasImage());
    Bytes ours;
    for (int32_t y = 0; y < back.Height(); ++y)
        ours.insert(ours.end(), back.RowFromTop(y), back.RowFromTop(y) + size_t(back.Width()) * 4);
    EXPECT_EQ(ours, ref->bgra);
}

Bytes Save(const SurfaceCore &s) {
    Bytes out;
    EXPECT_TRUE(SavePNG(s, SystemZlib, out));
    return out;
}

// Colour n of a run of distinct opaque colours, never grey.
Bgra Distinct(int n) { return Opaque(uint8_t(n), uint8_t(n >> 8), uint8_t(1 + n % 7 == 1 ? 200 : 100)); }

struct Case {
    const char *name;
    int32_t w, h;
    bool alpha;
    PixelFn at;
    int type;
    Bytes trns;                // empty: no tRNS
    std::function<void(const std::vector<Chunk> &)> more = {};
};

TEST(PngWriter, EncodingChoice) {
    const Case cases[] = {
        {"200 opaque colours: indexed, ascending", 20, 10, true,
         [](int32_t x, int32_t y) { const int n = y * 20 + x; return Opaque(uint8_t(199 - n), uint8_t(n % 3), 7); }, 3, {},
         [](const std::vector<Chunk> &c) {
             const Chunk *plte = Find(c, "PLTE");
             ASSERT_TRUE(plte);
             ASSERT_EQ(plte->data.size(), 600u);
             for (int p = 0; p < 200; ++p)
                 EXPECT_EQ(Bytes(&plte->data[p * 3], &plte->data[p * 3 + 3]), (Bytes{uint8_t(p), uint8_t((199 - p) % 3), 7}));
         }},
        {"10 opaque greys with 0, without 1: harmless key 1", 10, 1, true,
         [](int32_t x, int32_t) { return Grey(uint8_t(x == 0 ? 0 : 10 + x)); }, 0, {0, 1}},
        {"10 opaque greys without 0: key 0", 10, 1, true, [](int32_t x, int32_t) { return Grey(uint8_t(5 + x)); }, 0, {0, 0}},
        {"opaque greys without alpha: no key", 10, 1, false, [](int32_t x, int32_t) { return Grey(uint8_t(5 + x)); }, 0, {}},
        {"greys with transparent black: smallest free level", 6, 1, true,
         [](int32_t x, int32_t) { const uint8_t l[] = {0, 1, 2, 5, 9}; return x == 5 ? Bgra{0, 0, 0, 0} : Grey(l[x]); }, 0,
         {0, 3},
         [](const std::vector<Chunk> &c) {
             const Chunk *idat = Find(c, "IDAT");
             ASSERT_TRUE(idat);
             EXPECT_EQ(Inflate(idat->data, 7), (Bytes{0, 0, 1, 2, 5, 9, 3}));
         }},
        {"one partly transparent grey: indexed with its alpha", 3, 1, true,
         [](int32_t x, int32_t) { return x == 2 ? Pre(60, 60, 60, 100) : Grey(uint8_t(x * 200)); }, 3, {100},
         [](const std::vector<Chunk> &c) {
             const Chunk *plte = Find(c, "PLTE");
             ASSERT_TRUE(plte);
             // The semi-transparent one first, then the opaque ones descending.
             const uint8_t g = uint8_t(uint8_t(60 * 100 / 255) * 255 / 100);
             EXPECT_EQ(plte->data, (Bytes{g, g, g, 200, 200, 200, 0, 0, 0}));
         }},
        {"256 values: indexed", 16, 16, true, [](int32_t x, int32_t y) { return Distinct(y * 16 + x); }, 3, {}},
        {"257 values: true colour", 257, 1, true, [](int32_t x, int32_t) { return Distinct(x); }, 2, {0, 0, 0, 0, 0, 0}},
        {"3 semi-transparent and 5 opaque", 8, 1, true,
         [](int32_t x, int32_t) { return x < 3 ? Pre(200, 100, uint8_t(50 + x), uint8_t(60 + x * 40)) : Opaque(uint8_t(x * 20), 1, 2); },
         // Ascending as signed values: alpha 140 (top bit set) sorts before 60 and 100.
         3, {140, 60, 100},
         [](const std::vector<Chunk> &c) {
             const Chunk *plte = Find(c, "PLTE");
             ASSERT_TRUE(plte);
             ASSERT_EQ(plte->data.size(), 24u);
             for (int p = 0; p < 3; ++p) {
                 const int x = (p + 2) % 3;
                 const Bgra s = Pre(200, 100, uint8_t(50 + x), uint8_t(60 + x * 40));
                 EXPECT_EQ(Bytes(&plte->data[p * 3], &plte->data[p * 3 + 3]),
                           (Bytes{uint8_t(s.r * 255 / s.a), uint8_t(s.g * 255 / s.a), uint8_t(s.b * 255 / s.a)}))
                     << p;
             }
             for (int p = 3; p < 8; ++p)  // opaque, descending
                 EXPECT_EQ(plte->data[p * 3], uint8_t((10 - p) * 20)) << p;
         }},
        {"300 colours, transparent black, blue never 0: key (0, 0, 0)", 300, 2, true,
         [](int32_t x, int32_t y) { return y == 1 && x % 5 == 0 ? Bgra{0, 0, 0, 0} : Opaque(uint8_t(x), uint8_t(x >> 8), uint8_t(1 + x % 9)); },
         2, {0, 0, 0, 0, 0, 0}},
        {"300 colours, every blue used: key from green", 300, 2, true,
         [](int32_t x, int32_t y) { return y == 1 && x == 7 ? Bgra{0, 0, 0, 0} : Opaque(9, uint8_t(x % 3 + 0), uint8_t(x)); },
         2, {0, 3, 0, 3, 0, 3}},
        {"one alpha-128 pixel: RGBA", 300, 1, true,
         [](int32_t x, int32_t) { return x == 17 ? Pre(250, 3, 90, 128) : Opaque(uint8_t(x), uint8_t(x >> 8), 5); }, 6, {}},
        {"transparent pixel with colour: RGBA", 300, 1, true,
         [](int32_t x, int32_t) { return x == 17 ? Bgra{0, 0, 0, 0} : Opaque(uint8_t(x), uint8_t(x >> 8), 5); }, 2,
         {0, 0, 0, 0, 0, 0}},
        {"every channel full: RGBA", 256, 2, true,
         [](int32_t x, int32_t y) { return y == 1 ? Bgra{0, 0, 0, 0} : Opaque(uint8_t(x), uint8_t(x), uint8_t(255 - x)); }, 6, {}},
        {"no alpha, 300 colours: RGB without key", 300, 1, false,
         [](int32_t x, int32_t) { return Opaque(uint8_t(x), uint8_t(x >> 8), 0); }, 2, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MemorySurface s;
        Fill(s, c.w, c.h, c.alpha, c.at);
        const Bytes before(s.BitsPointer(), s.BitsPointer() + s.ByteCount());
        const Bytes png = Save(s);
        EXPECT_EQ(Bytes(s.BitsPointer(), s.BitsPointer() + s.ByteCount()), before) << "the surface changed";
        CheckWritten(s, png, c.type);
        const std::vector<Chunk> chunks = Chunks(png);
        const Chunk *trns = Find(chunks, "tRNS");
        EXPECT_EQ(trns ? trns->data : Bytes{}, c.trns);
        if (c.more)
            c.more(chunks);
    }
}

TEST(PngWriter, OneBlackPixelBytes) {
    MemorySurface s;
    Fill(s, 1, 1, false, [](int32_t, int32_t) { return Grey(0); });
    const Bytes png = Save(s);
    Bytes z(64);
    uLongf zlen = z.size();
    const Bytes raw = {0, 0};
    ASSERT_EQ(compress2(z.data(), &zlen, raw.data(), 2, 9), Z_OK);
    z.resize(zlen);
    Bytes want = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0};
    auto crc = [&](size_t from) {
        const uint32_t c = uint32_t(crc32(0, &want[from], uInt(want.size() - from)));
        for (int i = 3; i >= 0; --i)
            want.push_back(uint8_t(c >> (i * 8)));
    };
    crc(12);
    const size_t idat = want.size() + 4;
    want.insert(want.end(), {0, 0, 0, uint8_t(zlen), 'I', 'D', 'A', 'T'});
    want.insert(want.end(), z.begin(), z.end());
    crc(idat);
    want.insert(want.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
    EXPECT_EQ(png, want);
}

// A zlib with only some of its calls.
class PartialZlib final : public ZlibApi {
public:
    explicit PartialZlib(bool compress2, int failWith = 0) : compress2_(compress2), failWith_(failWith) {}
    uint32_t Crc32(const uint8_t *d, uint32_t n) override { return uint32_t(crc32(0, d, n)); }
    int Uncompress(uint8_t *, uint32_t &, const uint8_t *, uint32_t) override { return -2; }
    bool HasCompress2() override { return compress2_; }
    int Compress2(uint8_t *d, uint32_t &dl, const uint8_t *s, uint32_t sl, int level) override {
        EXPECT_TRUE(compress2_);
        return Call([&](uLongf &l) { return compress2(d, &l, s, sl, level); }, dl);
    }
    int Compress(uint8_t *d, uint32_t &dl, const uint8_t *s, uint32_t sl) override {
        EXPECT_FALSE(compress2_);
        return Call([&](uLongf &l) { return compress(d, &l, s, sl); }, dl);
    }

private:
    template <class F>
    int Call(F f, uint32_t &dl) {
        if (failWith_)
            return failWith_;
        uLongf l = dl;
        const int status = f(l);
        dl = uint32_t(l);
        return status;
    }
    bool compress2_;
    int failWith_;
};

TEST(PngWriter, ZlibBindings) {
    MemorySurface s;
    Fill(s, 300, 3, false, [](int32_t x, int32_t y) { return Opaque(uint8_t(x), uint8_t(x >> 8), uint8_t(y)); });

    // Without compress2: compress at zlib's default level.
    Bytes png;
    ASSERT_TRUE(SavePNG(s, [] { return std::make_unique<PartialZlib>(false); }, png));
    const std::vector<Chunk> chunks = Chunks(png);
    const Chunk *idat = Find(chunks, "IDAT");
    ASSERT_TRUE(idat);
    const Bytes rows = Inflate(idat->data, 3 * 901);
    Bytes dflt(compressBound(rows.size()));
    uLongf len = dflt.size();
    ASSERT_EQ(compress(dflt.data(), &len, rows.data(), rows.size()), Z_OK);
    dflt.resize(len);
    EXPECT_EQ(idat->data, dflt);

    // No image or no zlib: false, the caller's array untouched.
    const Bytes kept = {1, 2, 3};
    Bytes out = kept;
    EXPECT_FALSE(SavePNG(s, [] { return std::unique_ptr<ZlibApi>(); }, out));
    EXPECT_EQ(out, kept);
    MemorySurface empty;
    EXPECT_FALSE(SavePNG(empty, SystemZlib, out));
    EXPECT_EQ(out, kept);

    // zlib refusing: false, the array emptied.
    EXPECT_FALSE(SavePNG(s, [] { return std::make_unique<PartialZlib>(true, Z_BUF_ERROR); }, out));
    EXPECT_TRUE(out.empty());
}

TEST(PngWriter, ColourAboveItsAlphaFailsTheSave) {
    for (bool manyColours : {false, true}) {
        MemorySurface s;
        Fill(s, 300, 1, true, [&](int32_t x, int32_t) {
            return x == 5 ? Bgra{90, 10, 10, 80} : Opaque(uint8_t(manyColours ? x : 1), uint8_t(x >> 8), 5);
        });
        Bytes out = {7};
        EXPECT_FALSE(SavePNG(s, SystemZlib, out)) << manyColours;
        EXPECT_TRUE(out.empty());
    }
}

TEST(PngWriter, FindPaletteSlot) {
    const int32_t list[] = {0, -5, 3, 9};  // 1-based
    struct {
        int32_t value;
        bool isNew;
        int32_t position;
    } const cases[] = {{-5, false, 1}, {9, false, 3}, {-9, true, 1}, {4, true, 3}, {10, true, 4}, {0, true, 2}};
    for (const auto &c : cases) {
        const auto slot = cPNGwriter::FindPaletteSlot(list, c.value, 3);
        EXPECT_EQ(slot.isNew, c.isNew) << c.value;
        EXPECT_EQ(slot.position, c.position) << c.value;
    }
    EXPECT_EQ(cPNGwriter::FindPaletteSlot(list, 1, 0).position, 1);
    EXPECT_EQ(cPNGwriter::BytesPerRow(5, 24), 15);
    EXPECT_EQ(cPNGwriter::BytesPerRow(5, 1), 1);
}

// Every suite image our reader decodes, written and read back.
TEST(PngWriter, SuiteRoundTrip) {
    int checked = 0;
    for (const auto &file : suite::All()) {
        const std::string name = file.filename().string();
        if (name[0] == 'x')
            continue;
        PngReader reader(SystemZlib);
        MemorySurface s;
        const Bytes png = suite::ReadFile(file);
        MemoryByteSource source(png);
        if (!reader.ParsePNG(source, s) || !s.HasImage())
            continue;
        SCOPED_TRACE(name);
        CheckWritten(s, Save(s));
        ++checked;
    }
    EXPECT_GT(checked, 150);
}

}  // namespace
