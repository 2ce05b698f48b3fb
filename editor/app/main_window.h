#pragma once
// What the tool windows read of the main window: the open rules file, the selected
// unit and the export options. The main window implements it and hands itself to
// the tool windows, so they need nothing else of it.
#include "section_export.h"

#include <windows.h>

#include <optional>
#include <string>

class MainWindow {
public:
    // The window that owns the tool windows and their message boxes.
    virtual HWND Owner() const = 0;
    // The rules file the main window has open, as the ANSI file services take it.
    virtual std::string RulesFile() const = 0;
    virtual bool HasSelectedUnit() const = 0;
    // The text of the selected unit as stored in the file (ANSI bytes), empty when none.
    virtual std::string SelectedUnitText() const = 0;
    // The selected unit's name from the string table when the list shows such names;
    // nothing when it does not.
    virtual std::optional<std::wstring> SelectedUnitName() const = 0;
    // The export and comparison check boxes as they stand.
    virtual ExportOptions CurrentExportOptions() const = 0;
    // The comparison rules file (ANSI path), empty when none was chosen.
    virtual std::string ComparisonFile() const = 0;
    // The weapon box: what registering an empty weapon name stands for.
    virtual std::wstring WeaponBoxText() const = 0;
    virtual void FocusUnitList() const = 0;

protected:
    ~MainWindow() = default;
};
