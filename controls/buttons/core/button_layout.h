#pragma once
// Where a button puts its caption and picture: the nine picture alignments,
// in client pixels.
#include <cstdint>
#include <functional>

namespace lumio::buttons {

struct Box {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    void Offset(int32_t dx, int32_t dy) { left += dx; right += dx; top += dy; bottom += dy; }
    bool operator==(const Box&) const = default;
};

struct ButtonLayoutInput {
    int32_t width = 0, height = 0;    // client
    bool hasCaption = false;
    bool hasPicture = false;
    int32_t picW = 0, picH = 0;       // PictureSizeW/H
    int32_t align = 0;                // ePicAlignments
};

struct ButtonLayout {
    Box caption, picture;  // picture is empty without a picture
};

// measure gets the client size and returns the caption's word-broken extent
// (right, bottom of a rectangle at 0, 0); it is called only for a caption.
ButtonLayout CalcButtonLayout(const ButtonLayoutInput& in, int32_t marginV, int32_t marginH,
                              const std::function<Box(int32_t width, int32_t height)>& measure);

}  // namespace lumio::buttons
