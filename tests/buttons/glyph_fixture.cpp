#include "glyph_fixture.h"

namespace glyphtest {

lumio::host::Site* GlyphTest::Add(Create create, const wchar_t* name, RECT rect, IPropertyBag* bag,
                                  lumio::host::Site* container) {
    return form_->Add(create, name, rect, bag, container);
}

std::vector<DISPID> GlyphTest::Events(const wchar_t* control, bool moves) const {
    std::vector<DISPID> r;
    for (auto& e : form_->log())
        if (!e.notice && (!control || e.control == control) && (moves || e.id != DISPID_MOUSEMOVE)) r.push_back(e.id);
    return r;
}

std::vector<DISPID> GlyphTest::Notices(const wchar_t* control) const {
    std::vector<DISPID> r;
    for (auto& e : form_->log())
        if (e.notice && (!control || e.control == control)) r.push_back(e.id);
    return r;
}

POINT GlyphTest::ScreenPoint(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

void GlyphTest::MoveTo(POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = MulDiv(p.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in.mi.dy = MulDiv(p.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    SendInput(1, &in, sizeof in);
}

void GlyphTest::Button(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}

void GlyphTest::Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

void GlyphTest::Click(HWND hwnd, int x, int y) {
    MoveTo(ScreenPoint(hwnd, x, y));
    Pump();
    Button(true);
    Pump();
    Button(false);
    Pump();
}

void GlyphTest::Tap(WORD vk) {
    Key(vk, false);
    Pump();
    Key(vk, true);
    Pump();
}

void GlyphTest::MoveAway() { MoveTo(POINT{900, 900}); }

}  // namespace glyphtest
