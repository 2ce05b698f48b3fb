#include "section_export.h"

#include "ansi_codepage.h"
#include "ansi_string_ops.h"
#include "rwini.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string Header(std::string_view name) {
    std::string h = "[";
    h.append(name).append("]").append(kCrLf);
    return h;
}

// The value of key in section, cut; an empty section name names no section.
std::string LinkedName(const std::string &rules, std::string_view section, std::string_view key) {
    if (section.find_first_not_of(' ') == std::string_view::npos) return {};
    return TrimIniValue(ReadIniString(section, key, "", rules));
}

struct Renamed {
    std::string OldName, NewName; // the last rename made; empty when none
};

// Asks for new names while name exists; renames it throughout text. False when abandoned.
bool RenameThroughout(const ExportEnv &env, RenameKind kind, std::string name, std::string &text, Renamed &last) {
    while (!name.empty() && env.Exists(name)) {
        std::string answer = env.Ask(RenamePrompt{kind, name, name});
        if (answer.empty()) return false;
        text = AnsiReplaceAll(text, name, answer);
        last = {name, answer};
        name = answer;
    }
    return true;
}

std::string UnitIdOf(std::string_view itemText) { return TrimIniValue(itemText); }

std::optional<std::string> AppendLinked(const ExportEnv &env, const ExportOptions &options, std::string text,
                                        const std::string &unit) {
    if (options.IsWeapon) {
        for (std::string_view key : {"Primary", "Secondary"}) {
            auto next = AppendLinkedSections(env, std::move(text), RenameKind::Weapon, key, options.IsWepCom, unit, "");
            if (!next) return std::nullopt;
            text = std::move(*next);
        }
    }
    if (options.IsWH) {
        std::string primary = LinkedName(env.RulesFile, unit, "Primary");
        std::string secondary = LinkedName(env.RulesFile, unit, "Secondary");
        return AppendLinkedSections(env, std::move(text), RenameKind::Warhead, "Warhead", options.IsWHCom, primary,
                                    secondary);
    }
    return text;
}

// Asks for a new unit name while name exists; nullopt when abandoned.
std::optional<std::string> UnitName(const ExportEnv &env, const ExportOptions &options, std::string name,
                                    const std::string &unit) {
    if (!options.IsNameCom) return name;
    while (env.Exists(name)) {
        std::string answer = env.Ask(RenamePrompt{RenameKind::Unit, name, unit});
        if (answer.empty()) return std::nullopt;
        name = std::move(answer);
    }
    return name;
}

} // namespace

bool ComparisonHasSection(const std::string &comparisonFile, const std::string &name) {
    return ReadSectionCount(name, comparisonFile) > 0;
}

std::u16string RenamePromptText(RenameKind kind, std::u16string_view name) {
    std::u16string text;
    switch (kind) {
    case RenameKind::Unit:
        return text.append(u"注册名：").append(name).append(u"已存在，请修改名称。");
    case RenameKind::Weapon: text = u"武器"; break;
    case RenameKind::Warhead: text = u"弹头"; break;
    }
    return text.append(u"：").append(name).append(u"已存在！请修改名称。");
}

std::u16string RenamePromptTitle(RenameKind kind) {
    switch (kind) {
    case RenameKind::Unit: return u"修改注册名";
    case RenameKind::Weapon: return u"修改武器名称";
    case RenameKind::Warhead: return u"修改弹头名称";
    }
    return {};
}

std::optional<std::string> AppendLinkedSections(const ExportEnv &env, std::string text, RenameKind kind,
                                                std::string_view key, bool rename, std::string_view first,
                                                std::string_view second) {
    std::string v1 = LinkedName(env.RulesFile, first, key);
    if (!v1.empty()) text.append(kCrLf).append(Header(v1)).append(ReadSectionText(v1, env.RulesFile));
    std::string v2 = LinkedName(env.RulesFile, second, key);
    if (!v2.empty() && v2 != v1) text.append(kCrLf).append(Header(v2)).append(ReadSectionText(v2, env.RulesFile));
    if (!rename) return text;

    Renamed r1, r2;
    if (!RenameThroughout(env, kind, v1, text, r1)) return std::nullopt;
    if (!RenameThroughout(env, kind, v2, text, r2)) return std::nullopt;
    // When the first name is part of the second, the first rename has already changed the
    // second's occurrences: find them in their changed form and give them the second's new name.
    std::string changed = AnsiReplaceAll(r2.OldName, r1.OldName, r1.NewName);
    changed = AnsiReplaceAll(changed, r2.OldName, r2.NewName);
    return AnsiReplaceAll(text, changed, r2.NewName);
}

std::optional<std::string> BuildSectionExport(const ExportEnv &env, const ExportOptions &options,
                                              std::string_view itemText) {
    std::string unit = UnitIdOf(itemText);
    std::string lines = ReadSectionText(unit, env.RulesFile);
    auto name = UnitName(env, options, unit, unit);
    if (!name) return std::nullopt;
    return AppendLinked(env, options, Header(*name) + lines, unit);
}

std::optional<std::string> BuildEditedExport(const ExportEnv &env, const ExportOptions &options,
                                             std::string_view editedText, std::string_view itemText) {
    std::string unit = UnitIdOf(itemText);
    // The name in the text's first header: from its second character up to the first "]".
    std::string first;
    size_t close = AnsiFind(editedText, "]");
    if (!editedText.empty() && close != std::string_view::npos) {
        size_t start = IsAnsiLeadByte(static_cast<unsigned char>(editedText[0])) && editedText.size() > 1 ? 2 : 1;
        if (close >= start) first = std::string(editedText.substr(start, close - start));
    }
    auto name = UnitName(env, options, first, unit);
    if (!name) return std::nullopt;
    std::string text = Header(*name) + AnsiReplaceAll(editedText, Header(unit), "");
    return AppendLinked(env, options, std::move(text), unit);
}

std::u16string SafeFileName(std::u16string_view name) {
    std::u16string out(name);
    for (char16_t &c : out) {
        if (c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) c = u'_';
    }
    return out;
}

std::string ExportFileBytes(std::string_view text) {
    std::string bytes(text);
    bytes.append(kCrLf);
    return bytes;
}
