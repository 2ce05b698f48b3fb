#include "cp936.h"

#include <array>
#include <cstdint>

namespace {

#include "cp936_table.inc"

char16_t PairChar(unsigned char lead, unsigned char trail) {
    return kDoubleByte[(lead - 0x81u) * 256u + trail];
}

// Character -> its bytes (one byte below 0x100), 0 for none; ASCII is not held.
const std::array<uint16_t, 0x10000> &CodeOfChar() {
    static const auto table = [] {
        std::array<uint16_t, 0x10000> t{};
        for (unsigned b = 0x80; b < 0x100; ++b) {
            if (kSingleByte[b] != kNone) t[kSingleByte[b]] = static_cast<uint16_t>(b);
        }
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0; trail < 0x100; ++trail) {
                char16_t c = PairChar(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
                if (c != kNone) t[c] = static_cast<uint16_t>(lead << 8 | trail);
            }
        }
        for (const auto &w : kWriteOnly) t[w.Char] = w.Code;
        return t;
    }();
    return table;
}

} // namespace

bool IsCp936LeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

std::u16string Cp936ToWide(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (IsCp936LeadByte(b) && i + 1 < bytes.size()) {
            char16_t c = PairChar(b, static_cast<unsigned char>(bytes[i + 1]));
            if (c != kNone) {
                out.push_back(c);
                ++i;
                continue;
            }
        }
        // A lead byte whose pair forms nothing costs only itself.
        out.push_back(kSingleByte[b] != kNone ? kSingleByte[b] : u'\uFFFD');
    }
    return out;
}

std::optional<std::string> WideToCp936(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        uint16_t code = CodeOfChar()[c];
        if (code == 0) return std::nullopt;
        if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
    }
    return out;
}
