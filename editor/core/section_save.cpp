#include "section_save.h"

#include "ansi_codepage.h"
#include "ansi_string_ops.h"
#include "rwini.h"
#include "section_editor_text.h"

#include <optional>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Lines end at CR LF, LF, a lone CR or NUL: whatever the file would later read as a line end.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n' && text[i] != '\0') continue;
        lines.push_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return lines;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Position of the first "]" of its own (not the second byte of a character), npos when none.
size_t FirstBracket(std::string_view s) {
    for (size_t pos = 0; pos < s.size(); ++pos) {
        if (IsAnsiLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) {
            ++pos;
        } else if (s[pos] == ']') {
            return pos;
        }
    }
    return std::string_view::npos;
}

struct Block {
    std::optional<std::string> Name; // none: the lines before the first header
    bool Valid = true;               // a header line holding "]": the name runs to the first one
    std::vector<std::string> Lines;
};

std::vector<Block> CutBlocks(std::string_view text) {
    std::vector<Block> blocks(1);
    for (std::string_view line : SplitLines(text)) {
        std::string_view t = TrimBlanks(line);
        if (t.empty()) continue;
        if (t.front() == '[') {
            Block b;
            size_t close = FirstBracket(t.substr(1));
            b.Valid = close != std::string_view::npos;
            b.Name = b.Valid ? std::string(TrimBlanks(t.substr(1, close))) : std::string(t);
            blocks.push_back(std::move(b));
        } else {
            blocks.back().Lines.emplace_back(line);
        }
    }
    return blocks;
}

std::string Stored(const std::string &rules, std::string_view section, std::string_view key) {
    if (section.empty()) return {};
    return TrimIniValue(ReadIniString(section, key, "", rules));
}

} // namespace

SectionSavePlan PlanSectionSave(const std::string &rulesFile, std::string_view text, std::string_view itemText,
                                bool withWeapons, bool withWarheads) {
    SectionSavePlan plan;
    const std::string id = TrimIniValue(itemText);
    const std::string pf = Stored(rulesFile, id, "Primary");
    const std::string sf = Stored(rulesFile, id, "Secondary");
    const std::string w1f = Stored(rulesFile, pf, "Warhead");
    const std::string w2f = Stored(rulesFile, sf, "Warhead");
    const auto pt = GetWeaponName(text, "Primary");
    const auto st = GetWeaponName(text, "Secondary");
    const auto w1t = GetWeaponName(text, "Warhead");
    const auto w2t = GetDoubleWeaponName(text, "Warhead");

    // The sections this text may write, in the order of writing.
    std::vector<std::string> targets;
    auto allow = [&](const std::optional<std::string> &name) {
        if (name && !name->empty()) targets.push_back(*name);
    };
    allow(id);
    if (withWeapons) {
        allow(pt);
        allow(st);
    }
    if (withWarheads) {
        allow(w1t);
        allow(w2t);
    }

    std::vector<Block> blocks = CutBlocks(text);
    if (blocks.front().Lines.empty()) {
        blocks.erase(blocks.begin());
    } else {
        blocks.front().Name = id;
    }
    for (size_t i = 0; i < blocks.size(); ++i) {
        const Block &b = blocks[i];
        bool known = false;
        for (const auto &t : targets) known = known || AnsiSameName(t, *b.Name);
        bool twice = false;
        for (size_t j = 0; j < i; ++j) twice = twice || AnsiSameName(*blocks[j].Name, *b.Name);
        if (!b.Valid || !known || twice) {
            plan.Refused = true;
            return plan;
        }
    }

    auto registerIfChanged = [&](const std::optional<std::string> &found, const std::string &stored, bool warhead) {
        // An emptied value names nothing to register.
        if (found && !found->empty() && *found != stored) plan.Registrations.push_back({warhead, *found});
    };
    registerIfChanged(pt, pf, false);
    registerIfChanged(st, sf, false);
    registerIfChanged(w1t, w1f, true);
    registerIfChanged(w2t, w2f, true);

    for (size_t i = 0; i < targets.size(); ++i) {
        bool done = false;
        for (size_t j = 0; j < i; ++j) done = done || AnsiSameName(targets[j], targets[i]);
        if (done) continue;
        for (const Block &b : blocks) {
            if (AnsiSameName(*b.Name, targets[i]) && !b.Lines.empty()) plan.Writes.push_back({targets[i], b.Lines});
        }
    }
    return plan;
}

std::string SectionEntries(const std::vector<std::string> &lines) {
    std::string entries;
    for (const auto &line : lines) entries.append(line).push_back('\0');
    entries.push_back('\0');
    return entries;
}
