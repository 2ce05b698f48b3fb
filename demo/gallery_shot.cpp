#include "gallery_shot.h"

#include <cstdio>
#include <vector>

#include "class_table.h"
#include "imaging/c32bpp_dib.h"
#include "png/win/cpng_writer.h"

namespace gallery {

namespace {

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM out) {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> WindowTree(HWND top) {
    std::vector<HWND> all{top};
    EnumChildWindows(top, &CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

bool AnythingToPaint(HWND top) {
    for (HWND h : WindowTree(top))
        if (IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)) return true;
    return false;
}

std::string Narrow(const std::wstring& s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

bool WaitUntilDrawn(lumio::host::Form& form, DWORD deadline_ms) {
    const DWORD start = GetTickCount();
    // Quiet several times over: a control may post its own repaint after the first.
    int quiet = 0;
    while (GetTickCount() - start < deadline_ms) {
        lumio::host::DoEvents(&form);
        if (IsWindowVisible(form.hWnd()) && !AnythingToPaint(form.hWnd()))
            ++quiet;
        else
            quiet = 0;
        if (quiet >= 5) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

bool SaveWindowPng(HWND hwnd, const std::wstring& path) {
    RECT rc;
    if (!GetWindowRect(hwnd, &rc)) return false;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    lumio::c32bppDIB shot;
    if (!shot.InitializeDIB(w, h)) return false;
    HDC target = shot.LoadDIBinDC(true);
    HDC screen = GetWindowDC(hwnd);
    const bool copied = target && screen && BitBlt(target, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    if (screen) ReleaseDC(hwnd, screen);
    GdiFlush();
    if (!copied) return false;
    // GDI leaves the alpha bytes zero: the screen is opaque.
    for (int y = 0; y < h; ++y) {
        uint8_t* row = shot.RowFromTop(y);
        for (int x = 0; x < w; ++x) row[x * 4 + 3] = 255;
    }
    shot.SetAlpha(false);
    std::vector<std::uint8_t> unused;
    return lumio::SavePNG(shot, path, unused);
}

bool WriteReport(lumio::host::Form& form, const std::wstring& path) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    RECT outer;
    GetWindowRect(form.hWnd(), &outer);
    std::fprintf(f, "window %ld %ld\n", outer.right - outer.left, outer.bottom - outer.top);
    RECT client;
    GetClientRect(form.hWnd(), &client);
    for (HWND h : WindowTree(form.hWnd())) {
        for (const auto& site : form.sites()) {
            if (site->ControlWindow() != h) continue;
            CLSID clsid{};
            auto persist = site->ole().As<IPersist>();
            const lumio::ControlClass* cls =
                persist && SUCCEEDED(persist->GetClassID(&clsid)) ? lumio::FindControlClass(clsid) : nullptr;
            RECT r;
            GetWindowRect(h, &r);
            MapWindowPoints(nullptr, form.hWnd(), reinterpret_cast<POINT*>(&r), 2);
            // Visible on screen: its own flag and its parents', and inside the client area.
            const bool inside = r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom &&
                                r.right > r.left && r.bottom > r.top;
            std::fprintf(f, "%s %s %d %ld %ld %ld %ld\n", cls ? Narrow(cls->name).c_str() : "?",
                         Narrow(site->name()).c_str(), IsWindowVisible(h) && inside ? 1 : 0, r.left, r.top,
                         r.right - r.left, r.bottom - r.top);
        }
    }
    return std::fclose(f) == 0;
}

}  // namespace gallery
