#pragma once
// Lookup tables for the canonical Huffman codes of DEFLATE. A table is indexed by the next
// bits of the stream (first code bit lowest); codes longer than the root width continue in
// a subtable. Entry layout (32 bits):
//   bits 0-5   bits the symbol takes: its code plus its extra bits (a subtable link: the
//              root width), so one shift consumes a whole length or distance
//   bits 8-11  code length (a subtable link: its index width)
//   bit  12    exceptional: end of block, or no symbol (unused slot of an incomplete code,
//              a length symbol that does not exist)
//   bit  13    subtable link          bit 14  end of block
//   bits 16-30 literal value, length base, distance base (to bit 31) or subtable offset
//   bit  31    literal (literal/length table only)
#include <cstdint>

namespace lumio::huffman {

constexpr uint32_t kExceptional = 0x1000;
constexpr uint32_t kSubtable = 0x2000;
constexpr uint32_t kEndOfBlock = 0x4000;
constexpr uint32_t kLiteral = 0x80000000u;

constexpr unsigned kLitlenRootBits = 11;
constexpr unsigned kDistRootBits = 8;
constexpr unsigned kCodeLengthRootBits = 7;
constexpr unsigned kMaxCodeLength = 15;
constexpr unsigned kMaxLitlenSymbols = 288;
constexpr unsigned kMaxDistSymbols = 32;
// Root table plus one subtable of the largest width per symbol that can need one.
constexpr unsigned kLitlenTableSize = (1u << kLitlenRootBits) + kMaxLitlenSymbols * (1u << (kMaxCodeLength - kLitlenRootBits));
constexpr unsigned kDistTableSize = (1u << kDistRootBits) + kMaxDistSymbols * (1u << (kMaxCodeLength - kDistRootBits));

constexpr unsigned EntryBits(uint32_t e) { return e & 63; }
constexpr unsigned EntryLength(uint32_t e) { return (e >> 8) & 0xF; }
constexpr unsigned EntryExtra(uint32_t e) { return EntryBits(e) - EntryLength(e); }

// The entry a subtable link leads to for the next stream bits (the root's bits not yet taken).
inline uint32_t FollowLink(const uint32_t *table, uint32_t link, uint64_t bits, unsigned rootBits) {
    return table[(link >> 16) + ((bits >> rootBits) & ((1u << EntryLength(link)) - 1))];
}

struct CodeTables {
    uint32_t litlen[kLitlenTableSize];
    uint32_t dist[kDistTableSize];
    unsigned litlenLongest = 0;  // longest code length in use, 0 when the code is empty
    unsigned distLongest = 0;
    unsigned litlenRoot = kLitlenRootBits;  // root width: the longest code, up to the constant
    unsigned distRoot = kDistRootBits;
};

extern const uint8_t kCodeLengthOrder[19];

// Each returns false when the lengths over-subscribe the code space; incomplete codes are
// accepted and their unused slots decode as exceptional entries without end of block.
bool BuildLitlenTable(const uint8_t *lengths, unsigned count, CodeTables &t);
bool BuildDistTable(const uint8_t *lengths, unsigned count, CodeTables &t);
// The code-length code: 19 lengths, codes of at most 7 bits, entry payload = symbol.
bool BuildCodeLengthTable(const uint8_t (&lengths)[19], uint32_t (&table)[1u << kCodeLengthRootBits], unsigned &longest,
                          unsigned &rootBits);

// The fixed codes of block type 1, built once.
const CodeTables &FixedCodeTables();

}  // namespace lumio::huffman
