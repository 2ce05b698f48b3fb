#include "gdi_scope.h"
#include "imaging/pc_mem_dc.h"
#include "ole_colour_win.h"
#include "win_handles.h"

#include <olectl.h>

namespace lumio {
namespace {

// A screen-compatible work bitmap of its own DC, with the palette realised.
struct WorkDC {
    WorkDC(HDC screen, HBITMAP bitmap, HPALETTE palette)
        : dc(CreateCompatibleDC(screen)), bmp(bitmap), selected(dc.get(), bmp.get()), realised(dc.get(), palette) {}
    explicit operator bool() const { return dc && bmp && selected; }
    gdi::OwnedDC dc;
    gdi::OwnedObject<HBITMAP> bmp;
    gdi::Selection selected;
    gdi::PaletteSelection realised;
};

} // namespace

void TransparentBlit(HDC destination, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                     HDC source, std::int32_t xSrc, std::int32_t ySrc, std::uint32_t keyColor, HPALETTE palette) {
    if (destination == nullptr || source == nullptr || width < 1 || height < 1) return;
    ScreenDC screen;
    if (screen.get() == nullptr) return;
    gdi::OwnedObject<HPALETTE> halftone(palette ? nullptr : CreateHalftonePalette(screen.get()));
    if (!palette) palette = halftone.get();

    std::uint32_t key = keyColor & 0xFFFFFFu;
    if (TryTranslateOleColor(keyColor, palette, key)) key &= 0xFFFFFFu;

    // Background: what the destination holds now.
    WorkDC back(screen.get(), CreateCompatibleBitmap(screen.get(), width, height), palette);
    // The source cell, in the source's own colours.
    WorkDC cell(screen.get(), CreateCompatibleBitmap(screen.get(), width, height), palette);
    // Mask: 1 where the cell holds the key colour.
    gdi::OwnedDC maskDC(CreateCompatibleDC(screen.get()));
    gdi::OwnedObject<HBITMAP> maskBmp(CreateBitmap(width, height, 1, 1, nullptr));
    gdi::Selection maskSelected(maskDC.get(), maskBmp.get());
    if (!back || !cell || !maskDC || !maskBmp || !maskSelected) return;

    BitBlt(back.dc.get(), 0, 0, width, height, destination, x, y, SRCCOPY);
    SetBkColor(cell.dc.get(), GetBkColor(source));
    SetTextColor(cell.dc.get(), GetTextColor(source));
    BitBlt(cell.dc.get(), 0, 0, width, height, source, xSrc, ySrc, SRCCOPY);

    SetBkColor(cell.dc.get(), key);
    SetTextColor(cell.dc.get(), RGB(255, 255, 255));
    BitBlt(maskDC.get(), 0, 0, width, height, cell.dc.get(), 0, 0, SRCCOPY);

    // Key pixels of the cell become black, so that OR-ing keeps the background there.
    SetTextColor(cell.dc.get(), RGB(0, 0, 0));
    SetBkColor(cell.dc.get(), RGB(255, 255, 255));
    BitBlt(cell.dc.get(), 0, 0, width, height, maskDC.get(), 0, 0, 0x220326);

    BitBlt(back.dc.get(), 0, 0, width, height, maskDC.get(), 0, 0, SRCAND);
    BitBlt(back.dc.get(), 0, 0, width, height, cell.dc.get(), 0, 0, SRCPAINT);
    BitBlt(destination, x, y, width, height, back.dc.get(), 0, 0, SRCCOPY);
}

} // namespace lumio
