#pragma once
// The text of a section as the weapon editor edits it.
#include <string>
#include <string_view>
#include <vector>

// The lines of an edited section text (CR LF or LF separated), blank lines dropped:
// a blank line written into a section would end it early.
std::vector<std::string> SectionLinesFromText(std::string_view text);
