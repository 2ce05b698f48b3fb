// Timing of the unit list under Wine: the buildings of a ~1 MB synthetic rules file
// listed in the real main window (section and value reads, string-table lookups,
// simplified-character mapping and the list view), as the option button does it.
#include "../../bench/editor_model/synthetic_rules.h"
#include "forms/forms.h"
#include "csfrw.h"
#include "main_form.h"
#include "ui_driver.h"

#include <algorithm>
#include <cstdio>
#include <vector>

int wmain() {
    auto data = MakeSyntheticRules();
    std::wstring dir = ui::TempFolder(L"qvn_list_bench_");
    std::wstring rules = dir + L"\\Rulesmd.ini", csf = dir + L"\\ra2md.csf";
    ui::WriteBytes(rules, data.Rules);
    ui::WriteBytes(csf, data.Csf);
    std::vector<std::wstring> answers{rules, csf};
    forms::SetFileChooser([&](HWND, std::wstring_view, bool) -> std::optional<std::wstring> {
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    });
    HWND main = CreateMainForm();
    ShowWindow(main, SW_SHOW);
    ui::Click(GetDlgItem(main, kCommand4));

    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    std::vector<double> ms;
    for (int run = 0; run < 7; ++run) {
        ui::Click(GetDlgItem(main, kOption1));
        QueryPerformanceCounter(&t0);
        ui::Click(GetDlgItem(main, kOption3));
        QueryPerformanceCounter(&t1);
        ms.push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart));
    }
    int listed = ui::ListViewCount(GetDlgItem(main, kItemList));
    std::sort(ms.begin(), ms.end());
    std::printf("editor list under Wine: %d buildings of a %zu-byte rules file (%zu labels): "
                "median %.1f ms, best %.1f ms, worst %.1f ms\n",
                listed, data.Rules.size(), static_cast<size_t>(CsfLabelCount), ms[ms.size() / 2], ms.front(),
                ms.back());
    DestroyWindow(main);
    DeleteFileW(rules.c_str());
    DeleteFileW(csf.c_str());
    RemoveDirectoryW(dir.c_str());
    return listed == data.Buildings ? 0 : 1;
}
