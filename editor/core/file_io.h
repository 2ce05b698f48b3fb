#pragma once
// Whole-file reads and all-or-nothing replacement. Paths are in the ANSI code page.
#include <string>
#include <string_view>

enum class FileReadStatus { Ok, Missing, Failed };

// Missing: the file does not exist (out is cleared). Failed: it exists but could not be read.
FileReadStatus ReadFileBytes(const std::string &path, std::string &out);

// Writes bytes to a new file beside path and renames it over path, so that a failure
// leaves the old file (or no file) rather than half a file. Creates the file when absent.
bool ReplaceFileBytes(const std::string &path, std::string_view bytes);
