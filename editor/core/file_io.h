#pragma once
// Whole-file reads and all-or-nothing replacement. Paths are in the ANSI code page.
#include <string>
#include <string_view>

enum class FileReadStatus { Ok, Missing, Failed };

// Missing: the file does not exist (out is cleared). Failed: it exists but could not be read.
FileReadStatus ReadFileBytes(const std::string &path, std::string &out);

// Writes bytes to a new file beside path and puts it in path's place, so that a failure
// leaves the old file (or no file) rather than half a file. Creates the file when absent.
// A symbolic link stays a link: the file it points to is replaced. A read-only file is
// refused (access denied).
bool ReplaceFileBytes(const std::string &path, std::string_view bytes);

// The system's error code of the last failed read or replacement on this thread
// (errno away from Windows, GetLastError on Windows).
int LastFileError();
// The system's own words for an error code.
std::u16string FileErrorText(int code);
