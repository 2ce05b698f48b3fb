// The section editor's save on arbitrary edited text: it never writes a section other than
// the unit's own and those the text names as its weapons and warheads, never one twice, and
// never a line that the file would read as a header or as more than one line.
#include "ini_document.h"
#include "section_editor_text.h"
#include "section_save.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <unistd.h>

namespace {

const char kRules[] = "[TANK]\r\nPrimary=Gun\r\nSecondary=Rocket\r\n[Gun]\r\nWarhead=AP\r\n"
                      "[Rocket]\r\nWarhead=HE\r\n[AP]\r\nVerses=1%\r\n[HE]\r\nVerses=2%\r\n";

const std::string &RulesFile() {
    static const std::string path = [] {
        char name[] = "/tmp/section-save-fuzz-XXXXXX";
        int fd = mkstemp(name);
        if (fd < 0) std::abort();
        if (write(fd, kRules, sizeof kRules - 1) != static_cast<ssize_t>(sizeof kRules - 1)) std::abort();
        close(fd);
        std::atexit([] { std::remove(RulesFile().c_str()); });
        return std::string(name);
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    const bool weapons = data[0] & 1, warheads = data[0] & 2;
    const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
    SectionSavePlan plan = PlanSectionSave(RulesFile(), text, "TANK ;x", weapons, warheads);
    if (plan.Refused) {
        if (!plan.Writes.empty() || !plan.Registrations.empty()) std::abort();
        return 0;
    }

    std::set<std::string> allowed = {"TANK"};
    auto allow = [&](const std::optional<std::string> &n) {
        if (n) allowed.insert(*n);
    };
    if (weapons) {
        allow(GetWeaponName(text, "Primary"));
        allow(GetWeaponName(text, "Secondary"));
    }
    if (warheads) {
        allow(GetWeaponName(text, "Warhead"));
        allow(GetDoubleWeaponName(text, "Warhead"));
    }

    IniDocument doc(kRules);
    std::set<std::string> written;
    for (const auto &w : plan.Writes) {
        if (w.Section.empty() || !allowed.count(w.Section) || !written.insert(w.Section).second) std::abort();
        std::vector<std::string_view> lines;
        for (const auto &line : w.Lines) {
            size_t first = line.find_first_not_of(" \t");
            if (first == std::string::npos || line[first] == '[') std::abort();
            if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) std::abort();
            lines.push_back(line);
        }
        doc.ReplaceSection(w.Section, lines);
    }
    // Every section the file now holds was there before or is one of the writes.
    for (const char *s : {"TANK", "Gun", "Rocket", "AP", "HE"}) written.insert(s);
    size_t pos = 0;
    const std::string &t = doc.Text();
    while (pos < t.size()) {
        size_t end = t.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = t.size();
        std::string_view line(t.data() + pos, end - pos);
        size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line[first] == '[') {
            // A header the engine reads: it must name a known section.
            size_t close = line.find(']', first);
            if (close != std::string_view::npos && close > first) {
                std::string name(line.substr(first + 1, close - first - 1));
                if (!written.count(name)) std::abort();
            }
        }
        pos = end + 1;
    }
    return 0;
}
