#pragma once
// The main window's commands around the unit list and the section export: search,
// list export, the comparison file and the export of the selected unit.
#include <windows.h>

struct MainControls;
class MainWindow;

void Search_Click(MainControls &form);
// Keys in the search box: Enter runs the search. Installed once on the box.
void HookSearchName(MainControls &form);
// The main window's default button, answered to DM_GETDEFID: the search once a key
// was typed in the search box; 0 before.
LRESULT SearchDefaultId(const MainControls &form);
void Export_Click(MainControls &form);
void Compare_Click(MainControls &form);
void SaveSectionAs(const MainWindow &main);
