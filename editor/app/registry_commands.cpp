#include "registry_commands.h"

#include "ansi_text.h"
#include "forms/forms.h"
#include "main_window.h"
#include "registries.h"

void RegisterListEntry(const MainWindow &main, bool warn, std::wstring &name, std::wstring_view kind) {
    bool weapon = kind == kWeaponKind;
    if (name.empty() && weapon) name = main.WeaponBoxText();
    if (name.empty()) return;
    auto outcome = RegisterName(weapon ? RegistryKind::Weapon : RegistryKind::Warhead, ToAnsi(name), main.RulesFile());
    if (outcome == RegisterOutcome::AlreadyRegistered && warn) {
        HWND owner = GetActiveWindow();
        forms::MsgBox(owner ? owner : main.Owner(), std::wstring(kind) + name + L"已存在于武器库中。");
    }
}
