#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "imaging/c32bpp_dib.h"
#include "imaging/image_type.h"

using namespace lumio;

TEST(c32bppDIB, CapabilitiesOnThisSystem) {
    c32bppDIB s;
    // An NT-family system of version 5 or later, with GDI+.
    EXPECT_EQ(s.CapabilityFlags(), 0x0Bu);
    EXPECT_TRUE(s.isAlphaBlendFriendly());
    EXPECT_TRUE(s.isGDIplusEnabled());
    EXPECT_TRUE(s.HighQualityInterpolation());
    s.isAlphaBlendFriendly(false);
    EXPECT_EQ(s.CapabilityFlags(), 0x0Au);
    s.isAlphaBlendFriendly(true);
    EXPECT_EQ(s.CapabilityFlags(), 0x0Bu);
    s.isGDIplusEnabled(false);
    EXPECT_FALSE(s.isGDIplusEnabled());
    // Where the system forbids GDI+, switching it on does nothing.
    s.SetCapabilityFlags(kCapNeverGdiPlus);
    s.isGDIplusEnabled(true);
    EXPECT_FALSE(s.isGDIplusEnabled());
    s.isAlphaBlendFriendly(true);
    EXPECT_FALSE(s.isAlphaBlendFriendly());
}

TEST(c32bppDIB, IsABottomUp32BitDibSection) {
    c32bppDIB s;
    ASSERT_TRUE(s.InitializeDIB(10, -5));
    DIBSECTION ds{};
    ASSERT_EQ(GetObject(s.BitmapHandle(), sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBmih.biWidth, 10);
    EXPECT_EQ(ds.dsBmih.biHeight, 5);
    EXPECT_EQ(ds.dsBmih.biBitCount, 32);
    EXPECT_EQ(ds.dsBm.bmBits, s.BitsPointer());
    EXPECT_TRUE(std::all_of(s.BitsPointer(), s.BitsPointer() + s.ByteCount(), [](auto b) { return b == 0; }));
    EXPECT_EQ(s.ImageType(), image_type::kBlank);
    EXPECT_TRUE(s.Alpha());

    // GDI's top-left pixel is the last row in memory.
    HDC dc = s.LoadDIBinDC(true);
    ASSERT_NE(dc, nullptr);
    SetPixelV(dc, 0, 0, RGB(1, 2, 3));
    GdiFlush();
    const std::uint8_t *top = s.RowFromTop(0);
    EXPECT_EQ(top - s.BitsPointer(), 4 * 40);
    EXPECT_EQ(top[0], 3);
    EXPECT_EQ(top[1], 2);
    EXPECT_EQ(top[2], 1);
    s.LoadDIBinDC(false);

    EXPECT_FALSE(s.InitializeDIB(0, 5));
    EXPECT_FALSE(s.HasImage());
    EXPECT_EQ(s.ImageType(), image_type::kNone);
}

TEST(c32bppDIB, DeviceContextReuseAndRelease) {
    for (bool manage : {false, true}) {
        SCOPED_TRACE(manage ? "ManageOwnDC" : "DC on demand");
        c32bppDIB s;
        s.ManageOwnDC(manage);
        EXPECT_EQ(s.LoadDIBinDC(true), nullptr) << "no image, no DC";
        ASSERT_TRUE(s.InitializeDIB(4, 4));
        EXPECT_EQ(s.OwnDC() != nullptr, manage) << "a managed DC exists with the image";
        HDC first = s.LoadDIBinDC(true);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(s.LoadDIBinDC(true), first);
        EXPECT_EQ(GetCurrentObject(first, OBJ_BITMAP), s.BitmapHandle());
        EXPECT_EQ(s.LoadDIBinDC(false), nullptr);
        EXPECT_EQ(s.OwnDC() != nullptr, manage);
        if (manage) {
            EXPECT_NE(GetCurrentObject(first, OBJ_BITMAP), s.BitmapHandle()) << "the DIB is selected out";
            EXPECT_EQ(s.LoadDIBinDC(true), first) << "the kept DC is used again";
            s.LoadDIBinDC(false);
        }
        // Destroying drops the DC either way; the flag survives for the next image.
        s.DestroyDIB();
        EXPECT_EQ(s.OwnDC(), nullptr);
        EXPECT_EQ(s.ManageOwnDC(), manage);
        ASSERT_TRUE(s.InitializeDIB(2, 2));
        EXPECT_EQ(s.OwnDC() != nullptr, manage);
    }
}

TEST(c32bppDIB, ManageOwnDCSwitch) {
    c32bppDIB s;
    s.ManageOwnDC(true); // no image: nothing made yet
    EXPECT_EQ(s.OwnDC(), nullptr);
    ASSERT_TRUE(s.InitializeDIB(3, 3));
    ASSERT_NE(s.OwnDC(), nullptr);
    HDC dc = s.LoadDIBinDC(true);
    // Switching off while selected: the DIB goes back out and the DC is deleted.
    s.ManageOwnDC(false);
    EXPECT_EQ(s.OwnDC(), nullptr);
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_EQ(GetObjectType(s.BitmapHandle()), static_cast<DWORD>(OBJ_BITMAP));
    // A later load works from scratch.
    EXPECT_NE(s.LoadDIBinDC(true), nullptr);
    s.LoadDIBinDC(false);
    EXPECT_EQ(s.OwnDC(), nullptr);
    // Switching on with an image makes the DC without selecting the DIB.
    s.ManageOwnDC(true);
    ASSERT_NE(s.OwnDC(), nullptr);
    EXPECT_NE(GetCurrentObject(s.OwnDC(), OBJ_BITMAP), s.BitmapHandle());
}

TEST(c32bppDIB, DestructionDeletesTheBitmapAndTheDC) {
    for (bool manage : {false, true}) {
        HBITMAP bmp;
        HDC dc;
        {
            c32bppDIB s;
            s.ManageOwnDC(manage);
            ASSERT_TRUE(s.InitializeDIB(8, 8));
            HBITMAP replaced = s.BitmapHandle();
            ASSERT_TRUE(s.InitializeDIB(9, 9));
            EXPECT_EQ(GetObjectType(replaced), 0u) << "a new image frees the old one";
            dc = s.LoadDIBinDC(true); // left selected: destruction cleans up
            bmp = s.BitmapHandle();
        }
        EXPECT_EQ(GetObjectType(bmp), 0u);
        EXPECT_EQ(GetObjectType(dc), 0u);
    }
}
