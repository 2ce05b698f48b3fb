#pragma once
// Display names in Simplified Chinese characters.
#include <string>
#include <string_view>

// Maps name through the system's simplified-character mapping (locale 2052); where
// that reports success yet changes nothing that our table would change (Wine's
// does nothing), the table's result stands. A failed mapping gives as many spaces
// as the name has bytes.
std::wstring MapToSimplified(std::wstring_view name);
