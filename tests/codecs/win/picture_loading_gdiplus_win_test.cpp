// The loading chain with GDI+ on: what only GDI+ reads is kept as PNG.
#include "imaging/picture_loading.h"

#include <gtest/gtest.h>

#include "win/library_codecs.h"

#include "../support/image_builders.h"

namespace {

using fixtures::Bytes;
using lumio::c32bppDIB;

TEST(PictureLoadingGdiPlus, KeepsWhatOnlyItReadsAsPng) {
    lumio::RegisterLibraryCodecs();
    c32bppDIB surface_;
    surface_.isGDIplusEnabled(false);
    // A 1 x 1 uncompressed RGB TIFF, which the system's picture loader does not read.
    Bytes tiff = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const uint16_t tags[][2] = {{256, 1}, {257, 1}, {258, 8}, {259, 1}, {262, 2}, {273, 0}, {277, 3}, {278, 1}, {279, 3}};
    fixtures::Put16(tiff, 9);
    const uint32_t dataAt = 8 + 2 + 9 * 12 + 4 + 6;
    for (const auto &t : tags) {
        fixtures::Put16(tiff, t[0]);
        fixtures::Put16(tiff, t[0] == 258 ? 3 : t[0] == 273 || t[0] == 279 ? 4 : 3);
        fixtures::Put32(tiff, t[0] == 258 ? 3 : 1);
        fixtures::Put32(tiff, t[0] == 258 ? dataAt - 6 : t[0] == 273 ? dataAt : t[1]);
    }
    fixtures::Put32(tiff, 0);
    fixtures::Append(tiff, {8, 0, 8, 0, 8, 0});
    fixtures::Append(tiff, {255, 0, 0});
    tiff.resize(200, 0);
    const Bytes before = tiff;
    EXPECT_FALSE(lumio::LoadPicture_Stream(surface_, tiff, 0, 0, 0, 0, true));
    surface_.isGDIplusEnabled(true);
    ASSERT_TRUE(surface_.isGDIplusEnabled());
    ASSERT_TRUE(lumio::LoadPicture_Stream(surface_, tiff, 0, 0, 0, 0, true));
    EXPECT_EQ(tiff, before);
    Bytes kept;
    ASSERT_TRUE(lumio::GetOrginalFormat(surface_, kept));
    ASSERT_GT(kept.size(), 8u);
    EXPECT_EQ(Bytes(kept.begin() + 1, kept.begin() + 4), (Bytes{'P', 'N', 'G'}));
}

} // namespace
