#pragma once
// Dropping lines from a section by their value, which the value services (which
// find lines by key) cannot express. Sections match as the value services match
// them (first one, ASCII case ignored); every other byte stays as it was.
#include <string>
#include <string_view>

// Removes every line of the section whose text after the first "=", trimmed of
// spaces, equals value. Returns the number of lines removed, or -1 when the file
// could not be rewritten.
int RemoveSectionLinesWithValue(std::string_view section, std::string_view value, const std::string &file);
