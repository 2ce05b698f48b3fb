// The loading chain under Wine (GDI+ off unless a test says otherwise): files, streams at
// offsets, the program's own resources, pictures, handles, the clipboard, and file names of
// drops and of the clipboard.
#include "imaging/picture_loading.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>

#include "imaging/codec_registry.h"
#include "imaging/mod_parsers_win.h"
#include "imaging/picture_chain.h"
#include "run_time_error.h"
#include "win/library_codecs.h"

#include "../support/image_builders.h"

namespace {

namespace fs = std::filesystem;
using fixtures::Bytes;
using fixtures::Rgb;
using lumio::c32bppDIB;

Bytes At(const c32bppDIB &s, int32_t x, int32_t y) {
    const uint8_t *p = s.RowFromTop(y) + size_t(x) * 4;
    return Bytes(p, p + 4);
}

const std::vector<Rgb> kFour = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};

Bytes Gif() {
    Bytes g = fixtures::GifHeader(2, 2, kFour);
    fixtures::Append(g, fixtures::GifImage(0, 0, 2, 2, {0, 1, 2, 3}));
    g.push_back(0x3B);
    return g;
}

Bytes Dib32(int32_t size) {
    Bytes rows;
    for (int32_t i = 0; i < size * size; ++i) rows.insert(rows.end(), {uint8_t(size), 0, 0, 255});
    return fixtures::IconDib(size, size, 32, {}, rows, Bytes(fixtures::RowBytes(1, uint32_t(size)) * uint32_t(size), 0));
}

Bytes MultiSizeIcon() { return fixtures::IconFile(1, {{32, 32, 32, Dib32(32)}, {16, 16, 32, Dib32(16)}, {48, 48, 32, Dib32(48)}}); }

class PictureLoading : public ::testing::Test {
protected:
    static void SetUpTestSuite() { lumio::RegisterLibraryCodecs(); }
    void SetUp() override {
        surface_.isGDIplusEnabled(false);
        dir_ = fs::temp_directory_path() / ("lumio_chain_" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path Write(const char *name, const Bytes &b) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char *>(b.data()), std::streamsize(b.size()));
        return p;
    }
    c32bppDIB surface_;
    fs::path dir_;
};

TEST_F(PictureLoading, FilesOfEveryFormat) {
    Bytes png = fixtures::PngRgba(3, 3, Bytes(36, 255));
    png.resize(std::max<size_t>(png.size(), 60), 0);
    const struct {
        const char *name;
        Bytes file;
        int32_t type;
    } cases[] = {
        {"a.png", png, 10},
        {"a.gif", [] { Bytes g = Gif(); g.resize(60, 0); return g; }(), 9},
        {"a.ico", MultiSizeIcon(), 8},
        {"bits.ico",
         fixtures::IconFile(1, {{4, 4, 16,
                                 fixtures::BitFieldIconDib(16, {0xF800, 0x07E0, 0x001F},
                                                           std::vector<std::vector<uint32_t>>(4, {0xF800, 0x07E0, 0x001F, 0}),
                                                           Bytes(16, 0))}}),
         3},
        {"a.bmp", fixtures::BmpFile(4, 4, 24, 0, Bytes(48, 9)), 1},
    };
    for (const auto &c : cases) {
        const fs::path p = Write(c.name, c.file);
        EXPECT_TRUE(lumio::LoadPicture_File(surface_, p.wstring(), 0, 0, true)) << c.name;
        EXPECT_EQ(surface_.ImageType(), c.type) << c.name;
        Bytes kept;
        EXPECT_TRUE(lumio::GetOrginalFormat(surface_, kept)) << c.name;
        EXPECT_EQ(kept, c.file) << c.name; // the whole file
    }
    EXPECT_FALSE(lumio::LoadPicture_File(surface_, Write("short.gif", Gif()).wstring()));
    EXPECT_FALSE(surface_.HasImage());
    EXPECT_FALSE(lumio::LoadPicture_File(surface_, (dir_ / "missing.png").wstring()));
}

