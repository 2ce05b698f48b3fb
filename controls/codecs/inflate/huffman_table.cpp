#include "inflate/huffman_table.h"

#include <cstring>

namespace lumio::huffman {

const uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

namespace {

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
// Codes 30 and 31 are accepted and reach back as far as 65536 bytes.
constexpr uint32_t kDistBase[32] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
                                    49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
                                    2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr uint8_t kDistExtra[32] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,  6,
                                    7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

unsigned Reverse(unsigned code, unsigned length) {
    unsigned r = 0;
    for (unsigned i = 0; i < length; ++i) {
        r = (r << 1) | (code & 1);
        code >>= 1;
    }
    return r;
}

// templates[s]: the entry of symbol s without its code length.
bool Build(const uint8_t *lengths, unsigned count, const uint32_t *templates, unsigned rootBits, uint32_t *table,
           unsigned &longest) {
    unsigned perLength[kMaxCodeLength + 1] = {};
    for (unsigned s = 0; s < count; ++s)
        ++perLength[lengths[s]];
    perLength[0] = 0;
    int left = 1;
    longest = 0;
    for (unsigned l = 1; l <= kMaxCodeLength; ++l) {
        left = 2 * left - int(perLength[l]);
        if (left < 0)
            return false;
        if (perLength[l])
            longest = l;
    }
    unsigned next[kMaxCodeLength + 2] = {};
    for (unsigned l = 1, code = 0; l <= kMaxCodeLength; ++l) {
        code = (code + perLength[l - 1]) << 1;
        next[l] = code;
    }

    const unsigned rootSize = 1u << rootBits;
    for (unsigned i = 0; i < rootSize; ++i)
        table[i] = kExceptional;

    // Codes longer than the root width: the widest code under each root prefix sets the
    // width of that prefix's subtable.
    unsigned longRev[kMaxLitlenSymbols], longSym[kMaxLitlenSymbols], nLong = 0;
    uint8_t subWidth[1u << kLitlenRootBits] = {};
    for (unsigned s = 0; s < count; ++s) {
        const unsigned len = lengths[s];
        if (!len)
            continue;
        const unsigned rev = Reverse(next[len]++, len);
        if (len <= rootBits) {
            for (unsigned i = rev; i < rootSize; i += 1u << len)
                table[i] = templates[s] | len;
        } else {
            longRev[nLong] = rev;
            longSym[nLong++] = s;
            uint8_t &w = subWidth[rev & (rootSize - 1)];
            if (len - rootBits > w)
                w = uint8_t(len - rootBits);
        }
    }
    unsigned offset = rootSize;
    for (unsigned k = 0; k < nLong; ++k) {
        const unsigned prefix = longRev[k] & (rootSize - 1);
        uint32_t &link = table[prefix];
        if (!(link & kSubtable)) {
            const unsigned width = subWidth[prefix];
            link = kSubtable | (offset << 16) | (width << 8) | rootBits;
            for (unsigned i = 0; i < (1u << width); ++i)
                table[offset + i] = kExceptional;
            offset += 1u << width;
        }
        const unsigned width = EntryExtra(link);
        uint32_t *sub = table + (link >> 16);
        const unsigned len = lengths[longSym[k]];
        for (unsigned i = longRev[k] >> rootBits; i < (1u << width); i += 1u << (len - rootBits))
            sub[i] = templates[longSym[k]] | len;
    }
    return true;
}

struct Templates {
    uint32_t litlen[kMaxLitlenSymbols];
    uint32_t dist[kMaxDistSymbols];
    uint32_t codeLength[19];
    Templates() {
        for (unsigned s = 0; s < 256; ++s)
            litlen[s] = kLiteral | (s << 16);
        litlen[256] = kExceptional | kEndOfBlock;
        for (unsigned s = 257; s < 286; ++s)
            litlen[s] = (uint32_t(kLengthBase[s - 257]) << 16) | (uint32_t(kLengthExtra[s - 257]) << 8);
        litlen[286] = litlen[287] = kExceptional;
        for (unsigned s = 0; s < 32; ++s)
            dist[s] = (kDistBase[s] << 16) | (uint32_t(kDistExtra[s]) << 8);
        for (unsigned s = 0; s < 19; ++s)
            codeLength[s] = s << 16;
    }
};

const Templates &Tmpl() {
    static const Templates t;
    return t;
}

}  // namespace

bool BuildLitlenTable(const uint8_t *lengths, unsigned count, CodeTables &t) {
    return Build(lengths, count, Tmpl().litlen, kLitlenRootBits, t.litlen, t.litlenLongest);
}

bool BuildDistTable(const uint8_t *lengths, unsigned count, CodeTables &t) {
    return Build(lengths, count, Tmpl().dist, kDistRootBits, t.dist, t.distLongest);
}

bool BuildCodeLengthTable(const uint8_t (&lengths)[19], uint32_t (&table)[1u << kCodeLengthRootBits],
                          unsigned &longest) {
    return Build(lengths, 19, Tmpl().codeLength, kCodeLengthRootBits, table, longest);
}

const CodeTables &FixedCodeTables() {
    static const CodeTables *fixed = [] {
        auto *t = new CodeTables;
        uint8_t lengths[kMaxLitlenSymbols + kMaxDistSymbols];
        std::memset(lengths, 8, 144);
        std::memset(lengths + 144, 9, 112);
        std::memset(lengths + 256, 7, 24);
        std::memset(lengths + 280, 8, 8);
        std::memset(lengths + 288, 5, 32);
        BuildLitlenTable(lengths, 288, *t);
        BuildDistTable(lengths + 288, 32, *t);
        return t;
    }();
    return *fixed;
}

}  // namespace lumio::huffman
