#pragma once
// The frame skin of LumioBasicForm, compiled into the library: strips drawn by
// draw_form_skin.py, each made a bitmap in a memory DC to copy from.
#include <windows.h>

#include "gdi_scope.h"

namespace lumio::form {

struct SkinStrip {
    int width, height;
    const unsigned char* bgr;  // rows top-down, 3 bytes a pixel
};

// Geometry of the skin.
inline constexpr int kTitleHeight = 29;
inline constexpr int kBorderWidth = 8;
inline constexpr int kMiddleSlice = 5;
inline constexpr int kCellWidth = 28;
inline constexpr int kCellHeight = 15;
inline constexpr int kUnfocusedOffset = 4 * kCellWidth;
inline constexpr int kCornerRadius = 9;

enum class Strip { Top, Left, Right, Bottom, Menu, Close, Maximise, Restore, Minimise };

const SkinStrip& StripData(Strip which);

// One strip as a bitmap selected into a memory DC.
class StripDC {
public:
    explicit StripDC(Strip which);
    StripDC(const StripDC&) = delete;
    StripDC& operator=(const StripDC&) = delete;
    ~StripDC();
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    gdi::OwnedDC dc_;
    gdi::OwnedObject<HBITMAP> bitmap_;
    HGDIOBJ old_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace lumio::form
