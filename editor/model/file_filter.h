#pragma once
// File-dialog filters written as "description|pattern|description|pattern".
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The (description, pattern) pairs of a filter; a trailing description without a
// pattern gets "*.*".
std::vector<std::pair<std::wstring, std::wstring>> ParseFileFilter(std::wstring_view filter);
