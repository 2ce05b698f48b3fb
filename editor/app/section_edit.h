#pragma once
// The section editor: the selected unit's section, with its weapon and warhead
// sections on request, as one text to edit, save back or export.
#include "forms/gdi_handles.h"

#include <windows.h>

class MainWindow;

enum SectionEditId : int { kSecIsWH = 400, kSecCommand1, kSecCommand2, kSecCommand3, kSecText1 };

struct SectionEdit {
    HWND hwnd = nullptr;
    const MainWindow *Main = nullptr; // the window whose selected unit is edited
    HWND IsWH{}, Command1{}, Command2{}, Command3{}, Text1{};

    void RefreshEditer();
    void Command1_Click(); // cancel
    void Command2_Click(); // save
    void Command3_Click(); // export
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

private:
    forms::GdiObject<HFONT> font_;
    void Form_Load();
};

// Shows the editor for the main window's selected unit, modally; returns when it is closed.
void ShowSectionEdit(const MainWindow &main);
