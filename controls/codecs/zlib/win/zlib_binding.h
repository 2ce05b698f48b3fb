#pragma once
// The reader's binding of a zlib DLL found at run time.
#include <memory>
#include <string>

#include "zlib/zlib_api.h"

namespace lumio {

// Binds the library FindZlibDll reported: index 1 "zlib.dll", 2 "zlib1.dll"; a cdecl library is
// called through cCDECL, any other through its exports as stdcall functions. Null when the
// library does not load. Every module reference taken is released with the binding.
// hasCompress2: what FindZlibDll reported, for the cdecl library.
std::unique_ptr<ZlibApi> BindZlib(const std::string &name, int index, bool isCdecl, bool hasCompress2 = false);

// Finds and binds zlib for one load or save ("zlib1.dll", then "zlib.dll"); null when none exists.
std::unique_ptr<ZlibApi> LoadZlib();

}  // namespace lumio
