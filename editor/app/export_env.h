#pragma once
// What the section exports need from the windows: the rules file, the comparison
// test on the file the main window names, and the rename prompt as an input box.
#include "section_export.h"

#include <windows.h>

#include <string>

class MainWindow;

ExportEnv MakeExportEnv(const MainWindow &main, HWND promptOwner);
// The file name the export's save dialog proposes for the selected unit.
std::wstring DefaultExportName(const MainWindow &main);
// Writes the export file whole, the old file left as it was when that fails; then the
// user is told which file and why, in a message owned by owner. False when it failed.
bool WriteExportFile(HWND owner, const std::wstring &path, const std::string &text);
// A save dialog for text files proposing fileName; nothing when cancelled or when no name came back.
std::optional<std::wstring> ChooseTextFile(HWND owner, const std::wstring &fileName);
