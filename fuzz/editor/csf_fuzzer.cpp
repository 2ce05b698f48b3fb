// The string-table parser on arbitrary bytes: no read outside the data, no runaway
// allocation, and a table whose size agrees with its count.
#include "csf_parser.h"
#include "csfrw.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<CsfEntry> table;
    int32_t count = -1;
    if (!ParseCsf(data, size, table, count)) return 0;
    if (count < 0 || static_cast<size_t>(count) + 1 != table.size()) std::abort();
    if (static_cast<size_t>(count) > size / 4) std::abort();
    CsfTable = std::move(table);
    CsfLabelCount = count;
    const std::u16string first = CsfTable.front().Label;
    if (LookupCsfLabel(first) != CsfTable.front().Value) std::abort();
    return 0;
}
