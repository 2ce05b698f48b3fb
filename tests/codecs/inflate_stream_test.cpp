#include "inflate/inflate_stream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <span>
#include <string>
#include <vector>

#include "support/deflate_writer.h"
#include "support/model_inflate.h"

using namespace lumio;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Compress(const Bytes &data, int level, int strategy, int windowBits = 15, int memLevel = 8) {
    z_stream zs{};
    EXPECT_EQ(deflateInit2(&zs, level, Z_DEFLATED, windowBits, memLevel, strategy), Z_OK);
    Bytes out(deflateBound(&zs, uLong(data.size())) + 16);
    zs.next_in = const_cast<Bytef *>(data.data());
    zs.avail_in = uInt(data.size());
    zs.next_out = out.data();
    zs.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// Kinds of data a PNG carries and more: noise, text, smooth rows with noise, long runs.
Bytes Noise(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto &x : b) x = uint8_t(rng());
    return b;
}

Bytes Text(size_t n, uint32_t seed) {
    static const char *words[] = {"the", "image", "surface", "alpha", "pixel", "row", "of", "and", "deflate", "\n",
                                  "control", "window", "a", "to", "is", "palette", "chunk", "in", "zlib", "."};
    std::mt19937 rng(seed);
    Bytes b;
    while (b.size() < n) {
        const std::string w = words[rng() % 20];
        b.insert(b.end(), w.begin(), w.end());
        b.push_back(' ');
    }
    b.resize(n);
    return b;
}

Bytes Rows(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = uint8_t((i % 997) / 4 + (rng() % 5 == 0 ? rng() % 7 : 0));
    return b;
}

Bytes Runs(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b;
    while (b.size() < n) b.insert(b.end(), 1 + rng() % 700, uint8_t(rng() % 3));
    b.resize(n);
    return b;
}

bool Inflate(Bytes &out, const Bytes &in, bool longLengths = false) { return InflateStream(out, in, longLengths); }

