#include "imaging/picture_loading.h"

#include <shellapi.h>

#include <cstring>

#include "imaging/cgdiplus.h"
#include "imaging/drop_files.h"
#include "imaging/file_byte_source.h"
#include "imaging/mod_parsers_win.h"
#include "imaging/picture_chain.h"
#include "win_handles.h"

namespace lumio {
namespace {

ReaderErrorNotifier g_notifier;
PictureConverters g_converters;

class WinChainHooks final : public ChainHooks {
public:
    explicit WinChainHooks(c32bppDIB &surface) : surface_(surface) {}
    bool SystemDecoderEnabled() const override { return surface_.isGDIplusEnabled(); }
    bool DecodeWithSystem(std::wstring_view fileName, std::span<const std::uint8_t> bytes, SurfaceCore &,
                          std::vector<std::uint8_t> *png) override {
        cGDIPlus gdi;
        const std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
        if (!gdi.LoadImageToDIB(std::wstring(fileName), copy, surface_, surface_.gdiToken())) return false;
        if (png != nullptr && !gdi.SaveToPNG(std::wstring(), *png, surface_, surface_.gdiToken())) png->clear();
        return true;
    }
    void ShowReaderError(const std::wstring &description) override {
        if (g_notifier) {
            g_notifier(description);
            return;
        }
        MessageBoxW(nullptr, description.c_str(), L"", MB_OK);
    }

private:
    c32bppDIB &surface_;
};

struct ClipboardOpen {
    bool open = OpenClipboard(nullptr) != FALSE;
    ~ClipboardOpen() {
        if (open) CloseClipboard();
    }
};

HMODULE EngineModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&EngineModule), &module);
    return module;
}

LPCWSTR ResourceName(const ResourceId &id) {
    return id.name.empty() ? MAKEINTRESOURCEW(id.number) : id.name.c_str();
}

// A metafile or enhanced metafile handle as the bytes of an enhanced metafile.
std::vector<std::uint8_t> EnhancedMetafileBytes(HANDLE handle, DWORD type) {
    std::vector<std::uint8_t> bytes;
    HENHMETAFILE emf = nullptr;
    gdi::OwnedEnhMetaFile converted;
    if (type == OBJ_ENHMETAFILE) {
        emf = static_cast<HENHMETAFILE>(handle);
    } else {
        const UINT size = GetMetaFileBitsEx(static_cast<HMETAFILE>(handle), 0, nullptr);
        if (size == 0) return bytes;
        std::vector<std::uint8_t> wmf(size);
        if (GetMetaFileBitsEx(static_cast<HMETAFILE>(handle), size, wmf.data()) != size) return bytes;
        converted.reset(SetWinMetaFileBits(size, wmf.data(), nullptr, nullptr));
        emf = converted.get();
    }
    if (emf == nullptr) return bytes;
    const UINT size = GetEnhMetaFileBits(emf, 0, nullptr);
    if (size != 0) {
        bytes.resize(size);
        if (GetEnhMetaFileBits(emf, size, bytes.data()) != size) bytes.clear();
    }
    return bytes;
}

std::wstring FromAnsi(const char *text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 1) return {};
    std::wstring out(static_cast<std::size_t>(n - 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
    return out;
}

std::vector<std::wstring> WideNames(HGLOBAL block, std::size_t most, bool &wide) {
    std::vector<std::wstring> names;
    wide = false;
    GlobalLockGuard lock(block);
    if (lock.get() == nullptr) return names;
    const std::span<const std::uint8_t> bytes(static_cast<const std::uint8_t *>(lock.get()), GlobalSize(block));
    const auto header = ReadDropFilesHeader(bytes);
    if (!header || !header->wide) return names;
    wide = true;
    for (const std::u16string &n : ReadWideFileNames(bytes, most)) names.emplace_back(n.begin(), n.end());
    return names;
}

// The decoders over a request whose source is set.
bool RunDecoders(c32bppDIB &surface, LoadRequest &request, std::int32_t iconCx, std::int32_t iconCy, bool saveFormat,
                 std::int32_t iconBitDepth) {
    request.iconCx = iconCx;
    request.iconCy = iconCy;
    request.iconBitDepth = iconBitDepth;
    request.saveFormat = saveFormat;
    request.gdiToken = surface.gdiToken();
    WinChainHooks hooks(surface);
    return LoadPictureData(surface, request, hooks);
}

} // namespace

