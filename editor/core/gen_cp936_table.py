#!/usr/bin/env python3
"""gen_cp936_table.py NLS OUT: turns the system's table of code page 936 (a c_936.nls file,
the form Windows and Wine keep code pages in) into the C++ tables of cp936.cpp.

What reads as a character follows the system's MultiByteToWideChar with MB_ERR_INVALID_CHARS:
a pair is refused when the table gives it the default character; a single byte also when it
starts a pair or the table gives it a private-use character (0xFF). What writes follows
WideCharToMultiByte with WC_NO_BEST_FIT_CHARS: a character whose bytes read back as itself.
"""
import os
import struct
import sys

NONE = 0xFFFF  # no character (U+FFFF is none of the table's)


def main(nls_path, out_path):
    data = open(nls_path, 'rb').read()
    w = struct.unpack('<%dH' % (len(data) // 2), data)
    header_words, codepage, max_char = w[0], w[1], w[2]
    uni_default, trans_uni_default = w[4], w[6]
    if codepage != 936 or max_char != 2:
        sys.exit('%s: not the double-byte table of code page 936' % nls_path)
    p = header_words
    wide_table = p + w[p] + 1
    mb = w[p + 1:p + 257]
    q = p + 257
    if w[q]:  # glyph table
        q += 256
    q += 1
    if not w[q]:
        sys.exit('%s: no double-byte ranges' % nls_path)
    offsets = q + 1  # per lead byte: where its 256 characters start, counted from here
    lead = [w[offsets + b] != 0 for b in range(256)]
    wc = w[wide_table:wide_table + 65536]
    if len(wc) != 65536:
        sys.exit('%s: short table' % nls_path)

    def pair_char(a, b):
        return w[offsets + w[offsets + a] + b]

    single = []
    for b in range(256):
        c = mb[b]
        refused = lead[b] or (c == uni_default and b != trans_uni_default) or 0xE000 <= c <= 0xF8FF
        single.append(NONE if refused else c)
    double = []
    for a in range(0x81, 0xFF):
        if not lead[a]:
            sys.exit('%s: %02X is no lead byte' % (nls_path, a))
        for b in range(256):
            c = pair_char(a, b)
            refused = c == uni_default and ((a << 8) | b) != trans_uni_default
            double.append(NONE if refused else c)
    if any(lead[b] for b in range(256) if not 0x81 <= b <= 0xFE):
        sys.exit('%s: lead bytes outside 81-FE' % nls_path)

    if any(mb[c] != c or wc[c] != c for c in range(0x80)):
        sys.exit('%s: ASCII is not its own' % nls_path)

    # Characters that write: whatever reads back as itself.
    def read_back(code):
        return mb[code] if code < 256 else pair_char(code >> 8, code & 0xFF) if lead[code >> 8] else None

    written = {c: wc[c] for c in range(0x80, 0x10000) if read_back(wc[c]) == c and not 0xD800 <= c <= 0xDFFF}
    # The tables of cp936.cpp give the same: every character read, plus those written only.
    read = {}
    for b in range(0x80, 0x100):
        if single[b] != NONE:
            read[single[b]] = b
    for i, c in enumerate(double):
        if c != NONE:
            if c in read:
                sys.exit('%s: U+%04X read from two byte sequences' % (nls_path, c))
            read[c] = ((0x81 + i // 256) << 8) | (i % 256)
    write_only = {c: code for c, code in written.items() if c not in read}
    if any(written.get(c) != code for c, code in read.items()):
        sys.exit('%s: a character read does not write back to its bytes' % nls_path)

    with open(out_path + '.tmp', 'w') as out:
        out.write('// Generated from the system\'s table of code page 936 (%s); do not edit.\n' % nls_path)
        out.write('constexpr char16_t kNone = 0x%04X;\n' % NONE)
        out.write('constexpr char16_t kSingleByte[256] = {\n')
        for r in range(0, 256, 16):
            out.write(''.join('0x%04X,' % c for c in single[r:r + 16]) + '\n')
        out.write('};\n')
        out.write('// Lead bytes 81 to FE, each with 256 second bytes.\n')
        out.write('constexpr char16_t kDoubleByte[126 * 256] = {\n')
        for r in range(0, len(double), 16):
            out.write(''.join('0x%04X,' % c for c in double[r:r + 16]) + '\n')
        out.write('};\n')
        out.write('// Characters written to bytes that read as no character.\n')
        out.write('constexpr struct { char16_t Char; uint16_t Code; } kWriteOnly[] = {\n')
        for c in sorted(write_only):
            out.write('{0x%04X, 0x%04X},\n' % (c, write_only[c]))
        out.write('};\n')
    os.replace(out_path + '.tmp', out_path)


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit('usage: gen_cp936_table.py NLS OUT')
    main(sys.argv[1], sys.argv[2])
