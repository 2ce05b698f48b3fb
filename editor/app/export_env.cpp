#include "export_env.h"

#include "ansi_text.h"
#include "file_io.h"
#include "forms/forms.h"
#include "main_window.h"
#include "rwini.h"
#include "write_failure.h"

namespace {

std::wstring Wide(const std::u16string &s) { return std::wstring(s.begin(), s.end()); }

} // namespace

ExportEnv MakeExportEnv(const MainWindow &main, HWND promptOwner) {
    ExportEnv env;
    env.RulesFile = main.RulesFile();
    std::string comparison = main.ComparisonFile();
    env.Exists = [comparison](const std::string &name) { return ComparisonHasSection(comparison, name); };
    env.Ask = [promptOwner](const RenamePrompt &p) {
        std::u16string name16;
        for (wchar_t c : FromAnsi(p.Name)) name16.push_back(static_cast<char16_t>(c));
        return ToAnsi(forms::InputBox(promptOwner, Wide(RenamePromptText(p.Kind, name16)),
                                      Wide(RenamePromptTitle(p.Kind)), FromAnsi(p.Proposal)));
    };
    return env;
}

std::wstring DefaultExportName(const MainWindow &main) {
    std::wstring name = main.SelectedUnitName().value_or(
        FromAnsi(ReadIniString(TrimIniValue(main.SelectedUnitText()), "Name", "", main.RulesFile())));
    return FromUtf16(SafeFileName(ToUtf16(name)));
}

bool WriteExportFile(HWND owner, const std::wstring &path, const std::string &text) {
    std::string file = AnsiPath(path);
    if (ReplaceFileBytes(file, ExportFileBytes(text))) return true;
    forms::MsgBox(owner, FromUtf16(WriteFailureMessage(file, LastFileError())));
    return false;
}

std::optional<std::wstring> ChooseTextFile(HWND owner, const std::wstring &fileName) {
    forms::SetDialogFileName(fileName);
    auto path = forms::ShowSave(owner, L"文本文件(*.txt)|*.txt");
    if (!path || path->empty()) return std::nullopt;
    return path;
}
