#include "ansi_codepage.h"

#include <windows.h>

#include <array>

namespace {

std::array<bool, 256> LoadLeadBytes() {
    std::array<bool, 256> lead{};
    CPINFO info{};
    if (GetCPInfo(CP_ACP, &info)) {
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
            for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) {
                lead[b] = true;
            }
        }
    }
    return lead;
}

// Appends the characters of bytes; false (nothing appended) when a byte forms none.
bool Widen(std::string_view bytes, std::u16string &out) {
    if (bytes.empty()) return true;
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return false;
    size_t at = out.size();
    out.resize(at + static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                        reinterpret_cast<wchar_t *>(out.data() + at), n);
    return true;
}

} // namespace

bool IsAnsiLeadByte(unsigned char b) {
    static const std::array<bool, 256> lead = LoadLeadBytes();
    return lead[b];
}

std::u16string AnsiToWide(std::string_view bytes) {
    std::u16string out;
    if (Widen(bytes, out)) return out;
    // Character by character, so that one stray byte costs only itself.
    for (size_t i = 0; i < bytes.size();) {
        size_t len = IsAnsiLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
        if (!Widen(bytes.substr(i, len), out)) {
            out.push_back(u'\uFFFD');
            len = 1;
        }
        i += len;
    }
    return out;
}

std::optional<std::string> WideToAnsi(std::u16string_view text) {
    if (text.empty()) return std::string();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.data());
    const int size = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    const bool utf8 = GetACP() == CP_UTF8; // takes no default-character flag
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    int n = WideCharToMultiByte(CP_ACP, flags, wide, size, nullptr, 0, nullptr, utf8 ? nullptr : &lossy);
    if (n <= 0 || lossy) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide, size, out.data(), n, nullptr, utf8 ? nullptr : &lossy);
    if (lossy || text.find(u'\uFFFD') != std::u16string_view::npos) return std::nullopt;
    return out;
}
