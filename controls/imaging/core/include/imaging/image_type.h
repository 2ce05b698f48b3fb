#pragma once
// Origin codes of a surface's pixels (the ImageType property).
#include <cstdint>

namespace lumio::image_type {
constexpr std::int32_t kNone = -1;               // no image
constexpr std::int32_t kBlank = 0;               // made by code
constexpr std::int32_t kNoAlpha = 1;
constexpr std::int32_t kMetafile = 2;
constexpr std::int32_t kIconWithMask = 3;
constexpr std::int32_t kEnhancedMetafile = 4;
constexpr std::int32_t kCursorWithMask = 5;
constexpr std::int32_t kStraightAlpha = 6;
constexpr std::int32_t kPremultipliedAlpha = 7;
constexpr std::int32_t kIconWithAlpha = 8;
constexpr std::int32_t kGif = 9;
constexpr std::int32_t kPng = 10;                // also anything decoded through GDI+
constexpr std::int32_t kPngInIcon = 11;
constexpr std::int32_t kCursorWithAlpha = 12;
constexpr std::int32_t kCheckerBoard = 64;
} // namespace lumio::image_type