void SetReaderErrorNotifier(ReaderErrorNotifier notify) { g_notifier = std::move(notify); }
void RegisterPictureConverters(const PictureConverters &converters) noexcept { g_converters = converters; }

bool LoadPicture_File(c32bppDIB &surface, const std::wstring &FileName, std::int32_t iconCx, std::int32_t iconCy,
                      bool SaveFormat, std::int32_t iconBitDepth) {
    surface.DestroyDIB();
    try {
        const bool wide = (surface.CapabilityFlags() & 0x18) == 0x08;
        OwnedFile file(OpenFileUnicode(FileName, true, wide));
        if (!file) return false;
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 57) return false;
        FileByteSource source(file.get());
        LoadRequest request;
        request.file = &source;
        request.fileName = FileName;
        return RunDecoders(surface, request, iconCx, iconCy, SaveFormat, iconBitDepth);
    } catch (...) {
        surface.DestroyDIB();
        return false;
    }
}

bool LoadPicture_Stream(c32bppDIB &surface, const std::vector<std::uint8_t> &inStream, std::int32_t iconCx,
                        std::int32_t iconCy, std::int32_t streamStart, std::int32_t streamLength, bool SaveFormat,
                        std::int32_t iconBitDepth) {
    surface.DestroyDIB();
    const auto range = StreamLoadRange(inStream, streamStart, streamLength);
    if (!range) return false;
    try {
        LoadRequest request;
        request.bytes = *range;
        return RunDecoders(surface, request, iconCx, iconCy, SaveFormat, iconBitDepth);
    } catch (...) {
        surface.DestroyDIB();
        return false;
    }
}

bool LoadPicture_Resource(c32bppDIB &surface, const ResourceId &ResIndex, const ResourceId &ResSection,
                          HMODULE hostGlobal, std::int32_t iconCx, std::int32_t iconCy, std::int32_t streamStart,
                          std::int32_t streamLength, std::int32_t iconBitDepth) {
    surface.DestroyDIB();
    try {
        const HMODULE module = hostGlobal != nullptr ? hostGlobal : EngineModule();
        if (!ResSection.name.empty()) {
            HRSRC found = FindResourceW(module, ResourceName(ResIndex), ResSection.name.c_str());
            if (found == nullptr) return false;
            const DWORD size = SizeofResource(module, found);
            HGLOBAL loaded = LoadResource(module, found);
            const auto *bytes = static_cast<const std::uint8_t *>(loaded ? LockResource(loaded) : nullptr);
            if (bytes == nullptr || size == 0) return false;
            const std::vector<std::uint8_t> copy(bytes, bytes + size);
            return LoadPicture_Stream(surface, copy, iconCx, iconCy, streamStart, streamLength, false, iconBitDepth);
        }
        UINT type;
        switch (ResSection.number) {
        case 0: type = IMAGE_BITMAP; break;
        case 1: type = IMAGE_ICON; break;
        case 2: type = IMAGE_CURSOR; break;
        default: return false;
        }
        HANDLE image = LoadImageW(module, ResourceName(ResIndex), type, 0, 0,
                                  type == IMAGE_BITMAP ? LR_DEFAULTCOLOR : LR_DEFAULTSIZE);
        if (image == nullptr) return false;
        // Ours until a picture takes it over.
        gdi::OwnedObject<HBITMAP> bitmap(type == IMAGE_BITMAP ? static_cast<HBITMAP>(image) : nullptr);
        gdi::OwnedIcon icon(type == IMAGE_BITMAP ? nullptr : static_cast<HICON>(image));
        auto picture = PictureFromHandle(image, type == IMAGE_BITMAP ? PICTYPE_BITMAP : PICTYPE_ICON);
        if (!picture) return false;
        bitmap.release();
        icon.release();
        return LoadPicture_StdPicture(surface, picture.get());
    } catch (...) {
        surface.DestroyDIB();
        return false;
    }
}

bool LoadPicture_StdPicture(c32bppDIB &surface, IPicture *Picture) {
    surface.DestroyDIB();
    if (Picture == nullptr) return false;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(Picture->get_Type(&type))) return false;
    Picture->get_Handle(&handle);
    const auto h = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle));
    if (type == PICTYPE_ICON) {
        if (g_converters.icon) g_converters.icon(h, surface);
    } else if (type == PICTYPE_BITMAP) {
        if (g_converters.bitmap) g_converters.bitmap(nullptr, static_cast<HBITMAP>(h), surface, 0);
    } else if (type != PICTYPE_NONE && type != PICTYPE_UNINITIALIZED) {
        if (g_converters.bitmap) g_converters.bitmap(Picture, nullptr, surface, 0);
    }
    return surface.HasImage();
}

