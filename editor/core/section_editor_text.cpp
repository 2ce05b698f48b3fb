#include "section_editor_text.h"

#include "ansi_codepage.h"
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

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Key names as the INI services match them: blanks around ignored, ASCII letter case too.
bool SameKey(std::string_view a, std::string_view b) {
    while (!a.empty() && IsBlank(a.front())) a.remove_prefix(1);
    while (!a.empty() && IsBlank(a.back())) a.remove_suffix(1);
    return AnsiSameName(a, b);
}

// The value of the n-th line (n from 1) whose key is weaponType.
std::optional<std::string> NthKeyValue(std::string_view text, std::string_view weaponType, int n) {
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = pos;
        while (end < text.size() && !IsLineBreak(text[end])) ++end;
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        // "=" is never the second byte of a two-byte character.
        size_t eq = line.find('=');
        if (eq == std::string_view::npos || !SameKey(line.substr(0, eq), weaponType)) continue;
        if (--n > 0) continue;
        std::string_view value = line.substr(eq + 1);
        while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
        return TrimIniValue(value);
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
