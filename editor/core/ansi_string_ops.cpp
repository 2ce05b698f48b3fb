#include "ansi_string_ops.h"

#include "ansi_codepage.h"

namespace {

size_t CharLength(std::string_view text, size_t pos) {
    return IsAnsiLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

size_t AnsiFind(std::string_view text, std::string_view needle, size_t from) {
    if (from > text.size()) return std::string_view::npos;
    size_t boundary = from;
    for (size_t pos = text.find(needle, from); pos != std::string_view::npos; pos = text.find(needle, pos + 1)) {
        while (boundary < pos) boundary += CharLength(text, boundary);
        if (boundary == pos) return pos;
    }
    return std::string_view::npos;
}

std::string AnsiReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
    if (what.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    size_t done = 0;
    for (size_t pos = AnsiFind(text, what); pos != std::string_view::npos; pos = AnsiFind(text, what, done)) {
        out.append(text.substr(done, pos - done)).append(with);
        done = pos + what.size();
    }
    out.append(text.substr(done));
    return out;
}

size_t AnsiCharCount(std::string_view text) {
    size_t n = 0;
    for (size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) ++n;
    return n;
}

bool AnsiSameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsAnsiLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}
