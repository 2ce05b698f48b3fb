#pragma once
// The system zlib behind ZlibApi: "zlib present" for native tests, fuzzers and benchmarks.
#include <memory>

#include "zlib/zlib_api.h"

namespace lumio {

std::unique_ptr<ZlibApi> SystemZlib();

}  // namespace lumio
