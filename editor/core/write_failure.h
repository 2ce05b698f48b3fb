#pragma once
// What the user is told when a file could not be written: the file and the system's reason.
#include <string>
#include <string_view>

// file: a path in the ANSI code page; code: the system's error code.
std::u16string WriteFailureMessage(std::string_view file, int code);
// The last failed write through the INI services.
std::u16string ProfileWriteFailureMessage();
