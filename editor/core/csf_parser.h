#pragma once
// Parsing of the game's string table (.csf) from its bytes.
#include "csfrw.h"

#include <cstddef>
#include <cstdint>

// Returns false, and leaves table alone, when the data does not start with the table's magic.
// Otherwise table holds one entry per label record read and one blank entry after them,
// and labelCount the number of label records read. Counts and lengths in the data never
// reach past its end: reading stops there. whole, when given, tells whether every label
// the header counts was read without running past the end.
bool ParseCsf(const uint8_t *data, size_t size, std::vector<CsfEntry> &table, int32_t &labelCount,
              bool *whole = nullptr);
