#pragma once
// Whole-line edits inside one section of an INI file, for the two changes the
// value services cannot express: dropping lines by their value, and replacing a
// section's lines. Sections match as the value services match them (first one,
// ASCII case ignored); every byte outside the edited lines stays as it was.
#include <string>
#include <string_view>
#include <vector>

// Removes every line of the section whose text after the first "=", trimmed of
// spaces, equals value. Returns the number of lines removed, or -1 when the file
// could not be rewritten.
int RemoveSectionLinesWithValue(std::string_view section, std::string_view value, const std::string &file);

// Replaces the lines of the section (blank lines at its end stay, to keep the
// separation from the next section) with lines; a missing section is appended.
bool ReplaceSectionLines(std::string_view section, const std::vector<std::string> &lines, const std::string &file);
