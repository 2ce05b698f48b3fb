#pragma once
// Writes DEFLATE bit streams by hand, for streams no compressor would produce.
#include <cstdint>
#include <vector>

class DeflateWriter {
public:
    // Starts with the two zlib header bytes given.
    explicit DeflateWriter(uint8_t cmf = 0x78, uint8_t flg = 0x9C) : bytes_{cmf, flg} {}

    // `count` bits of v, least significant first (header fields, extra bits).
    DeflateWriter &Bits(uint32_t v, int count) {
        for (int i = 0; i < count; ++i)
            Bit((v >> i) & 1);
        return *this;
    }
    // A Huffman code: its bits from the most significant.
    DeflateWriter &Code(uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i)
            Bit((code >> i) & 1);
        return *this;
    }
    DeflateWriter &BlockHeader(bool final, int type) { return Bits(final, 1).Bits(uint32_t(type), 2); }
    // A symbol of the fixed literal/length code (0..287).
    DeflateWriter &Fixed(int sym) {
        if (sym < 144) return Code(uint32_t(0x30 + sym), 8);
        if (sym < 256) return Code(uint32_t(0x190 + sym - 144), 9);
        if (sym < 280) return Code(uint32_t(sym - 256), 7);
        return Code(uint32_t(0xC0 + sym - 280), 8);
    }
    // A fixed-code match: length symbol and extra bits, then distance code and extra bits.
    DeflateWriter &FixedMatch(int length, int distance) {
        static const int lb[29] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const int le[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        static const int db[32] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
        static const int de[32] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
        int i = 28;
        while (lb[i] > length) --i;
        Fixed(257 + i).Bits(uint32_t(length - lb[i]), le[i]);
        int d = 31;
        while (db[d] > distance) --d;
        return Code(uint32_t(d), 5).Bits(uint32_t(distance - db[d]), de[d]);
    }
    DeflateWriter &AlignToByte() {
        while (fill_) Bit(0);
        return *this;
    }
    DeflateWriter &Byte(uint8_t b) { return Bits(b, 8); }
    // The bytes so far; a partial byte is padded with zero bits.
    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out = bytes_;
        if (fill_) out.push_back(acc_);
        return out;
    }

private:
    void Bit(uint32_t b) {
        acc_ |= uint8_t(b << fill_);
        if (++fill_ == 8) {
            bytes_.push_back(acc_);
            acc_ = 0;
            fill_ = 0;
        }
    }
    std::vector<uint8_t> bytes_;
    uint8_t acc_ = 0;
    int fill_ = 0;
};
