#pragma once
// The editor's main window: paths of the open files, the unit list, the value
// boxes of the selected unit and the buttons of every command.
#include "forms/gdi_handles.h"
#include "main_controls.h"
#include "main_window.h"
#include "rwini.h"
#include "unit_list.h"

#include <windows.h>

#include <string>
#include <vector>

// Window widths of the width toggle, in twips.
inline constexpr int kWideWidth = 7040;
inline constexpr int kNarrowWidth = 4900;

struct MainForm final : MainControls, MainWindow {
    bool QuitOnClose = false;

    std::vector<IniEntry> UnitEntries;
    std::vector<UnitRow> Rows; // list item i shows Rows[lParam of i]
    std::string CurrentUnit;
    bool Narrow = false;

    // What the tool windows read; the rules file is the one the hidden label names.
    HWND Owner() const override { return hwnd; }
    std::string RulesFile() const override;
    bool HasSelectedUnit() const override { return SelectedItem() >= 0; }
    std::string SelectedUnitText() const override;
    std::optional<std::wstring> SelectedUnitName() const override;
    ExportOptions CurrentExportOptions() const override;
    std::string ComparisonFile() const override;
    std::wstring WeaponBoxText() const override;
    void FocusUnitList() const override { SetFocus(ItemList); }
    bool BuildingsChosen() const;

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
