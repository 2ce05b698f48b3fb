// Temporary stand-ins so that callers build before the engine lands.
#include "csfrw.h"
#include "rwini.h"

std::vector<CsfEntry> CsfTable;
int32_t CsfLabelCount = 0;
std::string ReadIniString(std::string_view, std::string_view, std::string_view def, const std::string &) {
    return std::string(def);
}
void WriteIniString(std::string_view, std::string_view, std::string_view, const std::string &) {}
std::string TrimIniValue(std::string_view s) { return std::string(s); }
std::string ReadSectionText(std::string_view, const std::string &) { return "\r\n"; }
std::vector<IniEntry> SplitSectionEntries(std::string_view, const std::string &) { return {IniEntry{}}; }
void LoadCsf(const std::string &) {}
std::u16string LookupCsfLabel(std::u16string_view) { return {}; }
