#include "registries.h"

#include <algorithm>
#include <limits>

std::vector<IniEntry> WeaponEntries{IniEntry{}};
std::vector<IniEntry> WarheadEntries{IniEntry{}};
int64_t NextWeaponIndex = 0;
int64_t NextWarheadIndex = 0;

const char *RegistrySection(RegistryKind kind) {
    return kind == RegistryKind::Weapon ? "WeaponsList" : "WarheadsList";
}

std::vector<IniEntry> &RegistryEntries(RegistryKind kind) {
    return kind == RegistryKind::Weapon ? WeaponEntries : WarheadEntries;
}

void RefreshRegistries(const std::string &file) {
    WeaponEntries = SplitSectionEntries("WeaponsList", file);
    WarheadEntries = SplitSectionEntries("WarheadsList", file);
    if (WeaponEntries.empty()) WeaponEntries.emplace_back();
    if (WarheadEntries.empty()) WarheadEntries.emplace_back();
}

std::vector<std::string> RegistryListValues(RegistryKind kind) {
    std::vector<std::string> out;
    for (const auto &e : RegistryEntries(kind))
        if (!e.Value.empty()) out.push_back(e.Value);
    return out;
}

int64_t LeadingNumber(std::string_view key) {
    size_t i = 0;
    while (i < key.size() && (key[i] == ' ' || key[i] == '\t')) ++i;
    bool negative = false;
    if (i < key.size() && (key[i] == '-' || key[i] == '+')) negative = key[i++] == '-';
    int64_t n = 0;
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    for (; i < key.size() && key[i] >= '0' && key[i] <= '9'; ++i) {
        int d = key[i] - '0';
        n = (n > (kMax - d) / 10) ? kMax : n * 10 + d; // saturates instead of wrapping
    }
    return negative ? -n : n;
}

int64_t NextFreeKey(RegistryKind kind, const std::string &file) {
    const auto &entries = RegistryEntries(kind);
    int64_t last = entries.empty() ? 0 : LeadingNumber(entries.back().Key);
    int64_t next = last < std::numeric_limits<int64_t>::max() ? last + 1 : last;
    const char *section = RegistrySection(kind);
    auto taken = [&](int64_t k) {
        std::string key = std::to_string(k);
        if (std::any_of(entries.begin(), entries.end(), [&](const IniEntry &e) { return e.Key == key; })) return true;
        // A key past the end of a section too long for one read is still in the file.
        return !ReadIniString(section, key, "", file).empty();
    };
    while (taken(next) && next < std::numeric_limits<int64_t>::max()) ++next;
    return next;
}

RegisterOutcome RegisterName(RegistryKind kind, std::string_view name, const std::string &file) {
    if (name.empty()) return RegisterOutcome::NothingToRegister;
    int64_t key = 0;
    {
        ProfileSnapshot oneRead;
        RefreshRegistries(file);
        const auto &entries = RegistryEntries(kind);
        if (std::any_of(entries.begin(), entries.end(), [&](const IniEntry &e) { return e.Value == name; }))
            return RegisterOutcome::AlreadyRegistered;
        key = NextFreeKey(kind, file);
    }
    if (!WriteIniString(RegistrySection(kind), std::to_string(key), name, file)) return RegisterOutcome::Failed;
    (kind == RegistryKind::Weapon ? NextWeaponIndex : NextWarheadIndex) =
        key < std::numeric_limits<int64_t>::max() ? key + 1 : key;
    return RegisterOutcome::Written;
}

int RemoveRegistryValue(RegistryKind kind, std::string_view value, const std::string &file) {
    int removed = value.empty() ? 0 : DeleteIniLinesWithValue(RegistrySection(kind), value, file);
    RefreshRegistries(file);
    return removed;
}
