#pragma once
// Registration of weapon and warhead names from the windows.
#include <string>
#include <string_view>

inline constexpr wchar_t kWeaponKind[] = L"武器";
inline constexpr wchar_t kWarheadKind[] = L"弹头";

class MainWindow;

// Adds name to the registry of kind ("武器" or "弹头") in the main window's rules file
// unless a line of it holds the name already (then, with warn, says so). An empty
// weapon name stands for the main window's weapon box; an empty name registers nothing.
void RegisterListEntry(const MainWindow &main, bool warn, std::wstring &name, std::wstring_view kind);
