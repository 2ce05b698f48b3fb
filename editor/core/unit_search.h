#pragma once
// Finding a unit in the list by the text of one of its columns.
#include <string>
#include <string_view>
#include <vector>

// The search text made of what was typed: cut before its first space, ";" or NUL among
// characters 2 to 41 (a leading space stays).
std::u16string SearchTextOf(std::u16string_view typed);

// Index of the first cell that holds the search text when a space is put in front of
// it (exact, case-sensitive), -1 when none does. An empty search text matches the first cell.
int FindUnitRow(const std::vector<std::u16string> &cells, std::u16string_view typed);

// What the user is told when no cell matches.
std::u16string SearchNotFoundMessage(std::u16string_view typed);
