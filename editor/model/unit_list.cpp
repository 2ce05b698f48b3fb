#include "unit_list.h"

#include "csfrw.h"

std::string CutUnitId(std::string_view text) {
    // List texts come from section lines, which never hold a NUL: the value rule applies
    // as it stands, counting characters of the ANSI code page.
    return TrimIniValue(text);
}

bool HasNoDisplayName(std::string_view section) {
    std::string_view head = section.substr(0, 6);
    return head == "CANEWY" || head == "CAWASH";
}

namespace {

// Labels in the string table are bytes widened one by one; so is the key that names one.
std::u16string WidenBytes(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (unsigned char c : s) out.push_back(static_cast<char16_t>(c));
    return out;
}

} // namespace

std::vector<UnitRow> BuildUnitRows(std::string_view unitSection, const std::string &file, bool withName,
                                   bool withExt, std::vector<IniEntry> &entries) {
    ProfileSnapshot oneRead; // three reads per unit: read the file once
    entries = SplitSectionEntries(unitSection, file);
    if (entries.empty()) entries.emplace_back();
    std::vector<UnitRow> rows;
    rows.reserve(entries.size());
    for (const auto &e : entries) {
        if (e.Value.empty()) continue;
        UnitRow row;
        row.Id = e.Value;
        std::string section = TrimIniValue(e.Value);
        if (withExt && withName && !HasNoDisplayName(section))
            row.Name = LookupCsfLabel(WidenBytes(TrimIniValue(ReadIniString(section, "UIName", "", file))));
        if (withExt) {
            row.Primary = TrimIniValue(ReadIniString(section, "Primary", "", file));
            row.Secondary = TrimIniValue(ReadIniString(section, "Secondary", "", file));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}
