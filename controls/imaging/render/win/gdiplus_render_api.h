#pragma once
// The GDI+ flat functions that only rendering needs, bound at run time beside
// the bridge's own binding; every entry is null where gdiplus.dll lacks it.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "imaging/win_handles.h"

namespace lumio {

#define LUMIO_GDIPLUS_RENDER_ENTRIES(X) \
    X(SetInterpolationMode)             \
    X(CreateImageAttributes)            \
    X(SetImageAttributesColorMatrix)    \
    X(DisposeImageAttributes)           \
    X(RotateWorldTransform)             \
    X(TranslateWorldTransform)

class GdiplusRenderApi {
public:
    GdiplusRenderApi() noexcept;
    bool Complete() const noexcept;

#define LUMIO_GDIPLUS_MEMBER(name) decltype(&Gdiplus::DllExports::Gdip##name) name = nullptr;
    LUMIO_GDIPLUS_RENDER_ENTRIES(LUMIO_GDIPLUS_MEMBER)
#undef LUMIO_GDIPLUS_MEMBER

private:
    LoadedLibrary library_;
};

}  // namespace lumio
