/* A library with a cdecl "crc32" that is not zlib's, and one that sets the last error. */
#include <windows.h>

__declspec(dllexport) unsigned long __cdecl crc32(unsigned long crc, const unsigned char *buf, unsigned len) {
    (void)crc;
    (void)buf;
    return 1000u + len;
}

__declspec(dllexport) int __cdecl set_error(int code) {
    SetLastError((DWORD)code);
    return code + 1;
}

__declspec(dllexport) int __cdecl sum5(int a, int b, int c, int d, int e) {
    return a + 2 * b + 3 * c + 4 * d + 5 * e;
}
