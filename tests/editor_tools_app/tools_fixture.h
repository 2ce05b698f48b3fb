#pragma once
// The editor fixture with the file dialogs' proposed name and title recorded, and
// helpers for the input box and the message box.
#include "../editor_app/editor_fixture.h"

#include <string>
#include <vector>

class ToolsWindow : public EditorWindow {
protected:
    void SetUp() override {
        EditorWindow::SetUp();
        forms::SetFileChooser([this](HWND, std::wstring_view filter, bool save) -> std::optional<std::wstring> {
            filters.emplace_back(filter);
            names.push_back(forms::DialogFileName());
            titles.push_back(forms::DialogTitle());
            saves.push_back(save);
            if (answers.empty()) return std::nullopt;
            auto a = answers.front();
            answers.pop_front();
            return a;
        });
    }
    void TearDown() override {
        for (const auto &f : written) DeleteFileW(f.c_str());
        EditorWindow::TearDown();
    }
    std::wstring OutFile(const wchar_t *name) {
        written.push_back(dir + L"\\" + name);
        return written.back();
    }
    // A comparison rules file holding these sections (one line each).
    std::wstring ComparisonFile(std::initializer_list<const char *> sections) {
        std::string text;
        for (const char *s : sections) text += std::string("[") + s + "]\r\nx=1\r\n";
        std::wstring path = OutFile(L"Rules.ini");
        ui::WriteBytes(path, text);
        return path;
    }
    void TurnOnComparison(const std::wstring &path) {
        answers = {path};
        ui::Click(Item(kCompare));
    }

    std::vector<std::wstring> names, titles, written;
    std::vector<bool> saves;
};

// An input box step: records prompt and proposal, then answers (an empty answer cancels).
struct Prompt {
    std::wstring title, text, proposal;
};

inline ui::ModalScript::Action Answer(std::vector<Prompt> &seen, std::wstring answer) {
    return [&seen, answer](HWND box) {
        HWND edit = GetDlgItem(box, 11);
        seen.push_back({ui::Text(box), ui::Text(GetDlgItem(box, 10)), ui::Text(edit)});
        if (answer.empty()) {
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        } else {
            SetWindowTextW(edit, answer.c_str());
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    };
}
