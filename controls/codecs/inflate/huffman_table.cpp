#include "inflate/huffman_table.h"

#include <algorithm>
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

// The next code of `length` bits in canonical order, both bit-reversed (first code bit
// lowest). Zero once the code space of that length is used up.
inline unsigned NextReversed(unsigned code, unsigned length) {
    unsigned bit = 1u << (length - 1);
    while (code & bit)
        bit >>= 1;
    return bit ? (code & (bit - 1)) | bit : 0;
}

// Entry of a code of `length` bits from a template: value, flags and extra bits.
constexpr uint32_t WithLength(uint32_t tmpl, unsigned length) { return tmpl + length * 0x101u; }

// templates[s]: the entry of symbol s without its code length. The root is as wide as the
// longest code up to rootMax, so the small codes of short blocks build small tables.
bool Build(const uint8_t *lengths, unsigned count, const uint32_t *templates, unsigned rootMax, uint32_t *table,
           unsigned &longest, unsigned &rootBits) {
    unsigned perLength[kMaxCodeLength + 1] = {};
    for (unsigned s = 0; s < count; ++s)
        ++perLength[lengths[s]];
    perLength[0] = 0;
    int left = 1;
    longest = 0;
    unsigned shortest = 0;
    for (unsigned l = 1; l <= kMaxCodeLength; ++l) {
        left = 2 * left - int(perLength[l]);
        if (left < 0)
            return false;
        if (perLength[l]) {
            longest = l;
            if (!shortest)
                shortest = l;
        }
    }
    const unsigned root = std::clamp(longest, 1u, rootMax);
    rootBits = root;
    const unsigned rootSize = 1u << root;

    // Symbols in canonical order: by code length, then by value.
    unsigned start[kMaxCodeLength + 2];
    start[1] = 0;
    for (unsigned l = 1; l <= kMaxCodeLength; ++l)
        start[l + 1] = start[l] + perLength[l];
    uint16_t sorted[kMaxLitlenSymbols];
    {
        unsigned at[kMaxCodeLength + 2];
        std::memcpy(at, start, sizeof at);
        for (unsigned s = 0; s < count; ++s)
            if (lengths[s])
                sorted[at[lengths[s]]++] = uint16_t(s);
    }
    const unsigned used = start[kMaxCodeLength + 1];

    // An incomplete code leaves slots that must read as no symbol; a complete one covers
    // every slot, so the root can be laid down length by length, doubling as it grows.
    unsigned k = 0, code = 0;
    if (left > 0 || longest == 0 || shortest > root) {
        for (unsigned i = 0; i < rootSize; ++i)
            table[i] = kExceptional;
        for (unsigned l = 1; l <= std::min(longest, root); ++l)
            for (unsigned n = 0; n < perLength[l]; ++n, ++k) {
                for (unsigned i = code; i < rootSize; i += 1u << l)
                    table[i] = WithLength(templates[sorted[k]], l);
                code = NextReversed(code, l);
            }
    } else {
        unsigned size = 1u << shortest;
        for (unsigned l = shortest;; ++l) {
            for (unsigned n = 0; n < perLength[l]; ++n, ++k) {
                table[code] = WithLength(templates[sorted[k]], l);
                code = NextReversed(code, l);
            }
            if (l == root)
                break;
            std::memcpy(table + size, table, size * sizeof *table);
            size *= 2;
        }
    }
    if (k == used)
        return true;

    // Codes longer than the root continue in subtables, one per root prefix in use. Codes
    // under one prefix follow each other in canonical order; the subtable is as wide as the
    // code space left under the prefix needs (the remaining codes of each length fill it).
    unsigned remaining[kMaxCodeLength + 1];
    std::memcpy(remaining, perLength, sizeof remaining);
    unsigned offset = rootSize;
    unsigned prefix = ~0u, width = 0;
    uint32_t *sub = nullptr;
    for (unsigned l = root + 1; l <= longest; ++l) {
        for (unsigned n = 0; n < perLength[l]; ++n, ++k) {
            if ((code & (rootSize - 1)) != prefix) {
                prefix = code & (rootSize - 1);
                width = l - root;
                int space = 1 << width;
                while (root + width < longest) {
                    space -= int(remaining[root + width]);
                    if (space <= 0)
                        break;
                    ++width;
                    space *= 2;
                }
                table[prefix] = kSubtable | (offset << 16) | (width << 8) | root;
                sub = table + offset;
                if (left > 0)
                    for (unsigned i = 0; i < (1u << width); ++i)
                        sub[i] = kExceptional;
                offset += 1u << width;
            }
            for (unsigned i = code >> root; i < (1u << width); i += 1u << (l - root))
                sub[i] = WithLength(templates[sorted[k]], l);
            --remaining[l];
            code = NextReversed(code, l);
        }
    }
    return true;
}

struct Templates {
    uint32_t litlen[kMaxLitlenSymbols] = {};
    uint32_t dist[kMaxDistSymbols] = {};
    uint32_t codeLength[19] = {};
    constexpr Templates() {
        for (unsigned s = 0; s < 256; ++s)
            litlen[s] = kLiteral | (s << 16);
        litlen[256] = kExceptional | kEndOfBlock;
        for (unsigned s = 257; s < 286; ++s)
            litlen[s] = (uint32_t(kLengthBase[s - 257]) << 16) | kLengthExtra[s - 257];
        litlen[286] = litlen[287] = kExceptional;
        for (unsigned s = 0; s < 32; ++s)
            dist[s] = (kDistBase[s] << 16) | kDistExtra[s];
        for (unsigned s = 0; s < 19; ++s)
            codeLength[s] = s << 16;
    }
};

constexpr Templates kTemplates;

}  // namespace

bool BuildLitlenTable(const uint8_t *lengths, unsigned count, CodeTables &t) {
    return Build(lengths, count, kTemplates.litlen, kLitlenRootBits, t.litlen, t.litlenLongest, t.litlenRoot);
}

bool BuildDistTable(const uint8_t *lengths, unsigned count, CodeTables &t) {
    return Build(lengths, count, kTemplates.dist, kDistRootBits, t.dist, t.distLongest, t.distRoot);
}

bool BuildCodeLengthTable(const uint8_t (&lengths)[19], uint32_t (&table)[1u << kCodeLengthRootBits],
                          unsigned &longest, unsigned &rootBits) {
    return Build(lengths, 19, kTemplates.codeLength, kCodeLengthRootBits, table, longest, rootBits);
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
