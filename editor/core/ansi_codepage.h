#pragma once
// Which bytes of the system's ANSI code page start a two-byte character.
// Needed wherever a byte could be the second half of such a character
// (GBK second bytes include "]" and the ASCII letters).

bool IsAnsiLeadByte(unsigned char b);
