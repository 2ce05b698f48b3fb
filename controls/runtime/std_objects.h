#pragma once
// Standard font and picture objects.
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "com_ptr.h"

namespace lumio {

// The face a control's font starts with, and its size in points.
inline constexpr const wchar_t* kDefaultFontName = L"MS Sans Serif";
inline constexpr double kDefaultFontSize = 8.25;

ComPtr<IFontDisp> CreateStdFont(const std::wstring& name = kDefaultFontName, double points = kDefaultFontSize,
                                bool bold = false);
// An independent copy; nullptr for nullptr.
ComPtr<IFontDisp> CloneFont(IUnknown* font);
// A picture that owns the bitmap or icon handle it is given (picture type 1
// or 3); when no picture can be made, the handle is destroyed all the same.
ComPtr<IPictureDisp> PictureFromBitmap(HBITMAP bitmap);
ComPtr<IPictureDisp> PictureFromIcon(HICON icon);

}  // namespace lumio
