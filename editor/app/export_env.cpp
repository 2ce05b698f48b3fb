#include "export_env.h"

#include "ansi_text.h"
#include "file_io.h"
#include "forms/forms.h"
#include "main_form.h"
#include "rwini.h"

#include <commctrl.h>

using forms::GetText;
using forms::IsChecked;

namespace {

std::wstring Wide(const std::u16string &s) { return std::wstring(s.begin(), s.end()); }

} // namespace

ExportEnv MakeExportEnv(const MainForm &form, HWND promptOwner) {
    ExportEnv env;
    env.RulesFile = form.RulesFile();
    std::string comparison = AnsiPath(GetText(form.OrigFile));
    env.Exists = [comparison](const std::string &name) { return ComparisonHasSection(comparison, name); };
    env.Ask = [promptOwner](const RenamePrompt &p) {
        std::u16string name16;
        for (wchar_t c : FromAnsi(p.Name)) name16.push_back(static_cast<char16_t>(c));
        return ToAnsi(forms::InputBox(promptOwner, Wide(RenamePromptText(p.Kind, name16)),
                                      Wide(RenamePromptTitle(p.Kind)), FromAnsi(p.Proposal)));
    };
    return env;
}

ExportOptions ReadExportOptions(const MainForm &form) {
    ExportOptions o;
    o.IsWeapon = IsChecked(form.IsWeapon);
    o.IsWH = IsChecked(form.IsWH);
    o.IsNameCom = IsChecked(form.IsNameCom);
    o.IsWepCom = IsChecked(form.IsWepCom);
    o.IsWHCom = IsChecked(form.IsWHCom);
    return o;
}

std::wstring DefaultExportName(const MainForm &form) {
    if (IsChecked(form.IsName) && !GetText(form.CSFPath).empty()) {
        int item = form.SelectedItem();
        wchar_t buf[1024] = {};
        LVITEMW it{};
        it.iSubItem = 1;
        it.pszText = buf;
        it.cchTextMax = 1024;
        SendMessageW(form.ItemList, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
        return buf;
    }
    return FromAnsi(ReadIniString(TrimIniValue(form.SelectedUnitText()), "Name", "", form.RulesFile()));
}

void WriteExportFile(const std::wstring &path, const std::string &text) {
    // Not reported: a file that cannot be written ends the export silently.
    ReplaceFileBytes(AnsiPath(path), ExportFileBytes(text));
}

std::optional<std::wstring> ChooseTextFile(HWND owner, const std::wstring &fileName) {
    forms::SetDialogFileName(fileName);
    auto path = forms::ShowSave(owner, L"文本文件(*.txt)|*.txt");
    if (!path || path->empty()) return std::nullopt;
    return path;
}
