#pragma once
// A bitmap kept in a memory device context, drawn in pieces onto other DCs:
// the controls hold their bitmap skins (strips of glyph cells) in these.
// Platform failures are silent: the object is then without DC and of size 0,
// and drawing from it draws nothing.
#include <windows.h>
#include <ocidl.h>

#include <cstdint>

#include "gdi_scope.h"

namespace lumio {

class pcMemDC {
public:
    pcMemDC() = default;
    ~pcMemDC();
    pcMemDC(const pcMemDC &) = delete;
    pcMemDC &operator=(const pcMemDC &) = delete;

    std::int32_t Width() const noexcept { return width_; }
    // Only a larger value has an effect: a new, empty bitmap of that width
    // and the current height (the old contents are lost).
    void Width(std::int32_t value);
    std::int32_t Height() const noexcept { return height_; }
    void Height(std::int32_t value);
    HDC hDC() const noexcept { return dc_.get(); }

    // StretchBlt SRCCOPY; source sizes below 1 mean the whole width or height.
    // The destination's stretch mode is left as it is.
    void StretchDraw(HDC hDC, std::int32_t xDst, std::int32_t yDst, std::int32_t WidthDst, std::int32_t HeightDst,
                     std::int32_t xSrc, std::int32_t ySrc, std::int32_t WidthSrc, std::int32_t HeightSrc) const;
    // Unscaled copy; sizes below 1 mean the whole width or height. UseMask
    // leaves the destination unchanged under magenta (RGB 255, 0, 255) pixels.
    void Draw(HDC hDC, std::int32_t xSrc, std::int32_t ySrc, std::int32_t WidthSrc, std::int32_t HeightSrc,
              std::int32_t xDst, std::int32_t yDst, bool UseMask) const;
    // Grows to the picture's bitmap (a larger DC keeps its size) and copies the
    // bitmap in at (0, 0). A picture without a bitmap leaves the DC as it is.
    void CreateFromPicture(IPicture *sPic);

private:
    void CreateMemDC(std::int32_t width, std::int32_t height);
    void DestroyMemDC() noexcept;

    gdi::OwnedDC dc_;
    gdi::OwnedObject<HBITMAP> bitmap_;
    HGDIOBJ displaced_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

// Copies width x height pixels from (xSrc, ySrc) of source to (x, y) of
// destination, except the pixels equal to keyColor (an OLE colour, translated
// through palette; a halftone palette of the screen when palette is null).
void TransparentBlit(HDC destination, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                     HDC source, std::int32_t xSrc, std::int32_t ySrc, std::uint32_t keyColor, HPALETTE palette);

} // namespace lumio
