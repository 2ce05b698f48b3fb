#pragma once
// The editor's main window: paths of the open files, the unit list, the value
// boxes of the selected unit and the buttons of every command.
#include "forms/gdi_handles.h"
#include "rwini.h"
#include "unit_list.h"

#include <windows.h>

#include <string>
#include <vector>

enum MainFormId : int {
    kItemList = 100,
    kOption1, kOption2, kOption3, kOption4,
    kHPText, kSpeedText, kArmorText, kWeaponText, kWHText,
    kCommand2, kCommand3, kCommand4, kCommand5, kCommand6, kCommand7, kCommand8,
    kIsName, kIsExt, kIsWeapon, kIsWH, kIsGB,
    kSearchType, kSearchName, kSearch,
    kCheck1, kExport,
    kIsWepCom, kIsNameCom, kIsWHCom, kOrigFile, kCompare,
    kLabel7, kLabel8, kFileNameL, kCSFPath,
};

// Window widths of the width toggle, in twips.
inline constexpr int kWideWidth = 7040;
inline constexpr int kNarrowWidth = 4900;

struct MainForm {
    HWND hwnd = nullptr;
    bool QuitOnClose = false;

    HWND ItemList{}, Option[4]{}, HPText{}, SpeedText{}, ArmorText{}, WeaponText{}, WHText{};
    HWND Command2{}, Command3{}, Command4{}, Command5{}, Command6{}, Command7{}, Command8{};
    HWND IsName{}, IsExt{}, IsWeapon{}, IsWH{}, IsGB{}, SearchType{}, SearchName{}, Search{};
    HWND Check1{}, Export{}, IsWepCom{}, IsNameCom{}, IsWHCom{}, OrigFile{}, Compare{};
    HWND Label7{}, Label8{}, FileNameL{}, CSFPath{};

    std::vector<IniEntry> UnitEntries;
    std::vector<UnitRow> Rows; // list item i shows Rows[lParam of i]
    std::string CurrentUnit;
    bool Narrow = false;

    // The rules file the hidden label names, as the ANSI file services take it.
    std::string RulesFile() const;
    bool BuildingsChosen() const;
    int ItemCount() const;
    int SelectedItem() const; // -1 when none
    // The text of the selected list item as stored in the file (ANSI bytes), empty when none.
    std::string SelectedUnitText() const;

    void RefreshItemList();
    void ItemList_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();

    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

private:
    forms::GdiObject<HBITMAP> searchGlyph_;
    bool filling_ = false;
    HWND lastFocus_ = nullptr;
    void Form_Load();
    void SetPath(HWND label, const std::wstring &path);
};

// Creates the main window (not yet shown). The program's one instance is TheMainForm().
HWND CreateMainForm();
MainForm *TheMainForm();
