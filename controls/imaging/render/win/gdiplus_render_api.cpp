#include "gdiplus_render_api.h"

namespace lumio {

GdiplusRenderApi::GdiplusRenderApi() noexcept : library_(LoadLibraryW(L"gdiplus.dll")) {
    if (!library_) return;
#define LUMIO_GDIPLUS_BIND(name) name = reinterpret_cast<decltype(name)>(library_.proc("Gdip" #name));
    LUMIO_GDIPLUS_RENDER_ENTRIES(LUMIO_GDIPLUS_BIND)
#undef LUMIO_GDIPLUS_BIND
}

bool GdiplusRenderApi::Complete() const noexcept {
#define LUMIO_GDIPLUS_PRESENT(name) &&name != nullptr
    return true LUMIO_GDIPLUS_RENDER_ENTRIES(LUMIO_GDIPLUS_PRESENT);
#undef LUMIO_GDIPLUS_PRESENT
}

}  // namespace lumio
