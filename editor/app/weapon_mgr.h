#pragma once
// The weapon manager (lists one registry, removes names, opens the weapon editor)
// and the weapon editor (a registry entry's whole section as text).
#include "edited_text.h"
#include "registries.h"

#include <windows.h>

#include <string>
#include <vector>

enum WeaponMgrId : int { kMgrOption1 = 200, kMgrOption2, kWeaponList, kMgrCommand1, kMgrCommand2 };
enum WeaponEditId : int { kEditLabel1 = 300, kEditText1, kEditCommand1, kEditCommand2 };

struct WeaponMgr {
    HWND hwnd = nullptr;
    std::string RulesFile;
    HWND Option1{}, Option2{}, WeaponList{}, Command1{}, Command2{};
    std::vector<std::string> Values; // list item i shows Values[i]

    RegistryKind Kind() const;
    // The selected value as the file holds it; empty when nothing is selected.
    std::string SelectedValue() const;
    void RefreshList();
    void Command1_Click(); // remove
    void Command2_Click(); // edit
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
};

struct WeaponEdit {
    HWND hwnd = nullptr;
    std::string RulesFile;
    HWND Label1{}, Text1{}, Command1{}, Command2{};
    std::string Value;   // the registry value as listed
    std::string Section; // the section it names
    ShownText Shown;     // the section as shown: unchanged lines are saved as read
    void Command2_Click(); // save
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
};

// Shows the manager of the rules file's registries modally, owned by owner; returns
// when it is closed.
void ShowWeaponMgr(HWND owner, const std::string &rulesFile);
// Shows the editor of the registry value modally, owned by the manager.
void ShowWeaponEdit(HWND owner, const std::string &rulesFile, const std::string &value);
