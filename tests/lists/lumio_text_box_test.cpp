// LumioTextBox in our container: real typing and clicks over its edit window,
// styles, password masking, keys, long and double-byte text, leaks.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "bar_test_support.h"
#include "live_objects.h"
#include "lumio_text_box.h"
#include "real_input.h"
#include "std_objects.h"
#include "test_host.h"
#include "window_capture.h"

namespace {

using lumio::ComPtr;
using lumio::Variant;
using lumio::host::Site;
using lumio::lists::LumioTextBox;
using namespace testhost;

namespace id = lumio::tlb::dispid::LumioTextBox;
namespace ev = lumio::tlb::dispid::LumioTextBoxEvents;

using namespace realinput;

void Store(lumio::MemoryPropertyBag* bag, const wchar_t* key, Variant value) { bag->Write(key, value.get()); }

class TextBoxTest : public OleTest {
protected:
    Site* box_ = nullptr;
    HWND edit_ = nullptr;
    IDispatch* Box() { return box_->Object().get(); }
    HWND EditOf(Site* s) { return FindWindowExW(s->ControlWindow(), nullptr, L"Edit", nullptr); }

    // A run-time box read from a bag (so its edit window exists).
    void Start(IPropertyBag* bag = nullptr, RECT rect = {20, 20, 220, 50}, bool userMode = true) {
        auto own = lumio::MemoryPropertyBag::Create();
        auto& f = NewForm(userMode);
        box_ = f.Add(LumioTextBox::Create, L"Text1", rect, bag ? bag : own.get());
        ASSERT_NE(box_, nullptr);
        edit_ = EditOf(box_);
        Settle(form_.get());
        f.log().clear();
    }
    void Pump() { Settle(form_.get()); }
    void Focus() {
        SetForegroundWindow(TopWindow());
        SetFocus(edit_);
        Pump();
        ASSERT_EQ(GetFocus(), edit_);
        form().log().clear();
    }
    std::vector<DISPID> Events() {
        std::vector<DISPID> r;
        for (auto& e : form().log())
            if (!e.notice) r.push_back(e.id);
        return r;
    }
    std::vector<DISPID> EventsNoMoves() {
        std::vector<DISPID> r;
        for (DISPID d : Events())
            if (d != ev::MouseMove) r.push_back(d);
        return r;
    }
    const lumio::host::LogEntry* First(DISPID which) {
        for (auto& e : form().log())
            if (!e.notice && e.id == which) return &e;
        return nullptr;
    }
};

TEST_F(TextBoxTest, TypingRaisesKeyDownChangeKeyPressKeyUpBeforeTheEditSeesIt) {
    Start();
    ASSERT_NE(edit_, nullptr);
    ASSERT_EQ(Put(Box(), id::Text, Variant::String(L"xy")), S_OK);
    Focus();
    std::wstring textInChange = L"?";
    form().OnEvent([&](Site&, DISPID d, DISPPARAMS*) {
        if (d == ev::Change) textInChange = AsString(Get(Box(), id::Text));
    });
    SendMessageW(edit_, EM_SETSEL, 2, 2);
    Tap('A');
    ASSERT_TRUE(WaitUntil(form_.get(), [&] { return Events().size() >= 4; }));
    Pump();
    EXPECT_EQ(Events(), (std::vector<DISPID>{ev::KeyDown, ev::Change, ev::KeyPress, ev::KeyUp}));
    EXPECT_EQ(AsLong(First(ev::KeyDown)->args[0]), 65);
    EXPECT_EQ(AsLong(First(ev::KeyPress)->args[0]), 97);
    EXPECT_EQ(AsLong(First(ev::KeyUp)->args[0]), 65);
    EXPECT_EQ(textInChange, L"xy");
    EXPECT_EQ(AsString(Get(Box(), id::Text)), L"xya");
    // Delete changes the text without a character: no Change.
    form().log().clear();
    SendMessageW(edit_, EM_SETSEL, 0, 0);
    Tap(VK_DELETE);
    ASSERT_TRUE(WaitUntil(form_.get(), [&] { return Events().size() >= 2; }));
    Pump();
    EXPECT_EQ(Events(), (std::vector<DISPID>{ev::KeyDown, ev::KeyUp}));
    EXPECT_EQ(AsString(Get(Box(), id::Text)), L"ya");
    // A KeyAscii of 0 from the handler cancels nothing; a Text write raises no Change.
    form().log().clear();
    form().OnEvent([&](Site&, DISPID d, DISPPARAMS* p) {
        if (d == ev::KeyPress) *p->rgvarg[0].piVal = 0;
    });
    Tap('B');
    ASSERT_TRUE(WaitUntil(form_.get(), [&] { return AsString(Get(Box(), id::Text)) == L"bya"; }));
    Pump();
    form().log().clear();
    Put(Box(), id::Text, Variant::String(L"set"));
    Pump();
    for (DISPID d : Events()) EXPECT_NE(d, ev::Change);
    form().OnEvent({});
}

// The edit's own context menu would hold the test in its menu loop.
WNDPROC g_editProc = nullptr;
LRESULT CALLBACK NoContextMenu(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_CONTEXTMENU) return 0;
    return CallWindowProcW(g_editProc, h, m, w, l);
}

