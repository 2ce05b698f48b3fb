// The surface as BMP bytes: the 54-byte header, 24-bit padded rows or the 32-bit bytes as
// stored, and surfaces that load, save and load again unchanged.
#include "bmp/bmp_writer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "bmp/bmp_reader.h"
#include "imaging/byte_source.h"
#include "support/image_builders.h"
#include "support/stand_in_decoder.h"

using namespace lumio;

namespace {

using Bytes = std::vector<uint8_t>;

// A 3 x 2 surface whose pixel bytes are 1, 2, 3, ... (alpha: premultiplied, every alpha 200).
void Make(MemorySurface &s, bool alpha) {
    ASSERT_TRUE(s.InitializeDIB(3, 2));
    s.SetAlpha(alpha);
    for (size_t i = 0; i < s.ByteCount(); ++i)
        s.BitsPointer()[i] = i % 4 == 3 ? (alpha ? 200 : 255) : uint8_t(10 + i);
}

TEST(BmpWriter, Header78ByteFiles) {
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "32-bit" : "24-bit");
        MemorySurface s;
        Make(s, alpha);
        Bytes out;
        ASSERT_TRUE(SaveToStream(s, out));
        ASSERT_EQ(out.size(), 78u);
        EXPECT_EQ(out[0], 'B');
        EXPECT_EQ(out[1], 'M');
        EXPECT_EQ(ReadLittleEndian32(&out[2]), 78u);
        EXPECT_EQ(ReadLittleEndian32(&out[6]), 0u);
        EXPECT_EQ(ReadLittleEndian32(&out[10]), 54u);
        EXPECT_EQ(ReadLittleEndian32(&out[14]), 40u);
        EXPECT_EQ(ReadLittleEndian32(&out[18]), 3u);
        EXPECT_EQ(ReadLittleEndian32(&out[22]), 2u);
        EXPECT_EQ(ReadLittleEndian16(&out[26]), 1u);
        EXPECT_EQ(ReadLittleEndian16(&out[28]), alpha ? 32u : 24u);
        EXPECT_EQ(ReadLittleEndian32(&out[30]), 0u);
        EXPECT_EQ(ReadLittleEndian32(&out[34]), 24u);
        EXPECT_EQ(Bytes(&out[38], &out[54]), Bytes(16, 0));
        const Bytes pixels(out.begin() + 54, out.end());
        if (alpha) {
            EXPECT_EQ(pixels, Bytes(s.BitsPointer(), s.BitsPointer() + 24));
        } else {
            // Memory row 0 first: B, G, R of each pixel, then 3 zero bytes.
            const Bytes want = {10, 11, 12, 14, 15, 16, 18, 19, 20, 0, 0, 0, 22, 23, 24, 26, 27, 28, 30, 31, 32, 0, 0, 0};
            EXPECT_EQ(pixels, want);
        }
    }
}

TEST(BmpWriter, NoImageLeavesTheArray) {
    MemorySurface s;
    Bytes out = {1, 2};
    EXPECT_FALSE(SaveToStream(s, out));
    EXPECT_EQ(out, (Bytes{1, 2}));
}

// (The 24-bit file goes to the system's picture loader: that round trip is tested under Wine.)
TEST(BmpWriter, LoadSaveLoadKeepsPixels) {
    const Bytes rows32 = {200, 100, 50, 128, 0, 0, 0, 0, 10, 20, 30, 255, 255, 255, 255, 255};
    for (const Bytes *rows : {&rows32}) {
        StandInDecoder system;
        MemorySurface first, second;
        BmpReader reader(system);
        ASSERT_TRUE(reader.LoadStream(fixtures::BmpFile(2, 2, 32, 0, *rows), first));
        Bytes saved;
        ASSERT_TRUE(SaveToStream(first, saved));
        EXPECT_EQ(ReadLittleEndian16(&saved[28]), first.Alpha() ? 32u : 24u);
        BmpReader again(system);
        ASSERT_TRUE(again.LoadStream(saved, second));
        ASSERT_TRUE(second.HasImage());
        EXPECT_EQ(second.Alpha(), first.Alpha());
        EXPECT_EQ(Bytes(second.BitsPointer(), second.BitsPointer() + second.ByteCount()),
                  Bytes(first.BitsPointer(), first.BitsPointer() + first.ByteCount()));
    }
}

}  // namespace
