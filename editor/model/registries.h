#pragma once
// The weapon and warhead registries ("WeaponsList", "WarheadsList"): their
// in-memory copies, registration of a name and removal of a name.
#include "rwini.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class RegistryKind { Weapon, Warhead };

// One element per registry line holding "=", in file order; never empty: a
// registry without such lines holds one blank element.
extern std::vector<IniEntry> WeaponEntries;
extern std::vector<IniEntry> WarheadEntries;
// Key numbers the last registration of each kind chose (0 before any).
extern int64_t NextWeaponIndex;
extern int64_t NextWarheadIndex;

const char *RegistrySection(RegistryKind kind);
std::vector<IniEntry> &RegistryEntries(RegistryKind kind);

// Rebuilds both arrays from the rules file.
void RefreshRegistries(const std::string &file);

// The non-empty values of one registry, in array order: what the manager lists.
std::vector<std::string> RegistryListValues(RegistryKind kind);

// The number a key starts with ("12abc" gives 12; empty or non-numeric gives 0).
int64_t LeadingNumber(std::string_view key);

// Key for the next registration: the last entry's key number + 1, moved on past
// every key the registry already holds (in the array or, beyond what a section
// read returns, in the file).
int64_t NextFreeKey(RegistryKind kind, const std::string &file);

// Failed: the file could not be written (ProfileWriteFailure says why).
enum class RegisterOutcome { Written, AlreadyRegistered, NothingToRegister, Failed };

// Refreshes the arrays from the file, then appends name to the kind's registry
// unless a line of it already holds exactly that value. An empty name registers nothing.
RegisterOutcome RegisterName(RegistryKind kind, std::string_view name, const std::string &file);

// Removes every registry line whose value is exactly value, then refreshes the arrays.
// Returns the number of lines removed (-1 when the file could not be read or rewritten).
int RemoveRegistryValue(RegistryKind kind, std::string_view value, const std::string &file);
