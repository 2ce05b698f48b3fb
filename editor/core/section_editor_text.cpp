#include "section_editor_text.h"

#include "ansi_string_ops.h"
#include "rwini.h"

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string KeyValue(const std::string &rules, std::string_view section, std::string_view key) {
    if (section.empty()) return {};
    return TrimIniValue(ReadIniString(section, key, "", rules));
}

void AppendSection(std::string &text, const std::string &rules, const std::string &name) {
    std::string lines = ReadSectionText(name, rules);
    if (lines.empty()) return;
    text.append("\r\n[").append(name).append("]\r\n").append(lines);
}

// The value after the n-th line start (n from 1) that reads key "=".
std::optional<std::string> NthKeyValue(std::string_view text, std::string_view weaponType, int n) {
    std::string key(weaponType);
    key += '=';
    for (size_t pos = AnsiFind(text, key); pos != std::string_view::npos; pos = AnsiFind(text, key, pos + 1)) {
        // A key counts only at the start of a line, not at the end of a longer key.
        if (pos != 0 && !IsLineBreak(text[pos - 1])) continue;
        if (--n > 0) continue;
        size_t begin = pos + key.size();
        size_t end = begin;
        while (end < text.size() && !IsLineBreak(text[end])) ++end;
        return TrimIniValue(text.substr(begin, end - begin));
    }
    return std::nullopt;
}

} // namespace

std::string BuildEditorText(const std::string &rulesFile, std::string_view itemText, bool withWeapons,
                            bool withWarheads) {
    std::string id = TrimIniValue(itemText);
    std::string text = "[" + id + "]\r\n" + ReadSectionText(id, rulesFile);
    if (!withWeapons) return text;
    std::string primary = KeyValue(rulesFile, id, "Primary");
    std::string secondary = KeyValue(rulesFile, id, "Secondary");
    if (!primary.empty()) AppendSection(text, rulesFile, primary);
    // Shown once: the save could not tell two copies apart.
    if (!secondary.empty() && secondary != primary) AppendSection(text, rulesFile, secondary);
    if (!withWarheads) return text;
    std::string w1 = KeyValue(rulesFile, primary, "Warhead");
    std::string w2 = KeyValue(rulesFile, secondary, "Warhead");
    if (!w1.empty()) AppendSection(text, rulesFile, w1);
    if (!w2.empty() && w2 != w1) AppendSection(text, rulesFile, w2);
    return text;
}

std::optional<std::string> GetWeaponName(std::string_view totalData, std::string_view weaponType) {
    return NthKeyValue(totalData, weaponType, 1);
}

std::optional<std::string> GetDoubleWeaponName(std::string_view totalData, std::string_view weaponType) {
    return NthKeyValue(totalData, weaponType, 2);
}
