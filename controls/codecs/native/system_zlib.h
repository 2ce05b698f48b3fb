#pragma once
// The system zlib behind ZlibApi: "zlib present" for native tests, fuzzers and benchmarks.
#include <memory>

#include "zlib_api.h"

std::unique_ptr<ZlibApi> SystemZlib();
