// LumioButton under real mouse and keyboard input.
#include <algorithm>
#include <functional>

#include "button_fixture.h"
#include "real_input.h"

namespace {

using lumio::Variant;
using lumio::host::Form;
using lumio::host::Site;
using namespace buttontest;
using namespace testhost;

class ButtonInputTest : public ButtonTest {
protected:
    Site* button_ = nullptr;
    RECT screen_{};
    void Start() {
        Form& f = NewForm();
        button_ = AddButton(f);
        ASSERT_NE(button_, nullptr);
        GetWindowRect(button_->ControlWindow(), &screen_);
        MoveTo(screen_.left - 30, screen_.top - 10);
        Pump();
        f.log().clear();
    }
    void Pump() { EXPECT_TRUE(Settle(form_.get())); }
    static void Send(DWORD flags, int x = 0, int y = 0) { realinput::SendMouse(flags, x, y); }
    static void MoveTo(int x, int y) { realinput::MoveTo(x, y); }
    static void Key(WORD vk, bool up) { realinput::Key(vk, up); }
    int State() const { return Button(button_)->state(); }
    long Count(DISPID id) const {
        auto e = Events();
        return static_cast<long>(std::count(e.begin(), e.end(), id));
    }
    // Events without the moves, which depend on how the pointer travels.
    std::vector<DISPID> EventsNoMoves() const {
        std::vector<DISPID> r;
        for (DISPID d : Events())
            if (d != ev::MouseMove) r.push_back(d);
        return r;
    }
};

TEST_F(ButtonInputTest, EnterOnFirstMoveThenMoves) {
    Start();
    MoveTo(screen_.left + 10, screen_.top + 10);
    Pump();
    MoveTo(screen_.left + 20, screen_.top + 12);
    Pump();
    auto events = Events();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], ev::MouseEnter);
    EXPECT_EQ(events[1], ev::MouseMove);
    MoveTo(screen_.left - 30, screen_.top - 10);
    WaitUntil(form_.get(), [&] { return Events().back() == ev::MouseLeave; });
    EXPECT_EQ(Events().back(), ev::MouseLeave);
}

// Written after the properties were read: the pointer over the button is the
// hand, not nothing.
TEST_F(ButtonInputTest, HandPointerWrittenAtRunTimeShowsTheHand) {
    Start();
    ASSERT_EQ(Put(button_->Object().get(), id::HandPointer, Variant::Bool(true)), S_OK);
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    ASSERT_NE(hand, nullptr);
    MoveTo(screen_.left + 10, screen_.top + 10);
    Pump();
    MoveTo(screen_.left + 20, screen_.top + 12);
    Pump();
    EXPECT_EQ(GetCursor(), hand);
}

TEST_F(ButtonInputTest, LeftClickAndRightPress) {
    Start();
    MoveTo(screen_.left + 10, screen_.top + 10);
    Pump();
    Send(MOUSEEVENTF_LEFTDOWN);
    Send(MOUSEEVENTF_LEFTUP);
    Pump();
    EXPECT_EQ(EventsNoMoves(), (std::vector<DISPID>{ev::MouseEnter, ev::MouseDown, ev::MouseUp, ev::Click}));
    auto& down = form().log()[1].notice ? form().log()[2] : form().log()[1];
    ASSERT_EQ(down.args.size(), 4u);
    EXPECT_EQ(AsLong(down.args[0]), 1);
    EXPECT_NEAR(down.args[2]->fltVal, 10, 1);

    form().log().clear();
    Send(MOUSEEVENTF_RIGHTDOWN);
    Send(MOUSEEVENTF_RIGHTUP);
    Pump();
    EXPECT_EQ(EventsNoMoves(), std::vector<DISPID>{ev::MouseDown});
    EXPECT_EQ(AsLong(form().log().back().args.empty() ? Variant() : form().log()[0].args[0]), 2);
}

TEST_F(ButtonInputTest, DoubleClickRaisesDblClickAndNoSecondClick) {
    Start();
    MoveTo(screen_.left + 10, screen_.top + 10);
    Pump();
    form().log().clear();
    for (int i = 0; i < 2; ++i) {
        Send(MOUSEEVENTF_LEFTDOWN);
        Send(MOUSEEVENTF_LEFTUP);
    }
    Pump();
    EXPECT_EQ(EventsNoMoves(), (std::vector<DISPID>{ev::MouseDown, ev::MouseUp, ev::Click, ev::DblClick, ev::MouseUp}));
}

