#pragma once
// Reading and writing a surface's pixels in the layouts hosts ask for:
// one pixel as a colour, or a rectangle to and from a byte array. The
// rectangle is counted from the picture's top-left corner in every case.
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/surface_core.h"

namespace lumio {

// A byte array as GetDIBbits fills it. Its bytes are the rows one after the
// other either way; a two-dimensional array is indexed (byte in row, row).
struct ByteArray {
    std::vector<std::uint8_t> bytes;
    std::int32_t dimensions = 0;  // 0 while never filled, else 1 or 2
    std::int32_t rowBytes = 0;    // with 2 dimensions: the first extent
    std::int32_t rows = 0;        // with 2 dimensions: the second extent
};

// The pixel at (x, y) as R + G*256 + B*65536, un-premultiplied unless
// asPreMultiplied; its alpha in AlphaValue. -1 (and alpha 0) outside the image.
std::int32_t GetPixel(const SurfaceCore &self, std::int32_t x, std::int32_t y, std::int32_t &AlphaValue,
                      bool asPreMultiplied);

// Copies the rectangle (x, y, Width, Height) out (sizes 0: the whole image;
// cut at the right and bottom edges). Pixels of 3 bytes (rows padded to 4
// bytes when asWordAligned) or 4; B,G,R or R,G,B; rows top-down unless
// asBottomUp; colours straight unless asPreMultiplied. False, and outStream
// untouched, without image, for a rectangle outside the image or empty after
// cutting, or when the bytes do not fit in 32 bits or in memory.
bool GetDIBbits(const SurfaceCore &self, ByteArray &outStream, bool as2dArray, bool asBGRformat, bool as32bpp,
                bool asWordAligned, bool asBottomUp, std::int32_t x, std::int32_t y, std::int32_t Width,
                std::int32_t Height, bool asPreMultiplied);

// Copies inStream into the rectangle (dstX, dstY, dstWidth, dstHeight), with
// the same size rules and layouts. 3-byte pixels leave the alpha bytes alone.
// The input must hold at least the surface's Height rows of the rectangle's
// row size. The whole surface's alpha is then classified: no alpha left makes
// every alpha 255, straight alpha is premultiplied (in the written rectangle:
// the rest already is); Alpha follows, ImageType is kept.
bool SetDIBbits(SurfaceCore &self, std::span<const std::uint8_t> inStream, bool isBGRformat, bool is32bpp,
                bool isWordAligned, bool isBottomUp, std::int32_t dstX, std::int32_t dstY, std::int32_t dstWidth,
                std::int32_t dstHeight);

}  // namespace lumio
