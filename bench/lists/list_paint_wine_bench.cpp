// Painting and scrolling 10,000 items under Wine: LumioListBox in our container
// beside the system's list box of the same size, font and row height, each
// with its scroll bar. Built with the win64 tests, run by `make bench`
// (scripts/bench-wine.sh). Ratios are the system's time over ours:
// above 1, ours is faster.
#include <windows.h>
#include <olectl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "host_form.h"
#include "lumio_list_box.h"
#include "lumiokit_ids.h"
#include "simple_dispatch.h"

namespace {

namespace id = lumio::tlb::dispid::LumioListBox;
using lumio::Variant;

constexpr int kItems = 10000;
constexpr int kRows = 20;
constexpr int kRuns = 5;

double Ms(const std::function<void()>& work) {
    LARGE_INTEGER f, a, b;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&a);
    work();
    GdiFlush();
    QueryPerformanceCounter(&b);
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One way of moving either list: what it does to show row `top` at the top.
struct Lists {
    HWND ours, system;
    IDispatch* list;
    void Top(bool mine, int top) const {
        if (mine) lumio::PutPropertyById(list, id::TopIndex, Variant::Int(static_cast<short>(top)));
        else SendMessageW(system, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
        UpdateWindow(mine ? ours : system);
    }
    int TopOf(bool mine) const {
        if (!mine) return static_cast<int>(SendMessageW(system, LB_GETTOPINDEX, 0, 0));
        Variant v;
        lumio::GetPropertyById(list, id::TopIndex, v);
        return v->iVal;
    }
};

struct Task {
    const char* name;
    std::function<void(const Lists&, bool mine)> run;
};

}  // namespace

int wmain() {
    if (FAILED(OleInitialize(nullptr))) return 2;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumioListBench";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    HWND top = CreateWindowExW(0, wc.lpszClassName, L"List bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                               520, 460, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(top, SW_SHOW);
    int status = 0;
    {
        lumio::host::Form form(top, RECT{0, 0, 500, 420});
        form.SetUserMode(true);
        lumio::host::DoEvents(&form);
        lumio::host::Site* site = form.Add(lumio::lists::LumioListBox::Create, L"List1", RECT{10, 10, 210, 400});
        if (!site) return 2;
        IDispatch* list = site->Object().get();
        auto& impl = *static_cast<lumio::lists::LumioListBox*>(list);
        const int row = impl.RowHeight();
        site->Move(RECT{10, 10, 210, 10 + kRows * row + 4});
        for (int i = 0; i < kItems; ++i) {
            Variant text = Variant::String(L"Item " + std::to_wstring(i) + L" of the benchmark list");
            VARIANT arg = *text;
            DISPPARAMS p{&arg, nullptr, 1, 0};
            list->Invoke(id::AddItem, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &p, nullptr, nullptr, nullptr);
        }
        HWND ours = site->ControlWindow();
        RECT rc;
        GetWindowRect(ours, &rc);
        MapWindowPoints(nullptr, form.hWnd(), reinterpret_cast<POINT*>(&rc), 2);
        // The system's list: same outer size, the control's own font, its row height.
        HWND system = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 260, rc.top,
                                      rc.right - rc.left, rc.bottom - rc.top, form.hWnd(), nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        Variant font;
        lumio::GetPropertyById(list, id::Font, font);
        HFONT hfont = nullptr;
        if (font->vt == VT_DISPATCH && font->pdispVal) {
            IFont* f = nullptr;
            if (SUCCEEDED(font->pdispVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f)))) {
                f->get_hFont(&hfont);
                f->AddRefHfont(hfont);
                f->Release();
            }
        }
        SendMessageW(system, WM_SETFONT, reinterpret_cast<WPARAM>(hfont), FALSE);
        SendMessageW(system, LB_SETITEMHEIGHT, 0, row);
        SendMessageW(system, LB_INITSTORAGE, kItems, kItems * 64);
        for (int i = 0; i < kItems; ++i) {
            std::wstring text = L"Item " + std::to_wstring(i) + L" of the benchmark list";
            SendMessageW(system, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        lumio::host::DoEvents(&form);
        const Lists lists{ours, system, list};

        const int last_top = kItems - kRows;
        const Task tasks[] = {
            {"paint the visible rows x50",
             [](const Lists& l, bool mine) {
                 HWND w = mine ? l.ours : l.system;
                 for (int i = 0; i < 50; ++i) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
             }},
            {"scroll by one row x200",
             [](const Lists& l, bool mine) {
                 for (int i = 1; i <= 200; ++i) l.Top(mine, i);
             }},
            {"scroll by jumps x200",
             [last_top](const Lists& l, bool mine) {
                 for (int i = 1; i <= 200; ++i) l.Top(mine, (i * 4999) % last_top);
             }},
        };
        // Both lists must end where the other does before anything counts.
        for (const Task& t : tasks) {
            t.run(lists, true);
            t.run(lists, false);
            if (lists.TopOf(true) != lists.TopOf(false)) {
                std::printf("list under Wine: %s: top row %d, the system's %d: outputs differ\n", t.name,
                            lists.TopOf(true), lists.TopOf(false));
                status = 1;
            }
        }
        std::printf("list under Wine: %d items, %d rows of %d px, %d runs (median ms; ratio = system / ours, above 1 "
                    "ours is faster)\n",
                    kItems, kRows, row, kRuns);
        for (const Task& t : tasks) {
            std::vector<double> mine, theirs, ratio;
            for (int r = 0; r < kRuns; ++r) {
                lists.Top(true, 0);
                lists.Top(false, 0);
                lumio::host::DoEvents(&form);
                const double a = Ms([&] { t.run(lists, true); });
                const double b = Ms([&] { t.run(lists, false); });
                mine.push_back(a);
                theirs.push_back(b);
                ratio.push_back(b / a);
            }
            std::sort(ratio.begin(), ratio.end());
            std::printf("  %-28s ours %8.2f  system %8.2f  ratio %.2f (%.2f to %.2f)\n", t.name, Median(mine),
                        Median(theirs), Median(ratio), ratio.front(), ratio.back());
        }
        DestroyWindow(system);
        if (hfont) {
            IFont* f = nullptr;
            if (font->pdispVal && SUCCEEDED(font->pdispVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f)))) {
                f->ReleaseHfont(hfont);
                f->Release();
            }
        }
        form.Unload();
    }
    DestroyWindow(top);
    OleUninitialize();
    return status;
}