TEST_F(PictureLoading, StreamsAtOffsetsAndTheirLimits) {
    Bytes gif = Gif();
    gif.resize(57, 0);
    Bytes array(20, 0xEE);
    fixtures::Append(array, gif);
    array.insert(array.end(), 9, 0xEE);
    EXPECT_TRUE(lumio::LoadPicture_Stream(surface_, array, 0, 0, 20, 57, true));
    EXPECT_EQ(surface_.ImageType(), 9);
    EXPECT_EQ(surface_.OriginalFormat(), gif); // the range only
    EXPECT_FALSE(lumio::LoadPicture_Stream(surface_, array, 0, 0, 20, 56));
    EXPECT_FALSE(lumio::LoadPicture_Stream(surface_, Bytes(gif.begin(), gif.end() - 1)));
    EXPECT_TRUE(lumio::LoadPicture_Stream(surface_, gif, 0, 0, -3, 0));
    EXPECT_FALSE(lumio::LoadPicture_Stream(surface_, array, 0, 0, int32_t(array.size()), 0));
    EXPECT_FALSE(lumio::LoadPicture_Stream(surface_, {}));
    // The icon reader counts from the range's start.
    Bytes icons(33, 0);
    fixtures::Append(icons, MultiSizeIcon());
    EXPECT_TRUE(lumio::LoadPicture_Stream(surface_, icons, 16, 16, 33, 0));
    EXPECT_EQ(surface_.Width(), 16);
}

TEST_F(PictureLoading, KeptIconBytesReloadAtAnotherSize) {
    EXPECT_FALSE(lumio::LoadPicture_FromOrignalFormat(surface_, 16, 16, 32));
    ASSERT_TRUE(lumio::LoadPicture_Stream(surface_, MultiSizeIcon(), 48, 48, 0, 0, true));
    EXPECT_EQ(surface_.Width(), 48);
    std::vector<std::array<int32_t, 4>> sizes;
    EXPECT_EQ(lumio::SourceIconSizes(surface_, sizes), 3);
    EXPECT_EQ(sizes[1], (std::array<int32_t, 4>{16, 16, 32, -1}));
    ASSERT_TRUE(lumio::LoadPicture_FromOrignalFormat(surface_, 16, 16, 32));
    EXPECT_EQ(surface_.Width(), 16);
    EXPECT_EQ(surface_.OriginalFormat(), MultiSizeIcon());

    ASSERT_TRUE(lumio::LoadPicture_Stream(surface_, MultiSizeIcon(), 32, 32));
    EXPECT_EQ(lumio::SourceIconSizes(surface_, sizes), 1);
    EXPECT_EQ(sizes[0], (std::array<int32_t, 4>{32, 32, 32, -1}));
    // A surface left as it was when nothing is kept.
    EXPECT_FALSE(lumio::LoadPicture_FromOrignalFormat(surface_, 16, 16, 32));
    EXPECT_EQ(surface_.Width(), 32);
}

TEST_F(PictureLoading, ProgramResources) {
    const struct {
        const char *what;
        lumio::ResourceId index, section;
        int32_t width, type;
    } cases[] = {
        {"PNG section", L"CHAIN", L"PNG", 3, 10},
        {"bitmap", 1, 0, 2, 1},
        {"icon", 2, 1, GetSystemMetrics(SM_CXICON), 8},
        {"cursor", 3, 2, GetSystemMetrics(SM_CXCURSOR), 12},
    };
    for (const auto &c : cases) {
        EXPECT_TRUE(lumio::LoadPicture_Resource(surface_, c.index, c.section)) << c.what;
        EXPECT_EQ(surface_.Width(), c.width) << c.what;
        EXPECT_EQ(surface_.ImageType(), c.type) << c.what;
    }
    EXPECT_EQ(At(surface_, 0, 0)[3], 255);
    EXPECT_FALSE(lumio::LoadPicture_Resource(surface_, L"NONE", L"PNG"));
    EXPECT_FALSE(lumio::LoadPicture_Resource(surface_, 1, 5));
    EXPECT_FALSE(surface_.HasImage());
}

