#pragma once
// The section editor: the selected unit's section, with its weapon and warhead
// sections on request, as one text to edit, save back or export.
#include "edited_text.h"
#include "forms/gdi_handles.h"

#include <windows.h>

#include <optional>
#include <string>

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
    ShownText shown_; // the text as built, line by line: unchanged lines are saved as read
    void Form_Load();
    // The edited text as bytes; nothing (and the user told why) when a changed line
    // cannot be saved in the code page.
    std::optional<std::string> EditedBytesOrSay();
};

// Shows the editor for the main window's selected unit, modally; returns when it is closed.
void ShowSectionEdit(const MainWindow &main);
