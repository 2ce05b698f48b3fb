#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "imaging/mod_parsers_win.h"
#include "run_time_error.h"

using namespace lumio;

TEST(IsDllFunctionAvailable, LibraryAndFunction) {
    EXPECT_TRUE(IsDllFunctionAvailable("kernel32.dll", "GetVersion"));
    EXPECT_FALSE(IsDllFunctionAvailable("kernel32.dll", "NoSuchFunctionHere"));
    EXPECT_FALSE(IsDllFunctionAvailable("no_such_library_here.dll", "GetVersion"));
}

namespace {
// A name in the test's own folder (the Wine prefix may lack a temp folder).
std::wstring LocalName(const wchar_t *leaf) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir(exe);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1) + leaf;
}
} // namespace

TEST(FileRoutines, OpenForWritingKeepsAttributesAndDeleteClearsThem) {
    for (bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "wide" : "desktop decides");
        // A Chinese name survives both paths on a code-page 936 system.
        const std::wstring name = LocalName(L"\u56fe\u50cf\u6d4b\u8bd5.png");
        DeleteFileUnicode(name, true);
        EXPECT_EQ(OpenFileUnicode(name, true, wide), INVALID_HANDLE_VALUE) << "reading needs the file";

        HANDLE h = OpenFileUnicode(name, false, wide);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, "abc", 3, &written, nullptr);
        CloseHandle(h);
        // Rewriting a hidden file must pass its attributes back, or creation fails.
        ASSERT_TRUE(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN));
        h = OpenFileUnicode(name, false, wide);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
        EXPECT_TRUE(GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_HIDDEN);

        h = OpenFileUnicode(name, true, wide);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetFileSize(h, nullptr), 0u) << "writing truncated it";
        CloseHandle(h);

        SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(DeleteFileUnicode(name, wide));
        EXPECT_EQ(GetFileAttributesW(name.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_FALSE(DeleteFileUnicode(name, wide));
    }
}

namespace {
// A 2 x 1 24-bit BMP file.
std::vector<std::uint8_t> TinyBmp() {
    std::vector<std::uint8_t> b(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + 8, 0);
    auto *fh = reinterpret_cast<BITMAPFILEHEADER *>(b.data());
    fh->bfType = 0x4D42;
    fh->bfSize = static_cast<DWORD>(b.size());
    fh->bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    auto *ih = reinterpret_cast<BITMAPINFOHEADER *>(b.data() + sizeof(BITMAPFILEHEADER));
    ih->biSize = sizeof(BITMAPINFOHEADER);
    ih->biWidth = 2;
    ih->biHeight = 1;
    ih->biPlanes = 1;
    ih->biBitCount = 24;
    return b;
}
} // namespace

TEST(PictureFromBytes, LoadsFromAnyStartAndRefusesJunk) {
    std::vector<std::uint8_t> bytes(5, 0xEE);
    const auto bmp = TinyBmp();
    bytes.insert(bytes.end(), bmp.begin(), bmp.end());
    auto pic = PictureFromBytes(bytes, 5, static_cast<std::int32_t>(bmp.size()));
    ASSERT_TRUE(pic);
    SHORT type = 0;
    pic->get_Type(&type);
    EXPECT_EQ(type, PICTYPE_BITMAP);
    OLE_XSIZE_HIMETRIC w = 0;
    pic->get_Width(&w);
    EXPECT_GT(w, 0);

    EXPECT_FALSE(PictureFromBytes(bytes, 0, 20)) << "not an image";
    EXPECT_FALSE(PictureFromBytes(std::span<const std::uint8_t>())) << "nothing to read";
    EXPECT_THROW(PictureFromBytes(bytes, 6, static_cast<std::int32_t>(bmp.size())), RunTimeError);
    EXPECT_THROW(PictureFromBytes(bytes, -1, 2), RunTimeError);
}

TEST(PictureFromHandle, OwnsTheHandle) {
    HBITMAP bmp = CreateBitmap(3, 2, 1, 32, nullptr);
    ASSERT_NE(bmp, nullptr);
    {
        auto pic = PictureFromHandle(bmp, PICTYPE_BITMAP);
        ASSERT_TRUE(pic);
        OLE_HANDLE h = 0;
        pic->get_Handle(&h);
        EXPECT_EQ(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(h)), bmp);
    }
    EXPECT_EQ(GetObjectType(bmp), 0u) << "released with the picture";
    const BYTE andMask[4] = {0xFF, 0, 0, 0}, xorMask[4] = {};
    HICON icon = CreateIcon(nullptr, 1, 1, 1, 1, andMask, xorMask);
    ASSERT_NE(icon, nullptr);
    auto pic = PictureFromHandle(icon, PICTYPE_ICON);
    ASSERT_TRUE(pic);
    SHORT type = 0;
    pic->get_Type(&type);
    EXPECT_EQ(type, PICTYPE_ICON);
}