TEST_F(TextBoxTest, ClicksRaiseMouseDownMouseUpClickAndNoDblClick) {
    Start();
    g_editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NoContextMenu)));
    RECT r;
    GetWindowRect(edit_, &r);
    MoveTo(r.left + 10, r.top + 5);
    Pump();
    form().log().clear();
    struct Case {
        DWORD down, up;
        long button;
    } cases[] = {{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1}, {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 2}};
    for (const auto& c : cases) {
        form().log().clear();
        SendMouse(c.down);
        SendMouse(c.up);
        ASSERT_TRUE(WaitUntil(form_.get(), [&] { return EventsNoMoves().size() >= 3; }));
        Pump();
        EXPECT_EQ(EventsNoMoves(), (std::vector<DISPID>{ev::MouseDown, ev::MouseUp, ev::Click})) << c.button;
        EXPECT_EQ(AsLong(First(ev::MouseDown)->args[0]), c.button);
        EXPECT_EQ(AsLong(First(ev::MouseUp)->args[0]), c.button);
        EXPECT_NEAR(First(ev::MouseDown)->args[2]->fltVal, 10, 1);
        EXPECT_NEAR(First(ev::MouseDown)->args[3]->fltVal, 5, 1);
    }
    // A double click: two presses, no DblClick.
    form().log().clear();
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
    }
    ASSERT_TRUE(WaitUntil(form_.get(), [&] { return EventsNoMoves().size() >= 5; }));
    Pump();
    for (DISPID d : Events()) EXPECT_NE(d, ev::DblClick);
    EXPECT_EQ(EventsNoMoves().back(), ev::Click);
}

