#include "ansi_codepage.h"

#include "cp936.h"

// Away from Windows there is no ANSI code page to ask; the editor's files are GBK, and the
// system's Chinese code page is the one the program meets on Windows.
bool IsAnsiLeadByte(unsigned char b) { return IsCp936LeadByte(b); }

std::u16string AnsiToWide(std::string_view bytes) { return Cp936ToWide(bytes); }

std::optional<std::string> WideToAnsi(std::u16string_view text) { return WideToCp936(text); }
