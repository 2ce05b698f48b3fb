#pragma once
// A small string table built in memory: labels with one plain string each.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

inline std::string CsfBytes(const std::vector<std::pair<std::string, std::u16string>> &labels) {
    std::string out;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    out += " FSC";
    u32(3);
    u32(static_cast<uint32_t>(labels.size()));
    u32(static_cast<uint32_t>(labels.size()));
    u32(0);
    u32(0);
    for (const auto &[label, value] : labels) {
        out += " LBL";
        u32(1);
        u32(static_cast<uint32_t>(label.size()));
        out += label;
        out += " RTS";
        u32(static_cast<uint32_t>(value.size()));
        for (char16_t c : value) {
            out.push_back(static_cast<char>(~(c & 0xFF)));
            out.push_back(static_cast<char>(~(c >> 8)));
        }
    }
    return out;
}
