// A section of a random rules file written back after a random edit of its lines: every
// byte outside the section's lines stays, the section reads back as written, an unedited
// section leaves the file as it was, every line the edit did not touch keeps its bytes, and
// no blank line of the section is added or dropped.
#include "ini_document.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

struct Line {
    size_t begin, end, next; // content [begin, end), line end up to next
};

std::vector<Line> Lines(std::string_view t, size_t from) {
    std::vector<Line> lines;
    for (size_t pos = from; pos < t.size();) {
        size_t e = t.find_first_of("\r\n", pos);
        if (e == std::string_view::npos) e = t.size();
        size_t n = e == t.size() ? e : (t[e] == '\r' && e + 1 < t.size() && t[e + 1] == '\n') ? e + 2 : e + 1;
        lines.push_back({pos, e, n});
        pos = n;
    }
    return lines;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The header's name folded to lower case, or "\n" when the line is no header.
std::string HeaderName(std::string_view line) {
    line = Trim(line);
    size_t close = line.find(']');
    if (line.empty() || line.front() != '[' || close == std::string_view::npos) return "\n";
    std::string name(Trim(line.substr(1, close - 1)));
    for (char &c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string Text(FuzzedDataProvider &in, size_t max, const char *alphabet, size_t n) {
    std::string s = in.ConsumeRandomLengthString(max);
    for (char &c : s) c = alphabet[static_cast<unsigned char>(c) % n];
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool bom = in.ConsumeBool();
    const std::string target = in.ConsumeBool() ? "a" : "B";
    const int op = in.ConsumeIntegralInRange(0, 3); // keep, replace, delete, insert
    const size_t where = in.ConsumeIntegralInRange<size_t>(0, 64);
    static const char kLine[] = "abAB=;x1 \t[]";
    const std::string added = "k" + Text(in, 8, kLine, sizeof kLine - 1);
    static const char kFile[] = "abAB=;x1 \t[]\r\n\n";
    const std::string file = (bom ? "\xEF\xBB\xBF" : "") + Text(in, 4096, kFile, sizeof kFile - 1);

    // Where the section's lines lie, by the rules the game reads: first header of the name.
    const size_t start = bom ? 3 : 0;
    const auto lines = Lines(file, start);
    std::string folded = target;
    for (char &c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t header = lines.size();
    for (size_t i = 0; i < lines.size() && header == lines.size(); ++i) {
        if (HeaderName(std::string_view(file).substr(lines[i].begin, lines[i].end - lines[i].begin)) == folded)
            header = i;
    }
    std::vector<size_t> body; // non-blank lines of the section, up to the last
    size_t regionBegin = file.size(), regionEnd = file.size();
    if (header < lines.size()) {
        regionBegin = regionEnd = lines[header].next;
        for (size_t i = header + 1; i < lines.size(); ++i) {
            std::string_view l = std::string_view(file).substr(lines[i].begin, lines[i].end - lines[i].begin);
            if (HeaderName(l) != "\n") break;
            if (!Trim(l).empty()) {
                body.push_back(i);
                regionEnd = lines[i].next;
            }
        }
    }

    std::vector<std::string> wanted;
    for (size_t i : body) wanted.emplace_back(Trim(std::string_view(file).substr(lines[i].begin, lines[i].end - lines[i].begin)));
    size_t touched = wanted.size(); // index in body of the line the edit replaced or deleted
    if (op == 1 && !wanted.empty()) {
        touched = where % wanted.size();
        wanted[touched] = added;
    } else if (op == 2 && !wanted.empty()) {
        touched = where % wanted.size();
        wanted.erase(wanted.begin() + static_cast<ptrdiff_t>(touched));
    } else if (op == 3) {
        wanted.insert(wanted.begin() + static_cast<ptrdiff_t>(where % (wanted.size() + 1)), added);
    }

    IniDocument doc(file);
    std::vector<std::string_view> views(wanted.begin(), wanted.end());
    bool changed = doc.ReplaceSection(target, views);
    const std::string &after = doc.Text();
    Check(changed == (after != file));
    if (header < lines.size() && (op == 0 || (op != 3 && body.empty()))) Check(after == file);

    // Outside the section's lines, every byte stays.
    Check(after.compare(0, regionBegin, file, 0, regionBegin) == 0);
    if (header < lines.size()) {
        size_t tail = file.size() - regionEnd;
        Check(after.size() >= tail && after.compare(after.size() - tail, tail, file, regionEnd, tail) == 0);
    }

    // The section reads back as written.
    IniDocument reread(after);
    auto back = reread.SectionLines(target);
    Check(back.has_value());
    std::vector<std::string_view> expected;
    for (std::string_view w : views) {
        if (!Trim(w).empty()) expected.push_back(Trim(w));
    }
    Check(*back == expected);

    // Each untouched line that is the only one of its kind keeps its bytes and line end.
    if (header < lines.size()) {
        std::string_view region = std::string_view(after).substr(regionBegin, after.size() - (file.size() - regionEnd) - regionBegin);
        for (size_t b = 0; b < body.size(); ++b) {
            if (b == touched) continue;
            const Line &l = lines[body[b]];
            std::string_view content = Trim(std::string_view(file).substr(l.begin, l.end - l.begin));
            size_t same = 0;
            for (size_t i : body) same += Trim(std::string_view(file).substr(lines[i].begin, lines[i].end - lines[i].begin)) == content;
            if (same != 1 || content == added) continue;
            std::string_view bytes = std::string_view(file).substr(l.begin, l.next - l.begin);
            Check(region.find(bytes) != std::string_view::npos);
        }
        // A blank line ending in LF that comes to stand after a line ending in a lone CR
        // reads as part of one CR LF ending: such files are left out of the count.
        auto blanks = [](std::string_view t) {
            size_t n = 0;
            for (const Line &l : Lines(t, 0)) n += Trim(t.substr(l.begin, l.end - l.begin)).empty();
            return n;
        };
        auto loneCr = [](std::string_view t, const Line &l) { return l.next == l.end + 1 && t[l.end] == '\r'; };
        std::string_view before = std::string_view(file).substr(regionBegin, regionEnd - regionBegin);
        bool crBeforeLf = false, lfBlank = false;
        for (const Line &l : lines) {
            if (l.next > l.end) {
                crBeforeLf = loneCr(file, l); // new lines end as the first ended line does
                break;
            }
        }
        for (const Line &l : Lines(before, 0)) {
            crBeforeLf |= loneCr(before, l);
            lfBlank |= l.begin == l.end && l.next == l.end + 1 && before[l.end] == '\n';
        }
        if (!(crBeforeLf && lfBlank) && lines[header].next != lines[header].end) Check(blanks(region) == blanks(before));
    }
    return 0;
}
