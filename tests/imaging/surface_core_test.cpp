#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/image_type.h"
#include "imaging/surface_core.h"
#include "run_time_error.h"

using namespace lumio;

TEST(SurfaceCore, NegativeHeightGivesBottomUpZeroedSurface) {
    MemorySurface s;
    ASSERT_TRUE(s.InitializeDIB(10, -5));
    EXPECT_EQ(s.Width(), 10);
    EXPECT_EQ(s.Height(), 5);
    EXPECT_EQ(s.scanWidth(), 40);
    EXPECT_TRUE(s.Alpha());
    EXPECT_EQ(s.ImageType(), image_type::kBlank);
    ASSERT_NE(s.BitsPointer(), nullptr);
    EXPECT_TRUE(std::all_of(s.BitsPointer(), s.BitsPointer() + s.ByteCount(), [](auto b) { return b == 0; }));
    // Top row lives last in memory.
    EXPECT_EQ(s.RowFromTop(0), s.BitsPointer() + 4 * 40);
    EXPECT_EQ(s.RowFromTop(4), s.BitsPointer());
}

TEST(SurfaceCore, RefusedSizesLeaveNoImage) {
    struct { std::int32_t w, h; } cases[] = {
        {-1, 5}, {5, 0}, {0, 5}, {65536, 8192}, {INT32_MAX, 1}, {1, INT32_MIN}, {536870912, 1},
    };
    for (auto c : cases) {
        MemorySurface s;
        ASSERT_TRUE(s.InitializeDIB(2, 2));
        EXPECT_FALSE(s.InitializeDIB(c.w, c.h)) << c.w << "x" << c.h;
        EXPECT_FALSE(s.HasImage());
        EXPECT_EQ(s.Width(), 0);
        EXPECT_EQ(s.BitsPointer(), nullptr);
        EXPECT_EQ(s.ImageType(), image_type::kNone);
    }
}

TEST(SurfaceCore, DestroyOnNewSurfaceOnlySetsTypeNone) {
    MemorySurface s;
    EXPECT_EQ(s.ImageType(), image_type::kBlank);
    s.SetAlpha(false);
    s.DestroyDIB();
    EXPECT_EQ(s.ImageType(), image_type::kNone);
    EXPECT_FALSE(s.Alpha());
    EXPECT_FALSE(s.HasImage());
}

TEST(SurfaceCore, EraseAndDestroy) {
    MemorySurface s;
    s.EraseDIB(); // nothing without image
    EXPECT_EQ(s.ImageType(), image_type::kBlank);
    ASSERT_TRUE(s.InitializeDIB(3, 2));
    s.BitsPointer()[5] = 9;
    s.SetImageType(image_type::kPng);
    s.SetAlpha(false);
    s.SetOriginalFormat({1, 2, 3});
    s.EraseDIB();
    EXPECT_EQ(s.BitsPointer()[5], 0);
    EXPECT_EQ(s.ImageType(), image_type::kBlank);
    EXPECT_TRUE(s.Alpha());
    EXPECT_EQ(s.OriginalFormat().size(), 3u);
    s.DestroyDIB();
    EXPECT_TRUE(s.OriginalFormat().empty());
    EXPECT_EQ(s.Height(), 0);
}

TEST(SurfaceCore, ScanWidthAtTheWidestSurface) {
    // Only the arithmetic is exercised: a surface this wide is never made.
    struct Wide : SurfaceCore {
        Pixels AllocatePixels(std::int32_t, std::int32_t, std::size_t) noexcept override {
            return {reinterpret_cast<SurfaceHandle>(1), &byte};
        }
        void ReleasePixels(SurfaceHandle) noexcept override {}
        ~Wide() override { DestroyDIB(); }
        std::uint8_t byte = 0;
    };
    Wide w;
    ASSERT_TRUE(w.InitializeDIB(536870911, 1));
    EXPECT_EQ(w.scanWidth(), 2147483644);
    MemorySurface m;
    ASSERT_TRUE(m.InitializeDIB(100, 1));
    EXPECT_EQ(m.scanWidth(), 400);
}
