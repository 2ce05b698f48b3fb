#include "rwini.h"

#include "ansi_codepage.h"
#include "ini_document.h"

#include <limits>

namespace {

constexpr uint32_t kValueBuffer = 144;
constexpr uint32_t kSectionBuffer = 32767;
// Sections are read whole: a cut section would be written back cut.
constexpr uint32_t kWholeSection = std::numeric_limits<uint32_t>::max();

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

} // namespace

std::string ReadIniString(std::string_view section, std::string_view key, std::string_view def,
                          const std::string &file) {
    ProfileRead r = ProfileGetString(section, key, "", kValueBuffer, file);
    std::string result = r.count == 0 ? std::string(def) : r.buffer.substr(0, r.buffer.find('\0'));
    // "AeDebug" is never a rules value: it reads as nothing.
    if (result == "AeDebug") result.clear();
    return result;
}

bool WriteIniString(std::string_view section, std::string_view key, std::string_view value, const std::string &file) {
    return ProfileWriteString(section, key, value, file);
}

std::string TrimIniValue(std::string_view s) {
    // Positions count characters of the ANSI code page, not bytes. The first character is
    // never examined; only characters 2 to 41 end the value. A tab ends it as a space does.
    size_t starts[42];
    size_t chars = 0;
    for (size_t b = 0; b < s.size() && chars < 42; ++chars) {
        starts[chars] = b;
        b += IsAnsiLeadByte(static_cast<unsigned char>(s[b])) && b + 1 < s.size() ? 2 : 1;
    }
    for (size_t i = 1; i <= 40 && chars > 0; ++i) {
        size_t at = i < chars ? starts[i] : starts[chars - 1];
        char c = s[at];
        if (c == ' ' || c == '\t' || c == ';' || c == '\0') return std::string(s.substr(0, i < chars ? starts[i] : s.size()));
    }
    return std::string(s);
}

std::string ReadSectionText(std::string_view section, const std::string &file) {
    ProfileRead r = ProfileGetSection(section, kWholeSection, file);
    // The buffer ends in two NULs.
    size_t pair = r.buffer.find(std::string_view("\0\0", 2));
    std::string_view kept = std::string_view(r.buffer).substr(0, pair + 1);
    std::string text;
    text.reserve(kept.size() + kept.size() / 8);
    for (char c : kept) {
        if (c == '\0') {
            text += "\r\n";
        } else {
            text += c;
        }
    }
    return text;
}

std::vector<IniEntry> SplitSectionEntries(std::string_view section, const std::string &file) {
    std::vector<IniEntry> entries(1);
    ProfileRead r = ProfileGetSection(section, kWholeSection, file);
    std::string_view data = std::string_view(r.buffer).substr(0, r.count);
    size_t k = 0;
    while (!data.empty()) {
        size_t nul = data.find('\0');
        std::string_view line = data.substr(0, nul);
        data.remove_prefix(nul == std::string_view::npos ? data.size() : nul + 1);
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view key = TrimBlanks(line.substr(0, eq));
        // A line commented out is no entry, whatever it holds.
        if (!key.empty() && key.front() == ';') continue;
        if (k == entries.size()) entries.emplace_back();
        entries[k].Key = std::string(key);
        entries[k].Value = std::string(RegistryValue(line.substr(eq + 1)));
        ++k;
    }
    return entries;
}

bool DeleteIniKey(std::string_view section, std::string_view key, const std::string &file) {
    return ProfileDeleteKey(section, key, file);
}

int DeleteIniLinesWithValue(std::string_view section, std::string_view value, const std::string &file) {
    return ProfileDeleteLinesWithValue(section, value, file);
}

bool WriteIniSection(std::string_view section, std::string_view entries, const std::string &file) {
    return ProfileWriteSection(section, entries, file);
}

int32_t ReadSectionCount(std::string_view section, const std::string &file) {
    return static_cast<int32_t>(ProfileGetSection(section, kSectionBuffer, file).count);
}
