#include "ansi_codepage.h"

// Away from Windows there is no ANSI code page; the editor's files are GBK.
bool IsAnsiLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
