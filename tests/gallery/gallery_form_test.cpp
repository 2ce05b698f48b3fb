// The gallery's ways into the library's dialogs: each button and each menu
// command opens its box, and what the box answers reaches the status bar.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "form_dialogs.h"
#include "gallery_form.h"
#include "simple_dispatch.h"
#include "wait_for.h"
#include "window_capture.h"

namespace {

using lumio::form::InputDialog;
using lumio::form::MessageDialog;

enum class Box { Message, Input, About };

HWND g_gallery = nullptr;

BOOL CALLBACK FindOtherShown(HWND h, LPARAM out) {
    if (h == g_gallery || !IsWindowVisible(h)) return TRUE;
    *reinterpret_cast<HWND*>(out) = h;
    return FALSE;
}

// The box on screen now, or nullptr. The about box is the thread's one other
// shown window: asking for its default instance would load a new one.
HWND Showing(Box box) {
    HWND h = nullptr;
    switch (box) {
    case Box::Message: h = MessageDialog::Showing() ? MessageDialog::Showing()->form().hWnd() : nullptr; break;
    case Box::Input: h = InputDialog::Showing() ? InputDialog::Showing()->form().hWnd() : nullptr; break;
    case Box::About: EnumThreadWindows(GetCurrentThreadId(), &FindOtherShown, reinterpret_cast<LPARAM>(&h)); break;
    }
    return h && IsWindowVisible(h) ? h : nullptr;
}

// From inside the box's modal loop: closes the box through its frame once it shows.
bool g_seen = false;
void CloseWhenShown(Box box) {
    lumio::test::ActWhen([box] { return Showing(box) != nullptr; },
                         [box] {
                             g_seen = true;
                             PostMessageW(Showing(box), WM_CLOSE, 0, 0);
                         });
}

std::wstring StatusText(gallery::GalleryForm& g) {
    lumio::Variant v;
    lumio::GetProperty(g.form().Find(L"sbStatus")->Object().get(), L"SimpleText", v);
    return v->vt == VT_BSTR && v->bstrVal ? v->bstrVal : L"";
}

// At the gallery's first show the focused and the default button wear the blue
// border (edge and inner line), the others not: the form's activation reaches
// buttons set up after its frame.
TEST(GalleryForm, FocusedAndDefaultButtonsShowTheirBorderAtFirstShow) {
    static const HRESULT ole = OleInitialize(nullptr);
    ASSERT_TRUE(SUCCEEDED(ole));
    gallery::GalleryForm g;
    g.Show(false);
    struct Look {
        const wchar_t* button;
        COLORREF inner;
    };
    const Look looks[] = {
        {L"cmdLook0", RGB(72, 216, 251)},  // focused
        {L"cmdLook1", RGB(72, 216, 251)},  // default
        {L"cmdLook3", RGB(255, 255, 255)},
    };
    auto pump = [&](MSG& m) { return g.form().PreTranslate(m); };
    for (const Look& l : looks) {
        SCOPED_TRACE(std::string(l.button, l.button + wcslen(l.button)));
        HWND b = g.form().Find(l.button)->ControlWindow();
        RECT rc;
        GetClientRect(b, &rc);
        const int mid = rc.bottom / 2;
        // Tests run beside this one can take the activation away; give it back,
        // so that only a form that was active all along is checked at first show.
        const auto shows = [&] {
            if (GetForegroundWindow() != g.hWnd()) SetForegroundWindow(g.hWnd());
            return shots::WindowPixel(b, 1, mid) == l.inner;
        };
        EXPECT_TRUE(lumio::test::WaitUntil(shows, lumio::test::kDeadline, pump))
            << std::hex << shots::WindowPixel(b, 1, mid);
    }
}

TEST(GalleryForm, ButtonsAndMenuOpenTheDialogs) {
    static const HRESULT ole = OleInitialize(nullptr);
    ASSERT_TRUE(SUCCEEDED(ole));
    gallery::GalleryForm g;
    g.Show(false);
    g_gallery = g.hWnd();
    struct Case {
        const wchar_t* button;
        UINT command;
        Box box;
        const wchar_t* status;  // after the box is closed through its frame
    };
    const Case cases[] = {
        {L"cmdMessage", gallery::kMenuMessage, Box::Message, L"Message box answered Cancel"},
        {L"cmdInput", gallery::kMenuInput, Box::Input, L"Input box returned \"\""},
        {L"cmdAbout", gallery::kMenuAbout, Box::About, nullptr},
    };
    for (const Case& c : cases) {
        for (bool by_menu : {false, true}) {
            SCOPED_TRACE(testing::Message() << (by_menu ? "menu " : "button ") << std::string(c.button, c.button + wcslen(c.button)));
            g_seen = false;
            lumio::PutProperty(g.form().Find(L"sbStatus")->Object().get(), L"SimpleText",
                               lumio::Variant::String(L"-"));
            CloseWhenShown(c.box);
            if (by_menu) {
                PostMessageW(g.hWnd(), WM_COMMAND, c.command, 0);
            } else {
                HWND b = g.form().Find(c.button)->ControlWindow();
                RECT r;
                GetClientRect(b, &r);
                const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
                PostMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, at);
                PostMessageW(b, WM_LBUTTONUP, 0, at);
            }
            // The box runs modally inside the handler; the wait ends after it closed.
            ASSERT_TRUE(lumio::test::WaitUntil([&] { return g_seen && !Showing(c.box); }, lumio::test::kDeadline,
                                               [&](MSG& m) { return g.form().PreTranslate(m); }));
            if (c.status) {
                EXPECT_TRUE(lumio::test::WaitUntil([&] { return StatusText(g) == c.status; }));
            }
        }
    }
}

}  // namespace
