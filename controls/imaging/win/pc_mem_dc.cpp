#include "imaging/pc_mem_dc.h"

#include "gdi_scope.h"

namespace lumio {

pcMemDC::~pcMemDC() { DestroyMemDC(); }

void pcMemDC::DestroyMemDC() noexcept {
    if (dc_ && displaced_ != nullptr) SelectObject(dc_.get(), displaced_);
    displaced_ = nullptr;
    bitmap_.reset();
    dc_.reset();
    width_ = 0;
    height_ = 0;
}

void pcMemDC::CreateMemDC(std::int32_t width, std::int32_t height) {
    DestroyMemDC();
    gdi::OwnedDC screen(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    if (!screen) return;
    dc_.reset(CreateCompatibleDC(screen.get()));
    bitmap_.reset(CreateCompatibleBitmap(screen.get(), width, height));
    if (dc_ && bitmap_) displaced_ = SelectObject(dc_.get(), bitmap_.get());
    if (!dc_ || !bitmap_ || displaced_ == nullptr) {
        DestroyMemDC();
        return;
    }
    width_ = width;
    height_ = height;
}

void pcMemDC::Width(std::int32_t value) {
    if (value > width_) CreateMemDC(value, height_);
}

void pcMemDC::Height(std::int32_t value) {
    if (value > height_) CreateMemDC(width_, value);
}

void pcMemDC::StretchDraw(HDC hDC, std::int32_t xDst, std::int32_t yDst, std::int32_t WidthDst,
                          std::int32_t HeightDst, std::int32_t xSrc, std::int32_t ySrc, std::int32_t WidthSrc,
                          std::int32_t HeightSrc) const {
    if (!dc_) return;
    if (WidthSrc < 1) WidthSrc = width_;
    if (HeightSrc < 1) HeightSrc = height_;
    StretchBlt(hDC, xDst, yDst, WidthDst, HeightDst, dc_.get(), xSrc, ySrc, WidthSrc, HeightSrc, SRCCOPY);
}

void pcMemDC::Draw(HDC hDC, std::int32_t xSrc, std::int32_t ySrc, std::int32_t WidthSrc, std::int32_t HeightSrc,
                   std::int32_t xDst, std::int32_t yDst, bool UseMask) const {
    if (!dc_) return;
    if (WidthSrc < 1) WidthSrc = width_;
    if (HeightSrc < 1) HeightSrc = height_;
    if (UseMask)
        TransparentBlit(hDC, xDst, yDst, WidthSrc, HeightSrc, dc_.get(), xSrc, ySrc, RGB(255, 0, 255), nullptr);
    else
        BitBlt(hDC, xDst, yDst, WidthSrc, HeightSrc, dc_.get(), xSrc, ySrc, SRCCOPY);
}

void pcMemDC::CreateFromPicture(IPicture *sPic) {
    if (sPic == nullptr) return;
    OLE_HANDLE handle = 0;
    if (FAILED(sPic->get_Handle(&handle)) || handle == 0) return;
    HBITMAP picture = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP bm{};
    if (GetObjectType(picture) != OBJ_BITMAP || GetObjectA(picture, sizeof bm, &bm) == 0) return;
    Width(bm.bmWidth);
    Height(bm.bmHeight);
    if (!dc_) return;
    gdi::OwnedDC screen(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    if (!screen) return;
    gdi::OwnedDC temp(CreateCompatibleDC(screen.get()));
    if (!temp) return;
    gdi::Selection selected(temp.get(), picture);
    if (!selected) return;
    BitBlt(dc_.get(), 0, 0, bm.bmWidth, bm.bmHeight, temp.get(), 0, 0, SRCCOPY);
}

} // namespace lumio
