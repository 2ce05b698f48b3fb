#include "export_probe.h"

#include <windows.h>

#include <algorithm>
#include <set>
#include <utility>

namespace lumio {

namespace {
std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}
std::set<std::pair<std::string, std::string>>& Hidden() {
    static std::set<std::pair<std::string, std::string>> hidden;
    return hidden;
}
}  // namespace

bool ExportExists(const char* function, const char* module) {
    if (Hidden().count({Lower(function), Lower(module)})) return false;
    HMODULE m = GetModuleHandleA(module);
    bool loaded_here = false;
    if (!m) {
        m = LoadLibraryA(module);
        loaded_here = m != nullptr;
    }
    if (!m) return false;
    bool found = GetProcAddress(m, function) != nullptr;
    if (loaded_here) FreeLibrary(m);
    return found;
}

void HideExportForTesting(const std::string& function, const std::string& module, bool hidden) {
    auto key = std::make_pair(Lower(function), Lower(module));
    if (hidden) Hidden().insert(key);
    else Hidden().erase(key);
}

}  // namespace lumio
