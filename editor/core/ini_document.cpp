#include "ini_document.h"

#include "ansi_codepage.h"
#include "ansi_string_ops.h"
#include "line_diff.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Letter case is folded only outside two-byte characters, whose second byte may be a letter.
std::string FoldName(std::string_view s) {
    std::string out(s);
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsAnsiLeadByte(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
            ++i;
        } else {
            out[i] = LowerAscii(out[i]);
        }
    }
    return out;
}

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

} // namespace

std::string_view RegistryValue(std::string_view value) {
    // ";" is never the second byte of a two-byte character.
    return TrimBlanks(value.substr(0, value.find(';')));
}

IniDocument::IniDocument(std::string text) : text_(std::move(text)) { Reindex(); }

IniDocument::Line IniDocument::LineAt(size_t pos) const {
    Line l;
    l.begin = pos;
    size_t n = text_.size();
    size_t e = pos;
    while (e < n && text_[e] != '\n' && text_[e] != '\r') ++e;
    l.end = e;
    l.next = e;
    if (e < n) l.next = (text_[e] == '\r' && e + 1 < n && text_[e + 1] == '\n') ? e + 2 : e + 1;
    l.first = pos < start_ ? start_ : pos;
    while (l.first < e && IsBlank(text_[l.first])) ++l.first;
    l.last = e;
    while (l.last > l.first && IsBlank(text_[l.last - 1])) --l.last;
    return l;
}

std::optional<std::string_view> IniDocument::HeaderName(const Line &line) const {
    if (line.first == line.last || text_[line.first] != '[') return std::nullopt;
    size_t close = std::string::npos;
    for (size_t i = line.first + 1; i < line.last; ++i) {
        if (IsAnsiLeadByte(static_cast<unsigned char>(text_[i])) && i + 1 < line.last) {
            ++i;
        } else if (text_[i] == ']') {
            close = i;
            break;
        }
    }
    if (close == std::string::npos) return std::nullopt;
    return TrimBlanks(std::string_view(text_).substr(line.first + 1, close - line.first - 1));
}

size_t IniDocument::EqualsSign(const Line &line) const {
    // "=" never occurs as the second byte of a two-byte character.
    size_t eq = std::string_view(text_).substr(line.first, line.last - line.first).find('=');
    return eq == std::string_view::npos ? std::string::npos : line.first + eq;
}

std::string_view IniDocument::KeyOf(const Line &line, size_t eq) const {
    return TrimBlanks(std::string_view(text_).substr(line.first, eq - line.first));
}

std::string_view IniDocument::ValueOf(const Line &line, size_t eq) const {
    return TrimBlanks(std::string_view(text_).substr(eq + 1, line.last - eq - 1));
}

std::string_view IniDocument::Newline() const {
    size_t e = text_.find_first_of("\r\n");
    if (e == std::string::npos) return "\r\n";
    if (text_[e] == '\n') return "\n";
    return e + 1 < text_.size() && text_[e + 1] == '\n' ? "\r\n" : "\r";
}

void IniDocument::Reindex() {
    start_ = std::string_view(text_).substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    firstHeader_.clear();
    indexed_ = false;
    lookups_ = 0;
}

// Calls f(line) for every header line in file order until f returns true.
template <typename F> void IniDocument::ForEachHeader(F f) const {
    // Headers are found by their "[", which is far rarer than line ends.
    for (size_t p = text_.find('['); p != std::string::npos; p = text_.find('[', p + 1)) {
        size_t start = p;
        while (start > start_ && IsBlank(text_[start - 1])) --start;
        if (start > start_ && text_[start - 1] != '\n' && text_[start - 1] != '\r') continue;
        Line l = LineAt(start == start_ ? 0 : start);
        if (auto name = HeaderName(l)) {
            if (f(l, *name)) return;
        }
        p = l.end;
    }
}

std::optional<size_t> IniDocument::HeaderOffset(std::string_view name) const {
    name = TrimBlanks(name);
    std::optional<size_t> found;
    if (!indexed_ && lookups_++ == 0) {
        ForEachHeader([&](const Line &l, std::string_view header) {
            if (AnsiSameName(header, name)) found = l.begin;
            return found.has_value();
        });
        return found;
    }
    if (!indexed_) {
        ForEachHeader([&](const Line &l, std::string_view header) {
            firstHeader_.emplace(FoldName(header), l.begin);
            return false;
        });
        indexed_ = true;
    }
    auto it = firstHeader_.find(FoldName(name));
    if (it != firstHeader_.end()) found = it->second;
    return found;
}

std::optional<IniDocument::Section> IniDocument::FindSection(std::string_view name) const {
    auto at = HeaderOffset(name);
    if (!at) return std::nullopt;
    Section s;
    s.header = LineAt(*at);
    for (size_t pos = s.header.next; pos < text_.size();) {
        Line l = LineAt(pos);
        if (HeaderName(l)) break;
        s.body.push_back(l);
        pos = l.next;
    }
    return s;
}

const IniDocument::Line *IniDocument::FindKey(const Section &s, std::string_view key) const {
    key = TrimBlanks(key);
    for (const Line &l : s.body) {
        size_t eq = EqualsSign(l);
        if (eq != std::string::npos && AnsiSameName(KeyOf(l, eq), key)) return &l;
    }
    return nullptr;
}

std::optional<std::string_view> IniDocument::Value(std::string_view section, std::string_view key) const {
    auto s = FindSection(section);
    if (!s) return std::nullopt;
    const Line *l = FindKey(*s, key);
    if (!l) return std::nullopt;
    return Unquote(ValueOf(*l, EqualsSign(*l)));
}

