#pragma once
#include <windows.h>

inline constexpr CLSID kProbeClsid = {0x3F0C2A61, 0x9B7E, 0x4C55, {0xA1, 0x0D, 0x62, 0x48, 0xE3, 0x91, 0x5B, 0x07}};
inline constexpr const wchar_t* kProbeName = L"RegistrationProbe";
inline constexpr DWORD kProbeMiscStatus = 0x21191;
inline constexpr int kProbeBitmap = 30009;
