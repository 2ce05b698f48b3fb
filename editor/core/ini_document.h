#pragma once
// The text of an INI file as the Windows private-profile services see it, read and
// edited in place: an edit replaces only the bytes of the line it concerns, and every
// other byte, line ending and comment of the file stays as it was.
//
// Reading rules: lines end at CR LF, LF or a lone CR; blanks are spaces and tabs.
// A header is a line whose first non-blank character is "[" and that holds a "]"; the
// name lies between the "[" and the first "]" (the game reads "[A];old [B]" as section A).
// A UTF-8 byte-order mark before the first line is no part of it. Section and key names match without
// regard to ASCII letter case, blanks around them ignored; the first section of a name
// wins. A key line holds "=": the key is the text before the first "=", the value the
// text after it, both without surrounding blanks.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A value as the game reads a registry line or a unit ID: cut at the first ";", without
// surrounding blanks.
std::string_view RegistryValue(std::string_view value);

class IniDocument {
public:
    explicit IniDocument(std::string text);

    const std::string &Text() const { return text_; }

    // The value of the first key line of that name in the section, without surrounding
    // blanks and without one pair of matching quotes; nullopt when there is none.
    std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;

    // The section's non-blank lines without surrounding blanks, comment lines and lines
    // without "=" included, in file order; nullopt when the section does not exist.
    std::optional<std::vector<std::string_view>> SectionLines(std::string_view section) const;

    // Edits. Each returns whether the text changed.
    // An existing key keeps its name and the blanks around "="; its value is replaced.
    // A new key goes after the last key line of the section (or after the header);
    // a new section goes at the end of the file. New lines end as the file's first
    // ended line does (CR LF in a file without one).
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    // Deletes every key line of the section whose value as a registry reads it
    // (RegistryValue) is exactly value; lines whose key starts with ";" stay. Returns how many went.
    int DeleteLinesWithValue(std::string_view section, std::string_view value);
    // Replaces the section's non-blank lines; every blank line stays where it is.
    // Lines equal to a present line (blanks around both ignored) keep their bytes and their
    // line end: only the lines that differ are rewritten. A changed line takes the place of
    // the line it replaces; a line added before a kept line K goes directly before K.
    bool ReplaceSection(std::string_view section, const std::vector<std::string_view> &lines);

private:
    struct Line {
        size_t begin = 0; // first byte of the line
        size_t first = 0; // first non-blank byte
        size_t last = 0;  // one past the last non-blank byte
        size_t end = 0;   // one past the content, before the line ending
        size_t next = 0;  // start of the following line
    };
    struct Section {
        Line header;
        std::vector<Line> body; // every line up to the next header
    };

    Line LineAt(size_t pos) const;
    std::optional<std::string_view> HeaderName(const Line &line) const;
    size_t EqualsSign(const Line &line) const; // npos when the line holds no "="
    std::string_view KeyOf(const Line &line, size_t eq) const;
    std::string_view ValueOf(const Line &line, size_t eq) const; // blanks removed, quotes kept
    std::optional<Section> FindSection(std::string_view name) const;
    const Line *FindKey(const Section &s, std::string_view key) const;
    void AppendSection(std::string_view name, std::string_view body);
    void Splice(size_t pos, size_t len, std::string_view with);
    void Reindex();

    template <typename F> void ForEachHeader(F f) const;
    std::optional<size_t> HeaderOffset(std::string_view name) const;

    std::string_view Newline() const;

    std::string text_;
    size_t start_ = 0; // past a UTF-8 byte-order mark
    // Built at the second lookup: a single read only scans up to its section.
    mutable bool indexed_ = false;
    mutable int lookups_ = 0;
    mutable std::unordered_map<std::string, size_t> firstHeader_; // folded name -> header offset
};
