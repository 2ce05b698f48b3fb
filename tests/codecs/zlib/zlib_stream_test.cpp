// zlib's inflate driven through a small buffer accepts exactly what a one-call uncompress into
// a buffer of the expected size accepts, and hands on the same bytes.
#include "zlib/zlib_stream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "zlib/native/system_zlib.h"

using namespace lumio;

namespace {

using Bytes = std::vector<uint8_t>;

struct Collect final : InflateSink {
    Bytes bytes;
    void Take(std::span<const uint8_t> b) override { bytes.insert(bytes.end(), b.begin(), b.end()); }
};

Bytes Compress(const Bytes &data) {
    uLongf n = compressBound(uLong(data.size()));
    Bytes z(n);
    EXPECT_EQ(compress2(z.data(), &n, data.data(), uLong(data.size()), 6), Z_OK);
    z.resize(n);
    return z;
}

TEST(ZlibInflateStream, AcceptsWhatUncompressAccepts) {
    Bytes plain(200000);
    for (size_t i = 0; i < plain.size(); ++i)
        plain[i] = uint8_t((i * i) >> 9);
    const Bytes z = Compress(plain);
    Bytes badAdler = z;
    badAdler.back() ^= 1;
    Bytes dictionary = z;  // FDICT set, header check kept valid
    dictionary[1] = 0xBB;
    const Bytes cut(z.begin(), z.begin() + ptrdiff_t(z.size() / 2));
    const Bytes empty = Compress({});
    const struct Case {
        const char *name;
        const Bytes &z;
        size_t expected;
    } cases[] = {
        {"exact size", z, plain.size()},         {"room to spare", z, plain.size() + 70000},
        {"one byte short", z, plain.size() - 1}, {"far too short", z, 1000},
        {"bad checksum", badAdler, plain.size()}, {"preset dictionary", dictionary, plain.size()},
        {"cut in half", cut, plain.size()},       {"empty stream", empty, 5},
    };
    const std::unique_ptr<ZlibApi> zlib = SystemZlib();
    for (const Case &c : cases) {
        for (size_t pieceSize : {size_t(1) << 30, size_t(777), size_t(1)}) {
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(pieceSize));
            Bytes whole(c.expected, 0);
            uint32_t length = uint32_t(whole.size());
            const bool expectOk = ZlibUncompress(*zlib, whole.data(), length, c.z.data(), uint32_t(c.z.size()));

            std::vector<std::span<const uint8_t>> pieces;
            for (size_t at = 0; at < c.z.size(); at += pieceSize)
                pieces.emplace_back(c.z.data() + at, std::min(pieceSize, c.z.size() - at));
            const auto inflater = zlib->BeginInflate();
            ASSERT_TRUE(inflater);
            Collect out;
            EXPECT_EQ(ZlibInflateStream(*inflater, c.expected, pieces, out), expectOk);
            if (expectOk)
                EXPECT_TRUE(out.bytes == whole);
            else
                EXPECT_LE(out.bytes.size(), c.expected);
        }
    }
}

}  // namespace
