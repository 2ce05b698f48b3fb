#pragma once
// Puts a finished temporary file in place of the original in one step, so that a
// failed write never leaves half a file behind. Paths are in the ANSI code page.
#include <string>

bool ReplaceFileWith(const std::string &temporary, const std::string &target);
