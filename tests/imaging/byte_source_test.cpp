// The codecs' byte source: every read stays inside the bytes, at both ends of the range.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "imaging/byte_sink.h"
#include "imaging/byte_source.h"

using namespace lumio;

TEST(ByteSource, ReadsStopAtTheEnd) {
    const std::uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A};
    MemoryByteSource s(bytes);
    EXPECT_EQ(s.Size(), 5u);
    std::uint32_t v32 = 7;
    std::uint16_t v16 = 7;
    std::uint8_t v8 = 7;
    EXPECT_TRUE(s.ReadU32BE(0, v32));
    EXPECT_EQ(v32, 0x12345678u);
    EXPECT_TRUE(s.ReadU32LE(1, v32));
    EXPECT_EQ(v32, 0x9A785634u);
    EXPECT_TRUE(s.ReadU16BE(3, v16));
    EXPECT_EQ(v16, 0x789A);
    EXPECT_TRUE(s.ReadU16LE(3, v16));
    EXPECT_EQ(v16, 0x9A78);
    EXPECT_TRUE(s.ReadU8(4, v8));
    EXPECT_EQ(v8, 0x9A);
    // One byte too far leaves the value as it was.
    EXPECT_FALSE(s.ReadU32BE(2, v32));
    EXPECT_FALSE(s.ReadU16LE(4, v16));
    EXPECT_FALSE(s.ReadU8(5, v8));
    EXPECT_EQ(v32, 0x9A785634u);
    EXPECT_EQ(v16, 0x9A78);
    EXPECT_EQ(v8, 0x9A);

    struct { std::uint64_t offset; std::size_t n; bool inside; } fetches[] = {
        {0, 5, true}, {5, 0, true}, {0, 6, false}, {6, 0, false}, {1, 5, false},
        {std::numeric_limits<std::uint64_t>::max(), 2, false}, {2, std::numeric_limits<std::size_t>::max(), false},
    };
    for (auto f : fetches)
        EXPECT_EQ(s.Fetch(f.offset, f.n) != nullptr, f.inside) << f.offset << "+" << f.n;
}

TEST(ByteSource, WindowOfAnArray) {
    const std::vector<std::uint8_t> bytes(10, 1);
    struct { std::int64_t start, length; bool valid; } cases[] = {
        {0, 10, true}, {10, 0, true}, {3, 7, true}, {3, 8, false}, {11, 0, false},
        {-1, 2, false}, {2, -1, false}, {INT64_MAX, INT64_MAX, false},
    };
    for (auto c : cases) {
        const auto w = ByteWindow(bytes, c.start, c.length);
        ASSERT_EQ(w.has_value(), c.valid) << c.start << "+" << c.length;
        if (w) {
            EXPECT_EQ(w->data(), bytes.data() + c.start);
            EXPECT_EQ(w->size(), std::size_t(c.length));
        }
    }
}

TEST(ByteSource, EndianWritersMatchTheReaders) {
    std::uint8_t b[4] = {};
    WriteBigEndian32(b, 0x01020304u);
    EXPECT_EQ(ReadBigEndian32(b), 0x01020304u);
    EXPECT_EQ(ReadLittleEndian32(b), 0x04030201u);
    WriteLittleEndian32(b, 0x01020304u);
    EXPECT_EQ(b[0], 4);
    WriteBigEndian16(b, 0xA1B2);
    EXPECT_EQ(ReadLittleEndian16(b), 0xB2A1);
    WriteLittleEndian16(b, 0xA1B2);
    EXPECT_EQ(ReadBigEndian16(b), 0xB2A1);
}

TEST(ByteSink, AppendsToTheCallersArray) {
    std::vector<std::uint8_t> out{9};
    MemoryByteSink sink(out);
    const std::uint8_t a[] = {1, 2}, none[1] = {};
    EXPECT_TRUE(sink.Write(a));
    EXPECT_TRUE(sink.Write(std::span(none, 0)));
    EXPECT_EQ(out, (std::vector<std::uint8_t>{9, 1, 2}));
}
