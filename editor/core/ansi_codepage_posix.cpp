#include "ansi_codepage.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

// Away from Windows there is no ANSI code page; the editor's files are GBK.
bool IsAnsiLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

namespace {

struct IconvCloser {
    void operator()(void *cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using Converter = std::unique_ptr<void, IconvCloser>;

Converter Open(const char *to, const char *from) {
    iconv_t cd = iconv_open(to, from);
    return Converter(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd);
}

// Converts one piece; false when the input holds something the target cannot take.
bool Convert(void *cd, const char *in, size_t inSize, std::string &out, size_t *consumed) {
    iconv(static_cast<iconv_t>(cd), nullptr, nullptr, nullptr, nullptr);
    char buf[4096];
    char *src = const_cast<char *>(in);
    size_t left = inSize;
    while (left > 0) {
        char *dst = buf;
        size_t room = sizeof buf;
        size_t r = iconv(static_cast<iconv_t>(cd), &src, &left, &dst, &room);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            *consumed = inSize - left;
            return false;
        }
    }
    *consumed = inSize;
    return true;
}

} // namespace

std::u16string AnsiToWide(std::string_view bytes) {
    static const Converter cd = Open("UTF-16LE", "GBK");
    std::string utf16;
    while (!bytes.empty()) {
        size_t used = 0;
        bool whole = cd && Convert(cd.get(), bytes.data(), bytes.size(), utf16, &used);
        bytes.remove_prefix(used);
        if (whole) break;
        utf16.append("\xFD\xFF", 2); // U+FFFD for the byte that starts no character
        bytes.remove_prefix(1);
    }
    std::u16string out(utf16.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(utf16[2 * i]) |
                                       static_cast<unsigned char>(utf16[2 * i + 1]) << 8);
    }
    return out;
}

std::optional<std::string> WideToAnsi(std::u16string_view text) {
    static const Converter cd = Open("GBK", "UTF-16LE");
    if (!cd) return std::nullopt;
    std::string utf16;
    utf16.reserve(text.size() * 2);
    for (char16_t c : text) {
        if (c == u'\uFFFD') return std::nullopt;
        utf16.push_back(static_cast<char>(c & 0xFF));
        utf16.push_back(static_cast<char>(c >> 8));
    }
    std::string out;
    size_t used = 0;
    if (!Convert(cd.get(), utf16.data(), utf16.size(), out, &used)) return std::nullopt;
    return out;
}
