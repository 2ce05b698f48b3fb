#include "csf_parser.h"

namespace {

constexpr uint32_t kFileMagic = 0x43534620;   // " FSC"
constexpr uint32_t kLabelMagic = 0x4C424C20;  // " LBL"
constexpr uint32_t kExtraMagic = 0x53545257;  // "WRTS": a string with an extra value

// Reads little-endian fields; past the end of the data every read yields nothing.
class ByteReader {
public:
    ByteReader(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    size_t Remaining() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ == size_; }
    // Whether a read wanted more than the data held.
    bool Short() const { return short_; }

    uint32_t U32() {
        short_ = short_ || Remaining() < 4;
        uint32_t v = 0;
        for (int i = 0; i < 4 && pos_ < size_; ++i) v |= static_cast<uint32_t>(data_[pos_++]) << (8 * i);
        return v;
    }

    // Each byte becomes the character of the same code.
    std::u16string Widened(uint64_t length) {
        short_ = short_ || length > Remaining();
        size_t n = static_cast<size_t>(length < Remaining() ? length : Remaining());
        std::u16string s(data_ + pos_, data_ + pos_ + n);
        pos_ += n;
        return s;
    }

    // UTF-16 little-endian code units stored with every byte inverted.
    std::u16string Inverted(uint64_t units) {
        uint64_t bytes = units * 2; // units < 2^32: no overflow
        short_ = short_ || bytes > Remaining();
        size_t n = static_cast<size_t>(bytes < Remaining() ? bytes : Remaining());
        std::u16string s;
        s.reserve(n / 2);
        for (size_t i = 0; i + 1 < n; i += 2) {
            uint8_t lo = static_cast<uint8_t>(~data_[pos_ + i]);
            uint8_t hi = static_cast<uint8_t>(~data_[pos_ + i + 1]);
            s.push_back(static_cast<char16_t>(hi << 8 | lo));
        }
        pos_ += n;
        return s;
    }

private:
    const uint8_t *data_;
    size_t size_;
    size_t pos_ = 0;
    bool short_ = false;
};

} // namespace

bool ParseCsf(const uint8_t *data, size_t size, std::vector<CsfEntry> &table, int32_t &labelCount, bool *whole) {
    ByteReader in(data, size);
    if (whole) *whole = false;
    if (in.U32() != kFileMagic) return false;
    in.U32(); // version
    uint32_t labels = in.U32();
    in.U32(); // string count
    in.U32(); // reserved
    in.U32(); // language

    std::vector<CsfEntry> read;
    // Every label step takes at least four bytes, which bounds what a count can make us reserve.
    uint64_t possible = in.Remaining() / 4;
    read.reserve(static_cast<size_t>(labels < possible ? labels : possible) + 1);
    uint32_t i = 0;
    for (; i < labels && !in.AtEnd(); ++i) {
        CsfEntry &e = read.emplace_back();
        // Any other id is one four-byte step; the entry stays blank.
        if (in.U32() != kLabelMagic) continue;
        uint32_t strings = in.U32();
        uint32_t nameLength = in.U32();
        e.Label = in.Widened(nameLength);
        // One string per label: further strings of a label are read as the next labels' steps.
        if (strings % 2 == 1) {
            uint32_t id = in.U32();
            uint32_t units = in.U32();
            e.Value = in.Inverted(units);
            if (id == kExtraMagic) e.ExtraValue = in.Widened(in.U32());
        }
    }
    if (whole) *whole = i == labels && !in.Short();
    read.emplace_back();
    table = std::move(read);
    labelCount = static_cast<int32_t>(table.size() - 1);
    return true;
}