bool LoadPicture_ByHandle(c32bppDIB &surface, HANDLE Handle) {
    surface.DestroyDIB();
    if (Handle == nullptr) return false;
    const DWORD type = GetObjectType(Handle);
    if (type == OBJ_BITMAP) return g_converters.bitmap && g_converters.bitmap(nullptr, static_cast<HBITMAP>(Handle), surface, 0);
    if (type == OBJ_METAFILE || type == OBJ_ENHMETAFILE) {
        // Through its bytes: a picture made from the handle would destroy the caller's.
        const auto bytes = EnhancedMetafileBytes(Handle, type);
        if (bytes.empty()) return false;
        auto picture = PictureFromBytes(std::span<const std::uint8_t>(bytes));
        return picture && LoadPicture_StdPicture(surface, picture.get());
    }
    {
        gdi::IconBitmaps icon;
        if (!GetIconInfo(static_cast<HICON>(Handle), &icon.info)) return false;
    }
    return g_converters.icon && g_converters.icon(Handle, surface);
}

bool LoadPicture_ClipBoard(c32bppDIB &surface) {
    surface.DestroyDIB();
    ClipboardOpen clipboard;
    if (!clipboard.open) return false;
    // The clipboard keeps its handles: each is read, none is taken.
    if (IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_DIB))
        return LoadPicture_ByHandle(surface, GetClipboardData(CF_BITMAP));
    if (IsClipboardFormatAvailable(CF_ENHMETAFILE)) return LoadPicture_ByHandle(surface, GetClipboardData(CF_ENHMETAFILE));
    if (IsClipboardFormatAvailable(CF_METAFILEPICT)) {
        HGLOBAL block = GetClipboardData(CF_METAFILEPICT);
        HMETAFILE metafile = nullptr;
        {
            GlobalLockGuard lock(block);
            if (lock.get() != nullptr && GlobalSize(block) >= sizeof(METAFILEPICT))
                metafile = static_cast<const METAFILEPICT *>(lock.get())->hMF;
        }
        return metafile != nullptr && LoadPicture_ByHandle(surface, metafile);
    }
    return false;
}

bool LoadPicture_FromOrignalFormat(c32bppDIB &surface, std::int32_t iconCx, std::int32_t iconCy,
                                   std::int32_t iconBitDepth) {
    if (surface.OriginalFormat().empty()) return false;
    const std::vector<std::uint8_t> copy = surface.OriginalFormat();
    return LoadPicture_Stream(surface, copy, iconCx, iconCy, 0, 0, true, iconBitDepth);
}

bool GetOrginalFormat(const c32bppDIB &surface, std::vector<std::uint8_t> &outStream) {
    outStream = surface.OriginalFormat();
    return !outStream.empty();
}

bool GetDroppedFileNames(IDataObject *OLEDragDrop_DataObject, std::vector<std::wstring> &files) {
    if (OLEDragDrop_DataObject == nullptr) return false;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (OLEDragDrop_DataObject->QueryGetData(&format) != S_OK) return false;
    STGMEDIUM medium{};
    if (FAILED(OLEDragDrop_DataObject->GetData(&format, &medium))) return false;
    if (medium.tymed != TYMED_HGLOBAL || medium.hGlobal == nullptr) {
        ReleaseStgMedium(&medium);
        return false;
    }
    bool wide = false;
    std::vector<std::wstring> names = WideNames(medium.hGlobal, files.size(), wide);
    ReleaseStgMedium(&medium);
    if (wide) files = std::move(names);
    return true;
}

std::int32_t GetPastedFileNames(std::vector<std::wstring> &ListOfFiles) {
    ClipboardOpen clipboard;
    if (!clipboard.open) return 0;
    auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    if (drop == nullptr) return 0;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    bool wide = false;
    std::vector<std::wstring> names = WideNames(drop, count, wide);
    if (!wide) {
        names.clear();
        for (UINT i = 0; i < count; ++i) {
            const UINT length = DragQueryFileA(drop, i, nullptr, 0);
            std::vector<char> buffer(length + 1u, '\0');
            DragQueryFileA(drop, i, buffer.data(), length + 1u);
            names.push_back(FromAnsi(buffer.data()));
        }
    }
    ListOfFiles = std::move(names);
    return static_cast<std::int32_t>(ListOfFiles.size());
}

} // namespace lumio
