#include "ini_document.h"

#include "ansi_codepage.h"

namespace {

constexpr std::string_view kNewline = "\r\n";

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

bool SameName(std::string_view a, std::string_view b) {
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

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

} // namespace

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
    l.first = pos;
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

void IniDocument::Reindex() {
    firstHeader_.clear();
    indexed_ = false;
    lookups_ = 0;
}

// Calls f(line) for every header line in file order until f returns true.
template <typename F> void IniDocument::ForEachHeader(F f) const {
    // Headers are found by their "[", which is far rarer than line ends.
    for (size_t p = text_.find('['); p != std::string::npos; p = text_.find('[', p + 1)) {
        size_t start = p;
        while (start > 0 && IsBlank(text_[start - 1])) --start;
        if (start > 0 && text_[start - 1] != '\n' && text_[start - 1] != '\r') continue;
        Line l = LineAt(start);
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
            if (SameName(header, name)) found = l.begin;
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
        if (eq != std::string::npos && SameName(KeyOf(l, eq), key)) return &l;
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
    std::string add;
    if (!text_.empty() && text_.back() != '\n' && text_.back() != '\r') add += kNewline;
    add += '[';
    add += name;
    add += ']';
    add += kNewline;
    add += body;
    Splice(text_.size(), 0, add);
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append("=").append(value).append(kNewline);
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
    if (after->next == after->end) line.insert(0, kNewline); // the line had no ending
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
        if (eq != std::string::npos && ValueOf(l, eq) == value) {
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
    std::string body;
    for (std::string_view l : lines) body.append(l).append(kNewline);
    auto s = FindSection(section);
    if (!s) {
        AppendSection(section, body);
        return true;
    }
    size_t from = s->header.next;
    size_t to = from;
    for (const Line &l : s->body) {
        if (l.first < l.last) to = l.next;
    }
    if (s->header.next == s->header.end) body.insert(0, kNewline);
    if (std::string_view(text_).substr(from, to - from) == body) return false;
    Splice(from, to - from, body);
    return true;
}
