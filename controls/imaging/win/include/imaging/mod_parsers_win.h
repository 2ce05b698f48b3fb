#pragma once
// Shared routines of the image engine that call the system: files by wide or
// ANSI name, the library probe, picture objects, OLE colours.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "com_ptr.h"
#include "picture_handle.h"
#include "imaging/mod_parsers.h"

namespace lumio {

// Opens a file for reading (shared read, must exist) or writing (created or
// truncated, keeping the attributes of a file that exists). useWideApi False
// lets the desktop window decide between the wide and the ANSI functions.
// INVALID_HANDLE_VALUE on failure; the caller closes the handle.
HANDLE OpenFileUnicode(const std::wstring &fileName, bool forReading, bool useWideApi);
// Clears the file's attributes, then deletes it; True when it was deleted.
bool DeleteFileUnicode(const std::wstring &fileName, bool useWideApi);

// Whether the library loads and exports the function; the library is not kept loaded.
bool IsDllFunctionAvailable(const char *libraryName, const char *functionName);

// A picture object from image file bytes through the system's picture loader; null on failure.
ComPtr<IPicture> PictureFromBytes(std::span<const std::uint8_t> bytes);
// The same over bytes[start, start+length); raises error 9 when that is outside the array.
ComPtr<IPicture> PictureFromBytes(const std::vector<std::uint8_t> &bytes, std::int32_t start, std::int32_t length);

// The system's choice between wide and ANSI file functions when not forced.
bool SystemPrefersWideApi();

} // namespace lumio