HBITMAP Bitmap24(int32_t w, int32_t h, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, w, h);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, b);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT r{0, 0, w, h};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return b;
}

HENHMETAFILE Metafile() {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    RECT r{0, 0, 10, 10};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    // A frame so that the picture is larger than what is painted.
    MoveToEx(dc, 40, 40, nullptr);
    LineTo(dc, 41, 41);
    return CloseEnhMetaFile(dc);
}

TEST_F(PictureLoading, PicturesAndHandlesStayTheCallers) {
    HBITMAP bitmap = Bitmap24(3, 2, RGB(10, 20, 30));
    EXPECT_TRUE(lumio::LoadPicture_ByHandle(surface_, bitmap));
    EXPECT_EQ(surface_.ImageType(), 1);
    EXPECT_EQ(At(surface_, 2, 1), (Bytes{30, 20, 10, 255}));
    BITMAP bm{};
    EXPECT_EQ(GetObjectW(bitmap, sizeof bm, &bm), int(sizeof bm));

    HENHMETAFILE emf = Metafile();
    ASSERT_NE(emf, nullptr);
    EXPECT_TRUE(lumio::LoadPicture_ByHandle(surface_, emf));
    EXPECT_EQ(surface_.ImageType(), 4);
    EXPECT_TRUE(surface_.Alpha());
    EXPECT_EQ(At(surface_, surface_.Width() - 1, surface_.Height() / 2), (Bytes{0, 0, 0, 0}));
    EXPECT_NE(GetEnhMetaFileBits(emf, 0, nullptr), 0u); // still valid

    // A metafile through its bytes as an enhanced metafile.
    const UINT emfSize = GetEnhMetaFileBits(emf, 0, nullptr);
    Bytes emfBytes(emfSize);
    GetEnhMetaFileBits(emf, emfSize, emfBytes.data());
    HDC screen = GetDC(nullptr);
    const UINT wmfSize = GetWinMetaFileBits(emf, 0, nullptr, MM_ANISOTROPIC, screen);
    Bytes wmfBytes(wmfSize);
    GetWinMetaFileBits(emf, wmfSize, wmfBytes.data(), MM_ANISOTROPIC, screen);
    ReleaseDC(nullptr, screen);
    HMETAFILE wmf = SetMetaFileBitsEx(wmfSize, wmfBytes.data());
    ASSERT_NE(wmf, nullptr);
    EXPECT_TRUE(lumio::LoadPicture_ByHandle(surface_, wmf));
    EXPECT_EQ(surface_.ImageType(), 4);
    EXPECT_NE(GetMetaFileBitsEx(wmf, 0, nullptr), 0u);
    DeleteMetaFile(wmf);

    HICON icon = CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));
    EXPECT_TRUE(lumio::LoadPicture_ByHandle(surface_, icon));
    EXPECT_TRUE(surface_.HasImage());
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(icon, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);

    auto picture = lumio::PictureFromHandle(Bitmap24(5, 5, RGB(1, 2, 3)), PICTYPE_BITMAP);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(lumio::LoadPicture_StdPicture(surface_, picture.get()));
    EXPECT_EQ(surface_.Width(), 5);
    EXPECT_FALSE(lumio::LoadPicture_StdPicture(surface_, nullptr));
    EXPECT_FALSE(lumio::LoadPicture_ByHandle(surface_, nullptr));
    EXPECT_FALSE(surface_.HasImage());

    DeleteObject(bitmap);
    DeleteEnhMetaFile(emf);
}

