#pragma once
// The surface's loading members: files, streams, resources, picture objects, handles, the
// clipboard and kept source bytes all end in LoadPictureData (imaging/picture_chain.h);
// and the file names of a drop or of the clipboard. Free functions taking the surface first.
#include <windows.h>

#include <ocidl.h>
#include <objidl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "imaging/c32bpp_dib.h"

namespace lumio {

bool LoadPicture_File(c32bppDIB &surface, const std::wstring &FileName, std::int32_t iconCx = 0,
                      std::int32_t iconCy = 0, bool SaveFormat = false, std::int32_t iconBitDepth = 32);
bool LoadPicture_Stream(c32bppDIB &surface, const std::vector<std::uint8_t> &inStream, std::int32_t iconCx = 0,
                        std::int32_t iconCy = 0, std::int32_t streamStart = 0, std::int32_t streamLength = 0,
                        bool SaveFormat = false, std::int32_t iconBitDepth = 32);

// A resource named or numbered.
struct ResourceId {
    std::wstring name; // used when not empty
    std::int32_t number = 0;
    ResourceId(const wchar_t *n) : name(n) {}
    ResourceId(std::wstring n) : name(std::move(n)) {}
    ResourceId(std::int32_t n) : number(n) {}
};
// ResSection a name: the raw resource of that type, loaded as a stream. A number: 0 bitmap,
// 1 icon, 2 cursor (else False), loaded at default size as a picture. hostGlobal null: the
// module that holds the image engine.
bool LoadPicture_Resource(c32bppDIB &surface, const ResourceId &ResIndex, const ResourceId &ResSection,
                          HMODULE hostGlobal = nullptr, std::int32_t iconCx = 0, std::int32_t iconCy = 0,
                          std::int32_t streamStart = 0, std::int32_t streamLength = 0,
                          std::int32_t iconBitDepth = 32);
bool LoadPicture_StdPicture(c32bppDIB &surface, IPicture *Picture);
// The caller's handle stays the caller's.
bool LoadPicture_ByHandle(c32bppDIB &surface, HANDLE Handle);
bool LoadPicture_ClipBoard(c32bppDIB &surface);
// Without kept bytes the surface is left as it was (False).
bool LoadPicture_FromOrignalFormat(c32bppDIB &surface, std::int32_t iconCx = 0, std::int32_t iconCy = 0,
                                   std::int32_t iconBitDepth = 32);
bool GetOrginalFormat(const c32bppDIB &surface, std::vector<std::uint8_t> &outStream);

// The drop's file list: on entry the names as the host decoded them; when the drop carries
// wide names they replace them (at most as many). False without a file drop.
bool GetDroppedFileNames(IDataObject *OLEDragDrop_DataObject, std::vector<std::wstring> &files);
// The names of the files on the clipboard (0-based list); the result is their count.
std::int32_t GetPastedFileNames(std::vector<std::wstring> &ListOfFiles);

// Shows a run-time error left by the PNG reader; a message box unless a test replaces it.
using ReaderErrorNotifier = std::function<void(const std::wstring &description)>;
void SetReaderErrorNotifier(ReaderErrorNotifier notify);

// What the loading members need of the codecs besides the readers (registered with them).
struct PictureConverters {
    bool (*bitmap)(IPicture *picture, HBITMAP handle, c32bppDIB &surface, std::int16_t bitCount) = nullptr;
    bool (*icon)(HANDLE handle, c32bppDIB &surface) = nullptr;
};
void RegisterPictureConverters(const PictureConverters &converters) noexcept;

} // namespace lumio
