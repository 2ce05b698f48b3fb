#pragma once
// The main window's child windows by name and id. The main window's own commands
// kept in other files (search, list export, comparison) work on these alone.
#include <windows.h>

#include <commctrl.h>

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

struct MainControls {
    HWND hwnd = nullptr;
    HWND ItemList{}, Option[4]{}, HPText{}, SpeedText{}, ArmorText{}, WeaponText{}, WHText{};
    HWND Command2{}, Command3{}, Command4{}, Command5{}, Command6{}, Command7{}, Command8{};
    HWND IsName{}, IsExt{}, IsWeapon{}, IsWH{}, IsGB{}, SearchType{}, SearchName{}, Search{};
    HWND Check1{}, Export{}, IsWepCom{}, IsNameCom{}, IsWHCom{}, OrigFile{}, Compare{};
    HWND Label7{}, Label8{}, FileNameL{}, CSFPath{};


    int ItemCount() const { return static_cast<int>(SendMessageW(ItemList, LVM_GETITEMCOUNT, 0, 0)); }
    // The selected list item, -1 when none.
    int SelectedItem() const {
        return static_cast<int>(SendMessageW(ItemList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
};