TEST_F(PictureLoading, ClipboardPicturesAndNames) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, Bitmap24(4, 3, RGB(200, 0, 0)));
    CloseClipboard();
    EXPECT_TRUE(lumio::LoadPicture_ClipBoard(surface_));
    EXPECT_EQ(surface_.Width(), 4);
    EXPECT_EQ(At(surface_, 0, 0), (Bytes{0, 0, 200, 255}));

    ASSERT_TRUE(OpenClipboard(nullptr)); // closed after the load
    EmptyClipboard();
    SetClipboardData(CF_ENHMETAFILE, Metafile());
    CloseClipboard();
    EXPECT_TRUE(lumio::LoadPicture_ClipBoard(surface_));
    EXPECT_EQ(surface_.ImageType(), 4);

    // File names: wide, and ANSI.
    for (const bool wide : {true, false}) {
        const std::wstring names = std::wstring(L"C:\\a.png") + L'\0' + L"C:\\\x4E2D.gif" + L'\0' + L'\0';
        const std::string ansi = std::string("C:\\a.png") + '\0' + "C:\\b.gif" + '\0' + '\0';
        const size_t listBytes = wide ? names.size() * 2 : ansi.size();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + listBytes);
        auto *drop = static_cast<DROPFILES *>(GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = wide;
        memcpy(drop + 1, wide ? static_cast<const void *>(names.data()) : ansi.data(), listBytes);
        GlobalUnlock(block);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(CF_HDROP, block);
        CloseClipboard();
        std::vector<std::wstring> list;
        EXPECT_EQ(lumio::GetPastedFileNames(list), 2) << wide;
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0], L"C:\\a.png");
        EXPECT_EQ(list[1], wide ? L"C:\\\x4E2D.gif" : L"C:\\b.gif");
    }
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(lumio::LoadPicture_ClipBoard(surface_));
    std::vector<std::wstring> none{L"kept"};
    EXPECT_EQ(lumio::GetPastedFileNames(none), 0);
    EXPECT_TRUE(OpenClipboard(nullptr));
    CloseClipboard();
}

// A metafile picture of 48 x 24 pixels at 96 DPI: the left half blue, the top of the
// right half red, its bottom right quarter never drawn.
HGLOBAL MetafilePicture() {
    HDC dc = CreateMetaFileW(nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 48, 24, nullptr);
    const struct {
        RECT r;
        COLORREF colour;
    } fills[] = {{{0, 0, 24, 24}, RGB(0, 0, 255)}, {{24, 0, 48, 12}, RGB(255, 0, 0)}};
    for (const auto &f : fills) {
        HBRUSH brush = CreateSolidBrush(f.colour);
        FillRect(dc, &f.r, brush);
        DeleteObject(brush);
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
    auto *pict = static_cast<METAFILEPICT *>(GlobalLock(block));
    *pict = METAFILEPICT{MM_ANISOTROPIC, 48 * 2540 / 96, 24 * 2540 / 96, CloseMetaFile(dc)};
    GlobalUnlock(block);
    return block;
}

TEST_F(PictureLoading, ClipboardMetafilePicture) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    ASSERT_NE(SetClipboardData(CF_METAFILEPICT, MetafilePicture()), nullptr);
    CloseClipboard();
    // The clipboard offers it as an enhanced metafile too, which the loader asks for first.
    ASSERT_TRUE(lumio::LoadPicture_ClipBoard(surface_));
    ASSERT_EQ(surface_.Width(), 48);
    ASSERT_EQ(surface_.Height(), 24);
    EXPECT_TRUE(surface_.Alpha());
    const Bytes blue{255, 0, 0, 255}, red{0, 0, 255, 255}, none{0, 0, 0, 0};
    // Pixels next to where two areas meet may go either way with the scaling's rounding.
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 48; ++x) {
            if (x == 23 || x == 24 || y == 11 || y == 12) continue;
            const Bytes &want = x < 24 ? blue : y < 12 ? red : none;
            EXPECT_EQ(At(surface_, x, y), want) << x << "," << y;
        }
    ASSERT_TRUE(OpenClipboard(nullptr)); // the clipboard keeps its picture
    EXPECT_NE(GetClipboardData(CF_METAFILEPICT), nullptr);
    EmptyClipboard();
    CloseClipboard();
}

