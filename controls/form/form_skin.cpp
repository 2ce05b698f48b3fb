// The frame skin's strips as bitmaps.
#include "form_skin.h"

#include <cstring>

namespace lumio::form {

namespace {
#include "form_skin.inc"
}  // namespace

const SkinStrip& StripData(Strip which) {
    switch (which) {
    case Strip::Top: return kTop;
    case Strip::Left: return kLeft;
    case Strip::Right: return kRight;
    case Strip::Bottom: return kBottom;
    case Strip::Menu: return kMenu;
    case Strip::Close: return kClose;
    case Strip::Maximise: return kMaximise;
    case Strip::Restore: return kRestore;
    case Strip::Minimise: return kMinimise;
    }
    return kTop;
}

StripDC::StripDC(Strip which) {
    const SkinStrip& s = StripData(which);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = s.width;
    bi.bmiHeader.biHeight = -s.height;  // top-down, as the data
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_.reset(CreateCompatibleDC(nullptr));
    bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc_ || !bitmap_ || !bits) return;
    const int stride = (s.width * 3 + 3) & ~3;
    for (int y = 0; y < s.height; ++y)
        std::memcpy(static_cast<unsigned char*>(bits) + y * stride, s.bgr + y * s.width * 3, s.width * 3);
    GdiFlush();
    old_ = SelectObject(dc_.get(), bitmap_.get());
    width_ = s.width;
    height_ = s.height;
}

StripDC::~StripDC() {
    if (old_) SelectObject(dc_.get(), old_);
}

}  // namespace lumio::form
