#include "imaging/gdiplus_api.h"

namespace lumio {

namespace {
GdiplusCallCounts g_counts; // one UI thread; read by tests only
}

GdiplusCallCounts GdiplusCalls() noexcept { return g_counts; }

GdiplusApi::GdiplusApi() noexcept : library_(LoadLibraryW(L"gdiplus.dll")) {
    if (!library_) return;
    startup_ = library_.proc_as<decltype(startup_)>("GdiplusStartup");
    shutdown_ = library_.proc_as<decltype(shutdown_)>("GdiplusShutdown");
    complete_ = startup_ != nullptr && shutdown_ != nullptr;
#define LUMIO_GDIPLUS_BIND(name)                                               \
    name = library_.proc_as<decltype(name)>("Gdip" #name); \
    complete_ = complete_ && name != nullptr;
    LUMIO_GDIPLUS_ENTRIES(LUMIO_GDIPLUS_BIND)
#undef LUMIO_GDIPLUS_BIND
}

Gdiplus::GpStatus GdiplusApi::Startup(ULONG_PTR &token) const noexcept {
    if (!complete_) {
        token = 0;
        return Gdiplus::GdiplusNotInitialized;
    }
    Gdiplus::GdiplusStartupInput input; // version 1, no callback, nothing suppressed
    Gdiplus::GpStatus status = startup_(&token, &input, nullptr);
    if (status == Gdiplus::Ok)
        ++g_counts.startups;
    else
        token = 0;
    return status;
}

void GdiplusApi::Shutdown(ULONG_PTR token) const noexcept {
    if (token == 0 || !complete_) return;
    shutdown_(token);
    ++g_counts.shutdowns;
}

} // namespace lumio