std::optional<std::vector<std::string_view>> IniDocument::SectionLines(std::string_view section) const {
    auto s = FindSection(section);
    if (!s) return std::nullopt;
    std::vector<std::string_view> lines;
    for (const Line &l : s->body) {
        if (l.first < l.last) lines.push_back(std::string_view(text_).substr(l.first, l.last - l.first));
    }
    return lines;
}

void IniDocument::Splice(size_t pos, size_t len, std::string_view with) {
    text_.replace(pos, len, with);
    Reindex();
}

void IniDocument::AppendSection(std::string_view name, std::string_view body) {
    std::string_view nl = Newline();
    std::string add;
    if (text_.size() > start_ && text_.back() != '\n' && text_.back() != '\r') add += nl;
    add += '[';
    add += name;
    add += ']';
    add += nl;
    add += body;
    Splice(text_.size(), 0, add);
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    std::string_view nl = Newline();
    line.append(key).append("=").append(value).append(nl);
    auto s = FindSection(section);
    if (!s) {
        AppendSection(section, line);
        return true;
    }
    if (const Line *l = FindKey(*s, key)) {
        size_t from = EqualsSign(*l) + 1;
        size_t valueStart = from;
        while (valueStart < l->end && IsBlank(text_[valueStart])) ++valueStart;
        if (valueStart < l->end) from = valueStart;
        if (std::string_view(text_).substr(from, l->end - from) == value) return false;
        Splice(from, l->end - from, value);
        return true;
    }
    const Line *after = &s->header;
    for (const Line &l : s->body) {
        if (EqualsSign(l) != std::string::npos) after = &l;
    }
    if (after->next == after->end) line.insert(0, nl); // the line had no ending
    Splice(after->next, 0, line);
    return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    auto s = FindSection(section);
    if (!s) return false;
    const Line *l = FindKey(*s, key);
    if (!l) return false;
    Splice(l->begin, l->next - l->begin, {});
    return true;
}

int IniDocument::DeleteLinesWithValue(std::string_view section, std::string_view value) {
    auto s = FindSection(section);
    if (!s || s->body.empty()) return 0;
    std::string kept;
    int removed = 0;
    for (const Line &l : s->body) {
        size_t eq = EqualsSign(l);
        if (eq != std::string::npos && KeyOf(l, eq).substr(0, 1) != ";" && RegistryValue(ValueOf(l, eq)) == value) {
            ++removed;
        } else {
            kept.append(text_, l.begin, l.next - l.begin);
        }
    }
    if (removed == 0) return 0;
    size_t from = s->body.front().begin;
    Splice(from, s->body.back().next - from, kept);
    return removed;
}

bool IniDocument::ReplaceSection(std::string_view section, const std::vector<std::string_view> &lines) {
    const std::string nl(Newline());
    auto s = FindSection(section);
    if (!s) {
        std::string body;
        for (std::string_view l : lines) body.append(l).append(nl);
        AppendSection(section, body);
        return true;
    }
    // The lines replaced: up to the last non-blank one.
    size_t count = 0;
    for (size_t i = 0; i < s->body.size(); ++i) {
        if (s->body[i].first < s->body[i].last) count = i + 1;
    }
    std::vector<std::string_view> present, wanted;
    std::vector<size_t> presentAt; // region index of each present line
    for (size_t i = 0; i < count; ++i) {
        const Line &l = s->body[i];
        if (l.first == l.last) continue;
        present.push_back(std::string_view(text_).substr(l.first, l.last - l.first));
        presentAt.push_back(i);
    }
    for (std::string_view l : lines) wanted.push_back(TrimBlanks(l));
    auto match = MatchLines(present, wanted, [](std::string_view a, std::string_view b) { return a == b; });

    // Where each run of new lines goes: where the first present line it replaces stood,
    // or else directly before the next kept line (after the blank lines in front of it).
    // Blank lines are not the user's to edit: they all stay where they are.
    std::vector<bool> kept(present.size(), false);
    for (ptrdiff_t m : match) {
        if (m >= 0) kept[static_cast<size_t>(m)] = true;
    }
    std::vector<std::vector<size_t>> insertBefore(count + 1);
    size_t j = 0, k = 0; // next wanted line, next present line
    for (;;) {
        size_t runEnd = j;
        while (runEnd < wanted.size() && match[runEnd] < 0) ++runEnd;
        size_t nextKept = runEnd < wanted.size() ? static_cast<size_t>(match[runEnd]) : present.size();
        // The present lines in between are all replaced.
        size_t at = k < nextKept ? presentAt[k] : nextKept < present.size() ? presentAt[nextKept] : count;
        for (size_t n = j; n < runEnd; ++n) insertBefore[at].push_back(n);
        if (runEnd == wanted.size()) break;
        j = runEnd + 1;
        k = nextKept + 1;
    }

    std::string out;
    bool needNewline = s->header.next == s->header.end; // a header at the end of the file
    auto put = [&](std::string_view bytes, bool ended) {
        if (needNewline) out += nl;
        out += bytes;
        needNewline = !ended;
    };
    for (size_t i = 0, p = 0; i <= count; ++i) {
        for (size_t n : insertBefore[i]) {
            put(lines[n], false);
            needNewline = false;
            out += nl;
        }
        if (i == count) break;
        const Line &l = s->body[i];
        bool blank = l.first == l.last;
        if (blank || kept[p]) put(std::string_view(text_).substr(l.begin, l.next - l.begin), l.next != l.end);
        if (!blank) ++p;
    }
    size_t from = s->header.next;
    size_t to = count > 0 ? s->body[count - 1].next : from;
    if (std::string_view(text_).substr(from, to - from) == out) return false;
    Splice(from, to - from, out);
    return true;
}
