#include "ini_lines.h"

#include "ansi_codepage.h"
#include "file_replace.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace {

struct Line {
    std::string_view Text; // without its line break
    std::string_view Break;
};

std::vector<Line> SplitLines(std::string_view data) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < data.size()) {
        size_t end = data.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back({data.substr(pos), {}});
            break;
        }
        size_t brk = (data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n') ? 2 : 1;
        lines.push_back({data.substr(pos, end - pos), data.substr(end, brk)});
        pos = end + brk;
    }
    return lines;
}

std::string_view Trim(std::string_view s, std::string_view blanks) {
    size_t b = s.find_first_not_of(blanks);
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(blanks);
    return s.substr(b, e - b + 1);
}

std::optional<std::string_view> HeaderName(std::string_view line) {
    std::string_view t = Trim(line, " \t");
    if (t.empty() || t.front() != '[') return std::nullopt;
    // The last "]" that is not the second byte of a two-byte character closes the name.
    size_t close = std::string_view::npos;
    for (size_t i = 1; i < t.size(); ++i) {
        if (IsAnsiLeadByte(static_cast<unsigned char>(t[i])) && i + 1 < t.size()) ++i;
        else if (t[i] == ']') close = i;
    }
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1), " \t");
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

std::optional<std::string> ReadWhole(const std::string &file) {
    std::FILE *f = std::fopen(file.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) return std::nullopt;
    return data;
}

bool WriteWhole(const std::string &file, const std::string &data) {
    std::string tmp = file + ".qvn~";
    std::FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = ReplaceFileWith(tmp, file);
    if (!ok) std::remove(tmp.c_str());
    return ok;
}

// Index range [first, last) of the body lines of the first matching section.
struct Body {
    size_t First;
    size_t Last;
};

std::optional<Body> FindSection(const std::vector<Line> &lines, std::string_view section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = HeaderName(lines[i].Text);
        if (!name || !SameName(*name, section)) continue;
        size_t j = i + 1;
        while (j < lines.size() && !HeaderName(lines[j].Text)) ++j;
        return Body{i + 1, j};
    }
    return std::nullopt;
}

} // namespace

int RemoveSectionLinesWithValue(std::string_view section, std::string_view value, const std::string &file) {
    auto data = ReadWhole(file);
    if (!data) return 0;
    auto lines = SplitLines(*data);
    auto body = FindSection(lines, section);
    if (!body) return 0;
    std::string out;
    out.reserve(data->size());
    int removed = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i >= body->First && i < body->Last) {
            size_t eq = lines[i].Text.find('=');
            if (eq != std::string_view::npos && Trim(lines[i].Text.substr(eq + 1), " \t") == value) {
                ++removed;
                continue;
            }
        }
        out.append(lines[i].Text).append(lines[i].Break);
    }
    if (removed == 0) return 0;
    return WriteWhole(file, out) ? removed : -1;
}
