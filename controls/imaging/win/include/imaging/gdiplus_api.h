#pragma once
// The GDI+ flat interface, bound at run time so that the library loads and
// works where gdiplus.dll is absent. One GdiplusApi holds gdiplus.dll loaded
// for its own life; every entry is null when the library or the entry is missing.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "win_handles.h"

namespace lumio {

// X(name): the flat function Gdip<name> of gdiplus.dll.
#define LUMIO_GDIPLUS_ENTRIES(X) \
    X(CreateBitmapFromScan0)     \
    X(CreateFromHDC)             \
    X(CreateImageAttributes)     \
    X(DeleteGraphics)            \
    X(DisposeImage)              \
    X(DisposeImageAttributes)    \
    X(DrawImageRectRectI)        \
    X(GetImageBounds)            \
    X(GetImageEncoders)          \
    X(GetImageEncodersSize)      \
    X(GetImagePixelFormat)       \
    X(ImageRotateFlip)           \
    X(LoadImageFromFile)         \
    X(LoadImageFromStream)       \
    X(RotateWorldTransform)      \
    X(SaveImageToFile)           \
    X(SaveImageToStream)         \
    X(SetImageAttributesColorMatrix) \
    X(SetInterpolationMode)      \
    X(TranslateWorldTransform)

class GdiplusApi {
public:
    GdiplusApi() noexcept;
    // gdiplus.dll loaded with GdiplusStartup, GdiplusShutdown and every entry below.
    bool Available() const noexcept { return complete_; }

    // GdiplusStartup (version 1, no callback, background thread and codecs on)
    // and GdiplusShutdown of a token. Both are counted: see GdiplusCallCounts.
    Gdiplus::GpStatus Startup(ULONG_PTR &token) const noexcept;
    void Shutdown(ULONG_PTR token) const noexcept;

#define LUMIO_GDIPLUS_MEMBER(name) decltype(&Gdiplus::DllExports::Gdip##name) name = nullptr;
    LUMIO_GDIPLUS_ENTRIES(LUMIO_GDIPLUS_MEMBER)
#undef LUMIO_GDIPLUS_MEMBER

private:
    LoadedLibrary library_;
    decltype(&Gdiplus::GdiplusStartup) startup_ = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) shutdown_ = nullptr;
    bool complete_ = false;
};

// How often this library has started and shut down GDI+ through its binding
// (successful starts only). Lets tests check the token rule, since a GDI+
// may hand out the same token every time.
struct GdiplusCallCounts {
    long startups = 0;
    long shutdowns = 0;
};
GdiplusCallCounts GdiplusCalls() noexcept;

} // namespace lumio