// A data object holding one CF_HDROP block.
class DropData final : public IDataObject {
public:
    explicit DropData(Bytes block) : block_(std::move(block)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override {
        if (iid == IID_IUnknown || iid == IID_IDataObject) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC *f, STGMEDIUM *m) override {
        if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, block_.size());
        memcpy(GlobalLock(h), block_.data(), block_.size());
        GlobalUnlock(h);
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = h;
        m->pUnkForRelease = nullptr;
        ++handed;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC *, STGMEDIUM *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC *f) override {
        return f->cfFormat == CF_HDROP && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC *, FORMATETC *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC *, STGMEDIUM *, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC *, DWORD, IAdviseSink *, DWORD *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA **) override { return E_NOTIMPL; }
    int handed = 0;

private:
    Bytes block_;
    ULONG refs_ = 1;
};

Bytes DropBlock(bool wide, const Bytes &list) {
    Bytes b(20, 0);
    b[0] = 20;
    b[16] = wide ? 1 : 0;
    fixtures::Append(b, list);
    return b;
}

Bytes Utf16(const std::wstring &s) {
    Bytes b;
    for (wchar_t c : s) b.insert(b.end(), {uint8_t(c), uint8_t(c >> 8)});
    return b;
}

TEST_F(PictureLoading, DroppedFileNames) {
    const std::wstring two = std::wstring(L"D:\\\x4E2D\x6587.png") + L'\0' + L"E:\\b.ico" + L'\0' + L'\0';
    const struct {
        const char *what;
        Bytes block;
        std::vector<std::wstring> before, after;
    } cases[] = {
        {"wide names replace the host's", DropBlock(true, Utf16(two)), {L"D:\\??.png", L"E:\\b.ico"},
         {L"D:\\\x4E2D\x6587.png", L"E:\\b.ico"}},
        {"at most as many as the host's", DropBlock(true, Utf16(two)), {L"D:\\??.png"}, {L"D:\\\x4E2D\x6587.png"}},
        {"ANSI names stay", DropBlock(false, {'a', 0, 0}), {L"a"}, {L"a"}},
        {"names past the block are not read", DropBlock(true, Utf16(L"C:\\x")), {L"C:\\x"}, {}},
    };
    for (const auto &c : cases) {
        DropData data(c.block);
        std::vector<std::wstring> files = c.before;
        EXPECT_TRUE(lumio::GetDroppedFileNames(&data, files)) << c.what;
        EXPECT_EQ(files, c.after) << c.what;
        EXPECT_EQ(data.handed, 1) << c.what;
    }
    std::vector<std::wstring> files;
    EXPECT_FALSE(lumio::GetDroppedFileNames(nullptr, files));
}

class ThrowingPng final : public lumio::ImageDecoder {
public:
    bool Decode(const lumio::DecodeRequest &, lumio::SurfaceCore &) override {
        lumio::Raise(lumio::kErrOverflow);
    }
};

TEST_F(PictureLoading, PngReaderErrorReachesTheNotifierOnce) {
    std::vector<std::wstring> shown;
    lumio::SetReaderErrorNotifier([&](const std::wstring &d) { shown.push_back(d); });
    lumio::RegisterDecoder(lumio::ImageFormat::kPng, [] { return std::unique_ptr<lumio::ImageDecoder>(new ThrowingPng); });
    Bytes gif = Gif();
    gif.resize(60, 0);
    EXPECT_TRUE(lumio::LoadPicture_Stream(surface_, gif));
    EXPECT_EQ(surface_.ImageType(), 9);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], lumio::StandardErrorText(lumio::kErrOverflow));
    lumio::RegisterLibraryCodecs();
    lumio::SetReaderErrorNotifier(nullptr);
}

} // namespace