TEST_F(TextBoxTest, VerticalMovesRaiseMouseMoveAtEveryChange) {
    Start(nullptr, RECT{20, 20, 220, 80});
    RECT r;
    GetWindowRect(edit_, &r);
    MoveTo(r.left + 30, r.top + 5);
    Pump();
    form().log().clear();
    for (int y = 6; y <= 15; ++y) {
        MoveTo(r.left + 30, r.top + y);
        Pump();
    }
    ASSERT_TRUE(WaitUntil(form_.get(), [&] { return Events().size() >= 10; }));
    std::vector<long> ys;
    for (auto& e : form().log())
        if (!e.notice && e.id == ev::MouseMove) {
            EXPECT_EQ(e.args[2]->fltVal, 30.0f);
            ys.push_back(static_cast<long>(e.args[3]->fltVal));
        }
    EXPECT_EQ(ys, (std::vector<long>{6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    // The same place again: nothing.
    form().log().clear();
    SendMessageW(edit_, WM_MOUSEMOVE, 0, MAKELPARAM(30, 15));
    EXPECT_TRUE(Events().empty());
}

TEST_F(TextBoxTest, PasswordCharSetAtDesignTimeMasksAtRunTime) {
    auto bag = lumio::MemoryPropertyBag::Create();
    {
        auto& f = NewForm(false);
        Site* s = f.Add(LumioTextBox::Create, L"Text1", RECT{20, 20, 220, 50});
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(EditOf(s), nullptr);  // design time: no edit window
        ASSERT_EQ(Put(s->Object().get(), id::PasswordChar, Variant::String(L"*")), S_OK);
        ASSERT_EQ(Put(s->Object().get(), id::PasswordChar, Variant::String(L"ab")), S_OK);  // ignored
        EXPECT_EQ(AsString(Get(s->Object().get(), id::PasswordChar)), L"*");
        Put(s->Object().get(), id::Text, Variant::String(L"secret"));
        bag = f.Save(s);
        ASSERT_TRUE(bag);
    }
    Start(bag.get());
    EXPECT_EQ(SendMessageW(edit_, EM_GETPASSWORDCHAR, 0, 0), '*');
    auto masked = shots::CaptureWindow(edit_);
    masked.Save(L"textbox_password.png");
    ASSERT_EQ(Put(Box(), id::PasswordChar, Variant::String(L"")), S_OK);
    EXPECT_EQ(SendMessageW(edit_, EM_GETPASSWORDCHAR, 0, 0), 0);
    Pump();
    auto shown = shots::CaptureWindow(edit_);
    shown.Save(L"textbox_plain.png");
    EXPECT_NE(masked.bgra, shown.bgra);
    EXPECT_EQ(AsString(Get(Box(), id::Text)), L"secret");
}

TEST_F(TextBoxTest, EditStylesFollowMultiLineAndScrollBars) {
    struct Case {
        bool multiLine;
        long scrollBars;
        LONG set, clear;
    } cases[] = {
        {false, 3, ES_AUTOHSCROLL, ES_MULTILINE | WS_VSCROLL | WS_HSCROLL},
        {true, 0, ES_MULTILINE | ES_AUTOHSCROLL, WS_VSCROLL | WS_HSCROLL},
        {true, 2, ES_MULTILINE | WS_VSCROLL, ES_AUTOHSCROLL | WS_HSCROLL},
        {true, 3, ES_MULTILINE | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL, 0},
    };
    for (const auto& c : cases) {
        auto bag = lumio::MemoryPropertyBag::Create();
        Store(bag.get(), L"MultiLine", Variant::Bool(c.multiLine));
        Store(bag.get(), L"ScrollBars", Variant::Long(c.scrollBars));
        Start(bag.get(), RECT{20, 20, 220, 100});
        const LONG style = GetWindowLongW(edit_, GWL_STYLE);
        EXPECT_EQ(style & c.set, c.set) << c.multiLine << " " << c.scrollBars;
        EXPECT_EQ(style & c.clear, 0) << c.multiLine << " " << c.scrollBars;
        // At run time ScrollBars cannot change.
        EXPECT_EQ(bars::PutError(Box(), id::ScrollBars, Variant::Long(1)), 382);
        EXPECT_EQ(AsLong(Get(Box(), id::ScrollBars)), c.scrollBars);
        if (c.multiLine && c.scrollBars == 2) {
            Put(Box(), id::Text, Variant::String(std::wstring(60, L'w') + L" " + std::wstring(60, L'w')));
            EXPECT_GE(SendMessageW(edit_, EM_GETLINECOUNT, 0, 0), 2);  // wrapped
            shots::CaptureWindow(box_->ControlWindow()).Save(L"textbox_multiline.png");
        }
    }
}

TEST_F(TextBoxTest, BorderInsetsTheEditAndDrawsTheOutline) {
    for (short border : {0, 1, 3}) {
        auto bag = lumio::MemoryPropertyBag::Create();
        Store(bag.get(), L"BorderStyle", Variant::Int(border));
        Start(bag.get());
        RECT er;
        GetWindowRect(edit_, &er);
        MapWindowPoints(nullptr, box_->ControlWindow(), reinterpret_cast<POINT*>(&er), 2);
        EXPECT_EQ(er.left, border);
        EXPECT_EQ(er.top, border);
        EXPECT_EQ(er.right - er.left, 200 - 2 * border);
        EXPECT_EQ(er.bottom - er.top, 30 - 2 * border);
        if (border == 1) {
            const auto c = shots::CaptureWindow(box_->ControlWindow());
            c.Save(L"textbox_border.png");
            EXPECT_EQ(c.At(100, 0), RGB(165, 172, 178));
            EXPECT_EQ(c.At(0, 15), RGB(165, 172, 178));
            EXPECT_EQ(c.At(199, 15), RGB(165, 172, 178));
            EXPECT_EQ(c.At(100, 29), RGB(165, 172, 178));
        }
    }
}

TEST_F(TextBoxTest, DesignTimePreviewIsWhiteWithTheTextAndBorder) {
    auto& f = NewForm(false);
    Site* s = f.Add(LumioTextBox::Create, L"Text1", RECT{20, 20, 220, 50});
    ASSERT_NE(s, nullptr);
    Settle(&f);
    const auto c = shots::CaptureWindow(s->ControlWindow());
    c.Save(L"textbox_design.png");
    EXPECT_EQ(c.At(0, 0), RGB(165, 172, 178));
    EXPECT_EQ(c.At(150, 25), RGB(255, 255, 255));
    int dark = 0;
    for (int x = 3; x < 60; ++x)
        for (int y = 2; y < 28; ++y)
            if (GetRValue(c.At(x, y)) < 128) ++dark;
    EXPECT_GT(dark, 0);  // the name is drawn
    // The new control's text is its name.
    EXPECT_EQ(AsString(Get(s->Object().get(), id::Text)), L"Text1");
    // Design time takes ScrollBars.
    EXPECT_EQ(bars::PutError(s->Object().get(), id::ScrollBars, Variant::Long(2)), 0);
}

TEST_F(TextBoxTest, KeysRoundTripAndABagWithoutTextGivesText1) {
    auto& f = NewForm(false);
    Site* s = f.Add(LumioTextBox::Create, L"Named", RECT{20, 20, 220, 50});
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(AsString(Get(s->Object().get(), id::Text)), L"Named");
    IDispatch* d = s->Object().get();
    auto font = lumio::CreateStdFont(L"Liberation Mono", 14, true);
    ASSERT_EQ(Put(d, id::BackColor, Variant::Long(0x00FF00)), S_OK);
    ASSERT_EQ(Put(d, id::ForeColor, Variant::Long(0x0000FF)), S_OK);
    ASSERT_EQ(Put(d, id::Enabled, Variant::Bool(false)), S_OK);
    ASSERT_EQ(lumio::PutPropertyById(d, id::Font, Variant::Object(font.As<IDispatch>().get())), S_OK);
    ASSERT_EQ(Put(d, id::PasswordChar, Variant::String(L"#")), S_OK);
    ASSERT_EQ(Put(d, id::Text, Variant::String(L"hello")), S_OK);
    ASSERT_EQ(Put(d, id::MultiLine, Variant::Bool(true)), S_OK);
    ASSERT_EQ(Put(d, id::BorderStyle, Variant::Int(0)), S_OK);
    ASSERT_EQ(Put(d, id::ScrollBars, Variant::Long(3)), S_OK);
    std::vector<DISPID> notices;
    for (auto& e : f.log())
        if (e.notice) notices.push_back(e.id);
    EXPECT_EQ(notices, (std::vector<DISPID>{id::BackColor, id::ForeColor, id::Enabled, id::Font, id::PasswordChar,
                                            id::Text, id::MultiLine, id::BorderStyle, id::ScrollBars}));
    auto bag = f.Save(s);
    ASSERT_TRUE(bag);
    EXPECT_EQ(bag->Keys().size(), 9u);
    Site* copy = f.Add(LumioTextBox::Create, L"Copy", RECT{20, 60, 220, 90}, bag.get());
    ASSERT_NE(copy, nullptr);
    IDispatch* c = copy->Object().get();
    EXPECT_EQ(AsLong(Get(c, id::BackColor)), 0x00FF00);
    EXPECT_EQ(AsLong(Get(c, id::ForeColor)), 0x0000FF);
    EXPECT_EQ(AsLong(Get(c, id::Enabled)), 0);
    EXPECT_EQ(AsString(Get(c, id::PasswordChar)), L"#");
    EXPECT_EQ(AsString(Get(c, id::Text)), L"hello");
    EXPECT_EQ(AsLong(Get(c, id::MultiLine)), -1);
    EXPECT_EQ(AsLong(Get(c, id::BorderStyle)), 0);
    EXPECT_EQ(AsLong(Get(c, id::ScrollBars)), 3);
    Variant fv = Get(c, id::Font);
    ComPtr<IFont> read = ComPtr<IDispatch>(fv->pdispVal).As<IFont>();
    ASSERT_TRUE(read);
    BOOL bold = FALSE;
    read->get_Bold(&bold);
    EXPECT_TRUE(bold);
    // hWnd is the control's own window.
    EXPECT_EQ(AsLong(Get(c, id::hWnd)), static_cast<long>(reinterpret_cast<LONG_PTR>(copy->ControlWindow())));
    // A bag without "Text".
    auto empty = lumio::MemoryPropertyBag::Create();
    Site* plain = f.Add(LumioTextBox::Create, L"Plain", RECT{20, 100, 220, 130}, empty.get());
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(AsString(Get(plain->Object().get(), id::Text)), L"Text1");
}

// Refuses the creation of every edit window while it lives.
struct EditRefused {
    static LRESULT CALLBACK Proc(int code, WPARAM w, LPARAM l) {
        if (code == HCBT_CREATEWND) {
            wchar_t cls[16]{};
            GetClassNameW(reinterpret_cast<HWND>(w), cls, 16);
            if (lstrcmpiW(cls, L"Edit") == 0) return 1;
        }
        return CallNextHookEx(nullptr, code, w, l);
    }
    HHOOK hook = SetWindowsHookExW(WH_CBT, &Proc, nullptr, GetCurrentThreadId());
    ~EditRefused() { UnhookWindowsHookEx(hook); }
};

TEST_F(TextBoxTest, InitializeMakesTheEditOnceAndRetriesAfterAFailure) {
    // A box placed new at run time has no edit window until Initialize.
    auto& f = NewForm(true);
    Site* s = f.Add(LumioTextBox::Create, L"Fresh", RECT{20, 20, 220, 50});
    ASSERT_NE(s, nullptr);
    IDispatch* d = s->Object().get();
    EXPECT_EQ(EditOf(s), nullptr);
    auto initialize = [&] {
        Variant r;
        EXPECT_EQ(Call(d, id::Initialize, {}, nullptr, &r), S_OK);
        return AsLong(r);
    };
    {
        EditRefused refused;
        ASSERT_NE(refused.hook, nullptr);
        EXPECT_EQ(initialize(), 0);
        EXPECT_EQ(EditOf(s), nullptr);
    }
    EXPECT_EQ(initialize(), -1);
    HWND edit = EditOf(s);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(initialize(), 0);  // already run
    EXPECT_EQ(FindWindowExW(s->ControlWindow(), edit, L"Edit", nullptr), nullptr);
    // The edit shows the name the new box took as its text, and is watched.
    char text[16]{};
    GetWindowTextA(edit, text, 16);
    EXPECT_STREQ(text, "Fresh");
    Settle(&f);
    f.log().clear();
    SendMessageW(edit, WM_CHAR, 'q', 1);
    EXPECT_EQ(Events(), (std::vector<DISPID>{ev::Change, ev::KeyPress}));
    // The focus given to the control goes on to its edit.
    SetForegroundWindow(TopWindow());
    SetFocus(s->ControlWindow());
    EXPECT_EQ(GetFocus(), edit);
}

TEST_F(TextBoxTest, AHostsCallToTheMessageHandlerRaisesTheEventsOfThatMessage) {
    Start();
    const auto window = [](HWND h) { return Variant::Long(static_cast<long>(reinterpret_cast<LONG_PTR>(h))); };
    auto handle = [&](HWND h, UINT msg, WPARAM wp) {
        return Call(Box(), id::zSubclass_Proc,
                    {Variant::Bool(true), Variant::Bool(false), Variant::Long(0), window(h), Variant::Long(msg),
                     Variant::Long(static_cast<long>(wp)), Variant::Long(0)});
    };
    ASSERT_EQ(handle(edit_, WM_CHAR, 'z'), S_OK);
    ASSERT_EQ(handle(edit_, WM_LBUTTONUP, 0), S_OK);
    EXPECT_EQ(Events(), (std::vector<DISPID>{ev::Change, ev::KeyPress, ev::MouseUp, ev::Click}));
    EXPECT_EQ(AsLong(First(ev::KeyPress)->args[0]), 'z');
    // Only the call: the edit window saw no character.
    EXPECT_EQ(AsString(Get(Box(), id::Text)), L"Text1");
    // Another window's messages raise nothing.
    form().log().clear();
    ASSERT_EQ(handle(TopWindow(), WM_CHAR, 'z'), S_OK);
    EXPECT_TRUE(Events().empty());
}

TEST_F(TextBoxTest, LongTextReadsBackWhole) {
    Start();
    std::wstring big;
    for (int i = 0; big.size() < 40000; ++i) big += L"line " + std::to_wstring(i) + L";";
    big.resize(40000);
    ASSERT_EQ(Put(Box(), id::Text, Variant::String(big)), S_OK);
    EXPECT_EQ(AsString(Get(Box(), id::Text)), big);
}

TEST_F(TextBoxTest, FontReachesTheEditAndLongNamesRaiseNothing) {
    Start();
    auto font = lumio::CreateStdFont(L"Liberation Serif", 12, true);
    ASSERT_EQ(lumio::PutPropertyById(Box(), id::Font, Variant::Object(font.As<IDispatch>().get())), S_OK);
    HFONT h = reinterpret_cast<HFONT>(SendMessageW(edit_, WM_GETFONT, 0, 0));
    ASSERT_NE(h, nullptr);
    LOGFONTW lf{};
    ASSERT_NE(GetObjectW(h, sizeof lf, &lf), 0);
    EXPECT_STREQ(lf.lfFaceName, L"Liberation Serif");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    // The size the font object settled on, in points, at the screen's 96 DPI.
    CY size{};
    font.As<IFont>()->get_Size(&size);
    EXPECT_EQ(lf.lfHeight, -MulDiv(static_cast<int>(std::llround(size.int64 / 10000.0)), 96, 72));
    // A 40-character name raises nothing and the edit keeps a font (the font
    // object may answer with the face it fell back to; the cut itself is
    // tested with the portable arithmetic).
    auto longName = lumio::CreateStdFont(std::wstring(40, L'N'), 9);
    EXPECT_EQ(lumio::PutPropertyById(Box(), id::Font, Variant::Object(longName.As<IDispatch>().get())), S_OK);
    EXPECT_NE(SendMessageW(edit_, WM_GETFONT, 0, 0), 0);
}

lumio::host::Form* g_dialog = nullptr;

// While the dialog runs: the user replaces the text, then the dialog hides.
void CALLBACK TypeAndClose(HWND h, UINT, UINT_PTR timer, DWORD) {
    KillTimer(h, timer);
    HWND edit = nullptr;
    EnumChildWindows(h, [](HWND c, LPARAM out) CALLBACK -> BOOL {
        wchar_t cls[16]{};
        GetClassNameW(c, cls, 16);
        if (lstrcmpiW(cls, L"Edit") != 0) return TRUE;
        *reinterpret_cast<HWND*>(out) = c;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&edit));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (char ch : std::string("typed")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(ch), 1);
    g_dialog->Hide();
}

TEST_F(TextBoxTest, TextCrossesAModalShowAsTheInputBoxUsesIt) {
    lumio::host::Form dialog(nullptr, RECT{100, 100, 400, 220}, L"Input");
    auto bag = lumio::MemoryPropertyBag::Create();
    Site* s = dialog.Add(LumioTextBox::Create, L"Text1", RECT{10, 10, 260, 40}, bag.get());
    ASSERT_NE(s, nullptr);
    IDispatch* d = s->Object().get();
    // Before the dialog is shown, the default text goes into the edit window.
    ASSERT_EQ(lumio::PutPropertyById(d, 0x68030003, Variant::String(L"default")), S_OK);
    char shown[32]{};
    GetWindowTextA(EditOf(s), shown, 32);
    EXPECT_STREQ(shown, "default");
    g_dialog = &dialog;
    ASSERT_NE(SetTimer(dialog.hWnd(), 77, 30, &TypeAndClose), 0u);
    dialog.ShowModal(TopWindow());
    g_dialog = nullptr;
    // After the modal loop, before the dialog goes: what the user typed.
    Variant after;
    ASSERT_EQ(lumio::GetPropertyById(d, 0x68030003, after), S_OK);
    EXPECT_EQ(AsString(after), L"typed");
}

TEST_F(TextBoxTest, NoGdiOrWindowGrowthOverCreateDestroyAndFontWrites) {
    NewForm(true);
    auto bag = lumio::MemoryPropertyBag::Create();
    EXPECT_TRUE(lumio::test::NoGrowth([&] {
        for (int i = 0; i < 100; ++i) {
            Site* s = form().Add(LumioTextBox::Create, L"T", RECT{0, 0, 120, 24}, bag.get());
            ASSERT_NE(s, nullptr);
            form().Remove(s);
        }
    }, 10));
    Site* s = form().Add(LumioTextBox::Create, L"T", RECT{0, 0, 120, 24}, bag.get());
    ASSERT_NE(s, nullptr);
    IDispatch* d = s->Object().get();
    auto a = lumio::CreateStdFont(L"Liberation Sans", 9);
    auto b = lumio::CreateStdFont(L"Liberation Serif", 11, true);
    EXPECT_TRUE(lumio::test::NoGrowth([&] {
        for (int i = 0; i < 100; ++i)
            lumio::PutPropertyById(d, id::Font, Variant::Object((i % 2 ? a : b).As<IDispatch>().get()));
    }, 10));
}

}  // namespace