TEST_F(ButtonInputTest, SpaceClicksAndEnterReachesTheDefaultButton) {
    Start();
    Site* other = AddButton(form(), L"Command2", nullptr, RECT{20, 60, 120, 85});
    SetFocus(button_->ControlWindow());
    Pump();
    form().log().clear();
    Key(VK_SPACE, false);
    Key(VK_SPACE, true);
    Pump();
    EXPECT_EQ(Events(), (std::vector<DISPID>{ev::KeyDown, ev::KeyPress, ev::Click, ev::KeyUp}));

    // Enter goes to the form's default button, wherever the focus is.
    form().SetDefault(other);
    form().log().clear();
    Key(VK_RETURN, false);
    Key(VK_RETURN, true);
    Pump();
    std::vector<std::wstring> clicked;
    for (auto& e : form().log())
        if (!e.notice && e.id == ev::Click) clicked.push_back(e.control);
    EXPECT_EQ(clicked, std::vector<std::wstring>{L"Command2"});

    // Not in check-box mode.
    Put(other->Object().get(), id::CheckBoxMode, Variant::Bool(true));
    form().log().clear();
    Key(VK_RETURN, false);
    Key(VK_RETURN, true);
    Pump();
    for (auto& e : form().log()) EXPECT_FALSE(!e.notice && e.id == ev::Click && e.control == L"Command2");
}

TEST_F(ButtonInputTest, ArrowWhileSpaceIsHeldMovesOnAndClicks) {
    Start();
    Site* other = AddButton(form(), L"Command2", nullptr, RECT{20, 60, 120, 85});
    SetFocus(button_->ControlWindow());
    Pump();
    form().log().clear();
    Key(VK_SPACE, false);
    Pump();
    Key(VK_RIGHT, false);
    Pump();
    Key(VK_RIGHT, true);
    Key(VK_SPACE, true);
    Pump();
    EXPECT_EQ(GetFocus(), other->ControlWindow());
    std::vector<std::pair<std::wstring, DISPID>> first;
    for (auto& e : form().log())
        if (!e.notice && e.control == L"Command1") first.push_back({e.control, e.id});
    // Space's KeyDown (and its character), then the click; the arrow raises nothing.
    std::vector<std::pair<std::wstring, DISPID>> want{
        {L"Command1", ev::KeyDown}, {L"Command1", ev::KeyPress}, {L"Command1", ev::Click}};
    EXPECT_EQ(first, want);
}

// Space holds the capture, so leaving raises MouseLeave from the move; the
// hooked mouse-leave notice that follows must neither raise another nor
// paint the button up.
TEST_F(ButtonInputTest, SpaceHeldWhileTheMouseLeavesKeepsThePressAndStillClicks) {
    Start();
    const HWND h = button_->ControlWindow();
    SetFocus(h);
    MoveTo(screen_.left + 10, screen_.top + 10);
    Pump();
    form().log().clear();
    Key(VK_SPACE, false);
    Pump();
    ASSERT_EQ(State(), 2);
    bool noticed = false;
    MoveTo(screen_.left - 30, screen_.top - 10);
    EXPECT_TRUE(lumio::test::WaitUntil([&] { return noticed; }, lumio::test::kDeadline, [&](MSG& m) {
        if (m.message == WM_MOUSELEAVE && m.hwnd == h) noticed = true;
        return form().PreTranslate(m);
    }));
    Pump();
    EXPECT_EQ(State(), 2);
    EXPECT_EQ(Count(ev::MouseLeave), 1);
    Key(VK_SPACE, true);
    Pump();
    EXPECT_EQ(Count(ev::Click), 1);
    EXPECT_EQ(Count(ev::MouseLeave), 1);
}

TEST_F(ButtonInputTest, AnotherKeyCancelsSpace) {
    Start();
    SetFocus(button_->ControlWindow());
    Pump();
    form().log().clear();
    Key(VK_SPACE, false);
    Pump();
    ASSERT_EQ(State(), 2);
    Key('A', false);
    Pump();
    EXPECT_EQ(State(), 0);
    Key('A', true);
    Key(VK_SPACE, true);
    Pump();
    EXPECT_EQ(State(), 0);
    EXPECT_EQ(Count(ev::Click), 0);
    EXPECT_EQ(Count(ev::KeyDown), 2);
    EXPECT_EQ(Count(ev::KeyUp), 2);
}

// Value = True asks for a click; while the mouse or Space holds the button
// there is none, and a plain button still never keeps Value True.
TEST_F(ButtonInputTest, ValueWrittenWhileTheButtonIsHeld) {
    struct Case {
        const char* name;
        std::function<void(bool)> hold;
    } cases[] = {
        {"mouse", [this](bool down) {
             if (down) MoveTo(screen_.left + 10, screen_.top + 10);
             Send(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
         }},
        {"space", [this](bool down) {
             if (down) SetFocus(button_->ControlWindow());
             Key(VK_SPACE, !down);
         }},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        c.hold(true);
        Pump();
        ASSERT_EQ(State(), 2);
        form().log().clear();
        ASSERT_EQ(Put(button_->Object().get(), id::Value, lumio::Variant::Bool(true)), S_OK);
        EXPECT_EQ(Get(button_->Object().get(), id::Value)->boolVal, VARIANT_FALSE);
        EXPECT_EQ(Count(ev::Click), 0);
        c.hold(false);
        Pump();
        EXPECT_EQ(Count(ev::Click), 1) << "the release still clicks";
        EXPECT_EQ(Get(button_->Object().get(), id::Value)->boolVal, VARIANT_FALSE);
    }
}

}  // namespace
