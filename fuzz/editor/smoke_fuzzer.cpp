#include <cstddef>
#include <cstdint>
// Stands in until the string-table and INI fuzzers land here.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *, size_t) { return 0; }