// Runs a check with the decoding loop picked for this processor and again with the one
// every processor runs, so both are covered whichever machine runs the tests.
template <typename Check>
void WithEachLoop(Check check) {
    for (bool portable : {false, true}) {
        SCOPED_TRACE(portable ? "portable loop" : "best loop");
        InflateForcePortable(portable);
        check();
        InflateForcePortable(false);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

TEST(InflateStream, MatchesZlibAtEveryLevelAndStrategy) {
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    const std::vector<Bytes> inputs = {Noise(70000, 1), Text(150000, 2), Rows(120000, 3), Runs(90000, 4),
                                       Text(1, 5),      Bytes{},         Rows(300, 6)};
    WithEachLoop([&] {
        for (int strategy : strategies) {
            for (int level = 0; level <= 9; ++level) {
                for (size_t k = 0; k < inputs.size(); ++k) {
                    const Bytes &data = inputs[k];
                    const Bytes z = Compress(data, level, strategy);
                    Bytes out(data.size());
                    ASSERT_TRUE(Inflate(out, z)) << "strategy " << strategy << " level " << level << " input " << k;
                    ASSERT_EQ(out, data) << "strategy " << strategy << " level " << level << " input " << k;
                }
            }
        }
    });
}

TEST(InflateStream, MatchesZlibAtEveryWindowAndMemoryLevel) {
    const Bytes data = Text(60000, 7);
    for (int windowBits = 9; windowBits <= 15; ++windowBits) {
        for (int memLevel : {1, 5, 9}) {
            const Bytes z = Compress(data, 9, Z_DEFAULT_STRATEGY, windowBits, memLevel);
            Bytes out(data.size());
            ASSERT_TRUE(Inflate(out, z)) << windowBits << "/" << memLevel;
            ASSERT_EQ(out, data);
        }
    }
}

TEST(InflateStream, OutputIsCappedAtTheExpectedSize) {
    for (const Bytes &data : {Text(5000, 8), Runs(5000, 9), Noise(5000, 10)}) {
        const Bytes z = Compress(data, 6, Z_DEFAULT_STRATEGY);
        Bytes shorter(data.size() - 1);
        EXPECT_FALSE(Inflate(shorter, z));
        // A stream that ends early leaves the rest zero, whatever the buffer held before.
        Bytes longer(data.size() + 300, 0xEE);
        ASSERT_TRUE(Inflate(longer, z));
        EXPECT_TRUE(std::equal(data.begin(), data.end(), longer.begin()));
        EXPECT_TRUE(std::all_of(longer.begin() + ptrdiff_t(data.size()), longer.end(), [](uint8_t b) { return b == 0; }));
    }
}

struct Collect final : InflateSink {
    Bytes bytes;
    void Take(std::span<const uint8_t> b) override { bytes.insert(bytes.end(), b.begin(), b.end()); }
};

// The windowed form over the stream cut into pieces: the one-buffer form's result and bytes.
void ExpectWindowedAgrees(const Bytes &z, size_t expected, size_t pieceLength, size_t room, const std::string &what) {
    Bytes flat(expected, 0xEE);
    const bool ok = Inflate(flat, z);
    std::vector<std::span<const uint8_t>> pieces;
    for (size_t at = 0; at < z.size(); at += pieceLength)
        pieces.push_back({z.data() + at, std::min(pieceLength, z.size() - at)});
    Collect windowed;
    ASSERT_EQ(InflateStream(expected, pieces, windowed, false, room), ok) << what;
    if (ok) {
        ASSERT_EQ(windowed.bytes.size(), expected) << what;
        ASSERT_TRUE(windowed.bytes == flat) << what;
    }
}

TEST(InflateStream, WindowedOverPiecesMatchesOneBuffer) {
    // Stored blocks (level 0) cross pieces and window ends; long outputs slide many times; the
    // smallest room makes every long match meet the window's end; pieces of one byte make
    // every refill cross one.
    const struct {
        Bytes data;
        std::vector<size_t> pieces, rooms;
    } cases[] = {{Noise(200000, 21), {7, 8192, 0}, {4096, 0}},
                 {Text(300000, 22), {7, 8192, 0}, {4096, 0}},
                 {Rows(90000, 24), {1, 8192}, {258, 1000}},
                 {Runs(80000, 25), {1, 0}, {258}}};
    for (size_t k = 0; k < std::size(cases); ++k)
        for (int level : {0, 1, 9}) {
            const Bytes &data = cases[k].data;
            const Bytes z = Compress(data, level, Z_DEFAULT_STRATEGY);
            const Bytes cut(z.begin(), z.begin() + ptrdiff_t(z.size() * 2 / 3));
            for (size_t piece : cases[k].pieces)
                for (size_t room : cases[k].rooms) {
                    const std::string what = "case " + std::to_string(k) + " level " + std::to_string(level) +
                                             " piece " + std::to_string(piece) + " room " + std::to_string(room);
                    const size_t length = piece ? piece : z.size();
                    ExpectWindowedAgrees(z, data.size(), length, room, what);
                    ExpectWindowedAgrees(z, data.size() + 70000, length, room, what + " (early end)");
                    ExpectWindowedAgrees(z, data.size() - 1, length, room, what + " (too long)");
                    ExpectWindowedAgrees(cut, data.size(), length, room, what + " (cut off)");
                }
        }
}

TEST(InflateStream, IgnoresTheHeaderAndTheChecksum) {
    const Bytes data = Text(3000, 11);
    Bytes z = Compress(data, 9, Z_DEFAULT_STRATEGY);
    for (auto [cmf, flg] : {std::pair{0x00, 0x00}, {0x78, 0xBB} /* preset dictionary flag */, {0xFF, 0xFF}}) {
        z[0] = uint8_t(cmf);
        z[1] = uint8_t(flg);
        z[z.size() - 1] ^= 0x5A;  // Adler-32
        Bytes out(data.size());
        ASSERT_TRUE(Inflate(out, z));
        EXPECT_EQ(out, data);
    }
    z.resize(z.size() - 4);  // no trailer at all
    Bytes out(data.size());
    EXPECT_TRUE(Inflate(out, z));
    EXPECT_EQ(out, data);
}

struct HandStream {
    const char *name;
    Bytes stream;
    size_t expected;
    bool ok;
    Bytes prefix;  // the expected output starts with this
};

Bytes Trailer(DeflateWriter &w) {
    w.AlignToByte().Bits(0, 32);
    return w.Bytes();
}

std::vector<HandStream> HandStreams() {
    std::vector<HandStream> v;
    {
        DeflateWriter w;
        w.BlockHeader(false, 0).AlignToByte().Bits(0, 16).Bits(0xFFFF, 16);
        w.BlockHeader(true, 1).Fixed('A').Fixed(256);
        v.push_back({"stored block of length 0", Trailer(w), 1, true, {'A'}});
    }
    {
        DeflateWriter w;
        w.BlockHeader(true, 0).AlignToByte().Bits(2, 16).Bits(0xFFFC, 16).Byte('x').Byte('y');
        v.push_back({"LEN and NLEN disagree", Trailer(w), 2, false, {}});
    }
    {
        DeflateWriter w;
        w.BlockHeader(true, 0).AlignToByte().Bits(3, 16).Bits(0xFFFC, 16).Byte('x').Byte('y');
        v.push_back({"stored block past the input", w.Bytes(), 3, false, {}});
    }
    {
        DeflateWriter w;
        w.BlockHeader(true, 0).AlignToByte().Bits(2, 16).Bits(0xFFFD, 16).Byte('x').Byte('y');
        v.push_back({"stored block past the expected size", Trailer(w), 1, false, {}});
    }
    {
        // LEN and NLEN are the last bytes: a byte after them must exist.
        DeflateWriter w;
        w.BlockHeader(true, 0).AlignToByte().Bits(0, 16).Bits(0xFFFF, 16);
        v.push_back({"stored block ending the input", w.Bytes(), 0, false, {}});
    }
    {
        DeflateWriter w;
        w.BlockHeader(true, 1).Fixed('z').FixedMatch(258, 1).Fixed(256);
        Bytes run(259, 'z');
        v.push_back({"distance 1, length 258", Trailer(w), 259, true, run});
    }
    {
        DeflateWriter w;
        w.BlockHeader(true, 1).Fixed('a').Fixed('b').FixedMatch(3, 3).Fixed(256);
        v.push_back({"distance before the start", Trailer(w), 10, false, {}});
    }
    for (int sym : {286, 287}) {
        DeflateWriter w;
        w.BlockHeader(true, 1).Fixed('a').Fixed(sym).Bits(0, 5).Fixed(256);
        v.push_back({"length symbol 286 or 287", Trailer(w), 10, false, {}});
    }
    {
        DeflateWriter w;
        w.BlockHeader(true, 3);
        v.push_back({"block type 3", Trailer(w), 10, false, {}});
    }
    {
        // A final fixed block cut off: the missing bits read as zero, and seven zeros are
        // the end-of-block code.
        DeflateWriter w;
        w.BlockHeader(true, 1).Fixed('q');
        v.push_back({"fixed block cut off", w.Bytes(), 4, true, {'q', 0, 0, 0}});
    }
    {
        DeflateWriter w;
        w.BlockHeader(false, 1).Fixed('q');
        v.push_back({"non-final block cut off", w.Bytes(), 4, false, {}});
    }
    {
        DeflateWriter w;
        w.BlockHeader(true, 1).Fixed('a').Fixed('b');
        v.push_back({"literal beyond the expected size", Trailer(w), 1, false, {}});
    }
    return v;
}

TEST(InflateStream, HandWrittenStreams) {
    for (const HandStream &h : HandStreams()) {
        Bytes out(h.expected);
        const bool ok = Inflate(out, h.stream);
        EXPECT_EQ(ok, h.ok) << h.name;
        if (ok && h.ok) {
            EXPECT_TRUE(std::equal(h.prefix.begin(), h.prefix.end(), out.begin())) << h.name;
        }
        Bytes model(h.expected);
        EXPECT_EQ(ModelInflate(model, h.stream), h.ok) << h.name;
    }
}

TEST(InflateStream, DistanceCodes30And31ReachBackTo65536) {
    // 65536 stored bytes, then a fixed block copying from the very first byte with code 31
    // (49153 + 16383) and from 32769 back with code 30.
    Bytes data = Noise(65536, 12);
    DeflateWriter w;
    w.BlockHeader(false, 0).AlignToByte().Bits(0xFFFF, 16).Bits(0, 16);
    for (size_t i = 0; i < 65535; ++i) w.Byte(data[i]);
    w.BlockHeader(false, 0).AlignToByte().Bits(1, 16).Bits(0xFFFE, 16).Byte(data[65535]);
    w.BlockHeader(true, 1);
    w.Fixed(257).Code(31, 5).Bits(16383, 14);           // length 3, distance 65536
    w.Fixed(257).Code(30, 5).Bits(0, 14);               // length 3, distance 32769
    w.Fixed(256);
    const Bytes z = Trailer(w);
    Bytes out(65536 + 6);
    ASSERT_TRUE(Inflate(out, z));
    Bytes expect = data;
    expect.insert(expect.end(), data.begin(), data.begin() + 3);
    for (int i = 0; i < 3; ++i) expect.push_back(expect[65539 + size_t(i) - 32769]);
    EXPECT_EQ(out, expect);
}

// Dynamic-block headers written field by field.
struct DynamicHeader {
    int hlit, hdist;
    std::vector<int> codeLengthLengths;  // in code-length order, 4..19 of them
};

DeflateWriter &WriteDynamicHeader(DeflateWriter &w, const DynamicHeader &h) {
    w.BlockHeader(true, 2).Bits(uint32_t(h.hlit - 257), 5).Bits(uint32_t(h.hdist - 1), 5);
    w.Bits(uint32_t(h.codeLengthLengths.size() - 4), 4);
    for (int l : h.codeLengthLengths) w.Bits(uint32_t(l), 3);
    return w;
}

TEST(InflateStream, DynamicHeaderErrors) {
    // Code-length code where symbols 0, 16, 17 and 18 have length 2 (codes 00, 01, 10, 11).
    const DynamicHeader h{257, 1, {2, 2, 2, 2}};
    {
        DeflateWriter w;
        WriteDynamicHeader(w, h).Code(1, 2).Bits(0, 2);  // 16 first
        Bytes out(8);
        EXPECT_FALSE(Inflate(out, Trailer(w))) << "repeat of nothing";
    }
    {
        DeflateWriter w;
        WriteDynamicHeader(w, h).Code(3, 2).Bits(127, 7).Code(3, 2).Bits(127, 7).Code(3, 2).Bits(127, 7);
        Bytes out(8);
        EXPECT_FALSE(Inflate(out, Trailer(w))) << "repeat past the lengths";
    }
    {
        DeflateWriter w;  // five code-length codes of length 2: over-subscribed
        WriteDynamicHeader(w, {257, 1, {2, 2, 2, 2, 2}});
        Bytes out(8);
        EXPECT_FALSE(Inflate(out, Trailer(w))) << "over-subscribed";
    }
}

// A dynamic block whose literal/length code is incomplete: only 'a' (code 0) and the end of
// block (code 10) exist, so the code 11 matches nothing.
Bytes IncompleteCodeStream(bool useUnmatched) {
    // Code-length code: symbol 0 -> "0", 1 -> "10", 2 -> "11" (positions in code-length order).
    std::vector<int> cll(18, 0);
    cll[3] = 1;   // symbol 0
    cll[17] = 2;  // symbol 1
    cll[15] = 2;  // symbol 2
    DeflateWriter w;
    WriteDynamicHeader(w, {257, 1, cll});
    // Canonical code-length codes: sym0 "0", sym1 "10", sym2 "11".
    auto len = [&](int l) {
        if (l == 0) w.Code(0, 1);
        if (l == 1) w.Code(2, 2);
        if (l == 2) w.Code(3, 2);
    };
    for (int s = 0; s < 257; ++s) len(s == 'a' ? 1 : s == 256 ? 2 : 0);
    len(1);  // the one distance code
    // Literal code: 'a' length 1 -> "0", 256 length 2 -> "10"; "11" is unused.
    w.Code(0, 1).Code(0, 1);
    if (useUnmatched) w.Code(3, 2);
    w.Code(2, 2);
    return Trailer(w);
}

TEST(InflateStream, IncompleteCodesAreAcceptedButUnusedCodesFail) {
    Bytes out(2);
    EXPECT_TRUE(Inflate(out, IncompleteCodeStream(false)));
    EXPECT_EQ(out, (Bytes{'a', 'a'}));
    EXPECT_FALSE(Inflate(out, IncompleteCodeStream(true)));
}

TEST(InflateStream, LongLengthMode) {
    DeflateWriter w;
    w.BlockHeader(true, 1).Fixed('k').Fixed(285).Bits(997, 16).Code(0, 5).Fixed(256);  // 997 + 3 from distance 1
    const Bytes z = Trailer(w);
    Bytes out(1001);
    ASSERT_TRUE(Inflate(out, z, true));
    EXPECT_EQ(out, Bytes(1001, 'k'));
    Bytes model(1001);
    ASSERT_TRUE(ModelInflate(model, z, true));
    EXPECT_EQ(model, out);
}

// Mutated and cut streams: the fast decoder agrees with the bit-at-a-time model on the
// result and, on success, on every output byte.
TEST(InflateStream, AgreesWithTheModelOnDamagedStreams) {
    std::mt19937 rng(99);
    const std::vector<Bytes> seeds = {
        Compress(Text(3000, 20), 9, Z_DEFAULT_STRATEGY), Compress(Rows(2000, 21), 6, Z_FILTERED),
        Compress(Runs(4000, 22), 9, Z_RLE),              Compress(Text(1500, 23), 1, Z_FIXED),
        Compress(Noise(600, 24), 0, Z_DEFAULT_STRATEGY), Compress(Rows(5000, 25), 9, Z_HUFFMAN_ONLY),
    };
    int successes = 0;
    WithEachLoop([&] {
        for (int iter = 0; iter < 6000; ++iter) {
            Bytes z = seeds[size_t(iter) % seeds.size()];
            const int kind = int(rng() % 4);
            if (kind == 0) {
                z.resize(2 + rng() % (z.size() - 1));
            } else {
                for (int flips = 1 + int(rng() % 3); flips; --flips) {
                    const size_t at = 2 + rng() % (z.size() - 2);
                    z[at] ^= uint8_t(1u << (rng() % 8));
                }
                if (kind == 3) z.resize(z.size() - rng() % 8);
            }
            const size_t expected = (rng() % 2) ? 5000 : 1 + rng() % 6000;
            Bytes fast(expected, 0xAB), model(expected);
            const bool a = Inflate(fast, z);
            const bool b = ModelInflate(model, z);
            ASSERT_EQ(a, b) << "iteration " << iter;
            if (a) {
                ASSERT_EQ(fast, model) << "iteration " << iter;
                ++successes;
            }
        }
    });
    EXPECT_GT(successes, 200);
}

}  // namespace
