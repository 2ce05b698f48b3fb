#include "search_glyph.h"

#include "forms/gdi_handles.h"

HBITMAP CreateSearchGlyph(HWND button, int size) {
    using namespace forms;
    WindowDC screen(button);
    HBITMAP bmp = CreateCompatibleBitmap(screen.get(), size, size);
    if (!bmp) return nullptr;
    MemoryDC dc(screen.get());
    Selection keepBitmap(dc.get(), bmp);
    RECT all{0, 0, size, size};
    FillRect(dc.get(), &all, GetSysColorBrush(COLOR_BTNFACE));

    int lens = size * 5 / 8;    // diameter of the glass
    int inset = size / 10 + 1;
    GdiObject<HPEN> rim(CreatePen(PS_SOLID, size / 8 + 1, RGB(40, 60, 110)));
    GdiObject<HBRUSH> glass(CreateSolidBrush(RGB(200, 225, 250)));
    {
        Selection p(dc.get(), rim.get());
        Selection b(dc.get(), glass.get());
        Ellipse(dc.get(), inset, inset, inset + lens, inset + lens);
    }
    GdiObject<HPEN> handle(CreatePen(PS_SOLID, size / 5 + 1, RGB(90, 60, 30)));
    {
        Selection p(dc.get(), handle.get());
        int from = inset + lens * 6 / 7;
        MoveToEx(dc.get(), from, from, nullptr);
        LineTo(dc.get(), size - inset, size - inset);
    }
    return bmp;
}
