#pragma once
// The main window's commands around the unit list and the section export: search,
// list export, the comparison file and the export of the selected unit.
#include <windows.h>

struct MainForm;

void Search_Click(MainForm &form);
// Keys in the search box: Enter runs the search. Installed once on the box.
void HookSearchName(MainForm &form);
// The main window's default button, answered to DM_GETDEFID: the search once a key
// was typed in the search box; 0 before.
LRESULT SearchDefaultId(const MainForm &form);
void Export_Click(MainForm &form);
void Compare_Click(MainForm &form);
void SaveSectionAs(MainForm &form);
