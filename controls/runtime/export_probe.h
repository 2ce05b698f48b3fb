#pragma once
// Whether a system module exports a function; a module loaded for the
// question is freed again. Tests can hide an export to stand for a system
// that lacks it (a host without the mouse-leave service, for one).
#include <string>

namespace lumio {

bool ExportExists(const char* function, const char* module);
// Hides (hidden true) or shows again the export of module; names compare case-insensitively.
void HideExportForTesting(const std::string& function, const std::string& module, bool hidden);

}  // namespace lumio
