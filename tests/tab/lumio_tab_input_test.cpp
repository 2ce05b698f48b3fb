// LumioTab at run time under real input: clicks, keys, access keys, the
// wheel, close boxes, hover, the parent form's moves and sizes, tear-down.
#include "cThunkSubclass.h"
#include "export_probe.h"
#include "tab_fixture.h"

namespace {

using namespace tabtest;

class TabInputTest : public TabTest {
protected:
    Site* tab_ = nullptr;
    IDispatch* t_ = nullptr;
    RECT screen_{};

    // A saved control loaded at run time: the one kind that subclasses.
    Site* LoadRunning(Form& f, const std::wstring& name, RECT rect, const std::function<void(IDispatch*)>& setUp = {}) {
        Site* design = f.Add(LumioTab::Create, name + L"Design", rect);
        if (!design) return nullptr;
        if (setUp) setUp(design->Object().get());
        ComPtr<lumio::MemoryPropertyBag> bag = f.Save(design);
        f.Remove(design);
        return f.Add(LumioTab::Create, name, rect, bag.get());
    }
    void Start(const std::function<void(IDispatch*)>& setUp = {}) {
        Form& f = NewForm();
        tab_ = LoadRunning(f, L"Tab1", RECT{10, 10, 310, 210}, setUp);
        ASSERT_NE(tab_, nullptr);
        t_ = tab_->Object().get();
        ASSERT_TRUE(Tab(tab_)->subclassed());
        GetWindowRect(tab_->ControlWindow(), &screen_);
        MoveTo(screen_.left - 30, screen_.top - 10);
        Pump();
        f.log().clear();
    }
    void Pump() { EXPECT_TRUE(Settle(form_.get())); }
    static void Mouse(DWORD flags, int x = 0, int y = 0, DWORD data = 0) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flags;
        in.mi.mouseData = data;
        if (flags & MOUSEEVENTF_ABSOLUTE) {
            in.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
            in.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        }
        SendInput(1, &in, sizeof in);
    }
    static void MoveTo(int x, int y) { Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y); }
    void MoveIn(int x, int y) {
        MoveTo(screen_.left + x, screen_.top + y);
        Pump();
    }
    void ClickAt(int x, int y) {
        MoveIn(x, y);
        Mouse(MOUSEEVENTF_LEFTDOWN);
        Mouse(MOUSEEVENTF_LEFTUP);
        Pump();
    }
    static void Key(WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &in, sizeof in);
    }
    void Press(std::initializer_list<WORD> keys) {
        for (WORD k : keys) Key(k, false);
        for (auto it = keys.end(); it != keys.begin();) Key(*--it, true);
        Pump();
    }
    void Focus() {
        SetForegroundWindow(form_->hWnd());
        SetFocus(tab_->ControlWindow());
        Pump();
    }
    long Active() { return AsLong(Get(t_, id::ActiveTab)); }
    std::vector<DISPID> EventsNoMoves() const {
        std::vector<DISPID> r;
        for (DISPID d : Events())
            if (d != ev::MouseMove && d != ev::MouseHover) r.push_back(d);
        return r;
    }
    const lumio::tab::FillRect& Box(int i) { return Tab(tab_)->model().records()[i].boxRect; }
    const lumio::tab::FillRect& TabRect(int i) { return Tab(tab_)->model().records()[i].tabRect; }
};

TEST_F(TabInputTest, ClickSwitchesToAnEnabledTab) {
    Start([](IDispatch* t) {
        InvokeWith(t, id::TabEnabled, DISPATCH_PROPERTYPUT, {Variant::Long(1), Variant::Bool(false)});
    });
    ClickAt(250, 10);
    EXPECT_EQ(Active(), 2);
    EXPECT_EQ(EventsNoMoves(), (std::vector<DISPID>{ev::MouseEnter, ev::MouseDown, ev::BeforeTabSwitch, ev::TabSwitch,
                                                    ev::MouseUp, ev::Click}));
    ClickAt(150, 10);  // disabled: no switch
    EXPECT_EQ(Active(), 2);
    ClickAt(50, 100);  // the body: no switch
    EXPECT_EQ(Active(), 2);
    EXPECT_FALSE(Tab(tab_)->busy());
}

TEST_F(TabInputTest, ArrowsAndControlPagesWrapAndStopAtADisabledNeighbour) {
    Start();
    Focus();
    struct Step {
        std::initializer_list<WORD> keys;
        long shown;
    } steps[] = {
        {{VK_RIGHT}, 1}, {{VK_RIGHT}, 2}, {{VK_RIGHT}, 0}, {{VK_LEFT}, 2},
        {{VK_CONTROL, VK_NEXT}, 0}, {{VK_CONTROL, VK_PRIOR}, 2}, {{VK_NEXT}, 2},
    };
    for (const Step& s : steps) {
        Press(s.keys);
        EXPECT_EQ(Active(), s.shown);
    }
    ASSERT_EQ(InvokeWith(t_, id::TabEnabled, DISPATCH_PROPERTYPUT, {Variant::Long(0), Variant::Bool(false)}), S_OK);
    form().log().clear();
    Press({VK_RIGHT});
    EXPECT_EQ(Active(), 2);
    EXPECT_EQ(Events(ev::KeyDown).size(), 1u);
    EXPECT_EQ(Events(ev::TabSwitch).size(), 0u);
}

TEST_F(TabInputTest, AccessKeyShowsTheNextTabWithThatKey) {
    Start([](IDispatch* t) {
        InvokeWith(t, id::TabCaption, DISPATCH_PROPERTYPUT, {Variant::Long(1), Variant::String(L"&Alpha")});
        InvokeWith(t, id::TabCaption, DISPATCH_PROPERTYPUT, {Variant::Long(2), Variant::String(L"&Apple")});
        Put(t, id::ActiveTab, Variant::Long(1));
    });
    EXPECT_EQ(Active(), 1);
    Focus();
    Press({VK_MENU, 'A'});
    EXPECT_EQ(Active(), 2);
    Press({VK_MENU, 'A'});
    EXPECT_EQ(Active(), 1);
}

TEST_F(TabInputTest, WheelStepsBothWaysUnlessTurnedOffOrOnADisabledTab) {
    Start();
    Focus();
    MoveIn(150, 100);
    form().log().clear();
    Mouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(-WHEEL_DELTA));
    Pump();
    EXPECT_EQ(Active(), 1);
    EXPECT_EQ(Events(ev::MouseScrollUp).size(), 1u);
    Mouse(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA);
    Pump();
    EXPECT_EQ(Active(), 0);
    EXPECT_EQ(Events(ev::MouseScrollDown).size(), 1u);
    Mouse(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA);  // nothing before tab 0
    Pump();
    EXPECT_EQ(Active(), 0);

    form().log().clear();
    ASSERT_EQ(Put(t_, id::UseMouseWheelScroll, Variant::Bool(false)), S_OK);
    Mouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(-WHEEL_DELTA));
    Pump();
    EXPECT_EQ(Active(), 0);
    ASSERT_EQ(Put(t_, id::UseMouseWheelScroll, Variant::Bool(true)), S_OK);
    ASSERT_EQ(InvokeWith(t_, id::TabEnabled, DISPATCH_PROPERTYPUT, {Variant::Long(0), Variant::Bool(false)}), S_OK);
    Mouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(-WHEEL_DELTA));
    Pump();
    EXPECT_EQ(Active(), 0);
    EXPECT_EQ(Events(ev::MouseScrollUp).size(), 0u);
    EXPECT_EQ(Events(ev::MouseScrollDown).size(), 0u);
}

TEST_F(TabInputTest, CloseBoxEventsAndRemovalOnlyForAPressBegunInTheBox) {
    Start([](IDispatch* t) { Put(t, id::UseControlBox, Variant::Bool(true)); });
    const auto box = Box(0);
    MoveIn(box.left - 20, box.top + 4);
    MoveIn(box.left + 2, box.top + 4);
    MoveIn(box.left + 4, box.top + 5);
    MoveIn(box.left - 20, box.top + 4);
    std::vector<DISPID> boxes;
    for (DISPID d : EventsNoMoves())
        if (d == ev::ControlBoxEnter || d == ev::ControlBoxHover || d == ev::ControlBoxExit) boxes.push_back(d);
    EXPECT_EQ(boxes, (std::vector<DISPID>{ev::ControlBoxEnter, ev::ControlBoxHover, ev::ControlBoxExit}));

    // A press begun outside the box and let go inside it removes nothing.
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Pump();
    MoveIn(box.left + 2, box.top + 4);
    Mouse(MOUSEEVENTF_LEFTUP);
    Pump();
    EXPECT_EQ(AsLong(Get(t_, id::TabCount)), 3);
    EXPECT_EQ(Events(ev::TabRemove).size(), 0u);

    // Pressed again out of double-click reach of the last release.
    form().log().clear();
    MoveIn(box.left + 7, box.top + 4);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Pump();
    std::vector<DISPID> order;
    for (DISPID d : EventsNoMoves())
        if (d == ev::MouseDown || d == ev::ControlBoxMouseDown || d == ev::MouseUp || d == ev::ControlBoxMouseUp ||
            d == ev::TabRemove)
            order.push_back(d);
    EXPECT_EQ(order, (std::vector<DISPID>{ev::MouseDown, ev::ControlBoxMouseDown, ev::MouseUp, ev::ControlBoxMouseUp,
                                          ev::TabRemove}));
    EXPECT_EQ(AsLong(Get(t_, id::TabCount)), 2);
}

// A host that lets the control go inside an event its subclassed window
// raises (a close box's click removing the control, say): the control
// finishes that message alive, then goes whole, and the library may unload.
TEST_F(TabInputTest, AHostReleasingTheControlInsideAnEventLetsItGoWhole) {
    auto wheel = [&](short delta) {
        return [this, delta] {
            SendMessageW(tab_->ControlWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
        };
    };
    auto inBox = [&] { MoveIn(Box(0).left + 2, Box(0).top + 4); };
    struct Case {
        const char* name;
        DISPID event;
        std::function<void()> before, during;
    };
    const Case cases[] = {
        {"ControlBoxMouseUp", ev::ControlBoxMouseUp,
         [&] {
             inBox();
             Mouse(MOUSEEVENTF_LEFTDOWN);
             Pump();
         },
         [&] { Mouse(MOUSEEVENTF_LEFTUP); }},
        {"ControlBoxEnter", ev::ControlBoxEnter, [&] { MoveIn(Box(0).left - 20, Box(0).top + 4); }, inBox},
        {"MouseEnter", ev::MouseEnter, [] {}, [&] { MoveIn(150, 100); }},
        {"MouseHover", ev::MouseHover, [&] { MoveIn(150, 100); }, [&] { MoveIn(TabRect(0).left + 10, 10); }},
        {"MouseScrollUp", ev::MouseScrollUp, [&] { MoveIn(150, 100); }, wheel(-WHEEL_DELTA)},
        {"MouseScrollDown", ev::MouseScrollDown, [&] { MoveIn(150, 100); }, wheel(WHEEL_DELTA)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start([](IDispatch* t) { Put(t, id::UseControlBox, Variant::Bool(true)); });
        HWND window = tab_->ControlWindow();
        c.before();
        bool released = false, aliveInside = false;
        form().OnEvent([&](Site& site, DISPID which, DISPPARAMS*) {
            if (which != c.event || released) return;
            released = true;
            form().Remove(&site);
            aliveInside = IsWindow(window) != FALSE;
        });
        c.during();
        Pump();
        form().OnEvent({});
        ASSERT_TRUE(released);
        EXPECT_TRUE(aliveInside) << "the control went while its own message still ran";
        EXPECT_FALSE(IsWindow(window));
        tab_ = nullptr;
        t_ = nullptr;
        EXPECT_EQ(lumio::cThunkSubclass::LiveBlocks(), 0);
        EXPECT_EQ(DllCanUnloadNow(), S_OK);
        MoveTo(screen_.left - 30, screen_.top - 10);
        Pump();
    }
}

TEST_F(TabInputTest, HoverStopsWhenThePointerLeavesAndEnterLeavePair) {
    Start();
    const auto r = TabRect(1);
    MoveIn(r.left + 10, r.top + 5);
    EXPECT_TRUE(Tab(tab_)->hovering());
    EXPECT_EQ(Events(ev::MouseEnter).size(), 1u);
    MoveIn(50, 120);
    EXPECT_TRUE(WaitUntil(form_.get(), [&] { return !Tab(tab_)->hovering(); }));
    MoveTo(screen_.left - 30, screen_.top - 10);
    EXPECT_TRUE(WaitUntil(form_.get(), [&] { return !Events(ev::MouseLeave).empty(); }));
    EXPECT_EQ(Events(ev::MouseLeave).size(), 1u);
}

TEST_F(TabInputTest, ParentMovesAndSizesReportStatus) {
    Start();
    HWND window = form_->hWnd();
    RECT rc{};
    GetWindowRect(window, &rc);
    SendMessageW(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&rc));
    SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    SendMessageW(window, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&rc));
    SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    std::vector<std::wstring> texts;
    for (auto& e : form().log())
        if (!e.notice && e.id == ev::Status) texts.push_back(AsString(e.args.at(0)));
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Form is moving...", L"Finished Moving.", L"Form is sizing...",
                                                L"Finished Sizing."}));
}

TEST_F(TabInputTest, CancelledUnloadLeavesTheControlWorking) {
    Start();
    form().OnQueryUnload([](short& cancel, short) { cancel = 1; });
    EXPECT_FALSE(form().Unload());
    EXPECT_TRUE(Tab(tab_)->subclassed());
    SendMessageW(tab_->ControlWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(Active(), 1);
}

TEST_F(TabInputTest, TheParentWindowsEndTearsDownOnce) {
    Start([](IDispatch* t) { Put(t, id::ActiveTab, Variant::Long(2)); });
    form().log().clear();
    DestroyWindow(form().hWnd());
    EXPECT_EQ(Events(ev::TabSwitch).size(), 1u);
    EXPECT_FALSE(Tab(tab_)->subclassed());
    form_.reset();
    EXPECT_EQ(lumio::cThunkSubclass::LiveBlocks(), 0);
}

TEST_F(TabInputTest, TwoTabsOnOneFormCloseInEitherOrder) {
    for (bool firstFirst : {true, false}) {
        Form& f = NewForm();
        Site* a = LoadRunning(f, L"TabA", RECT{10, 10, 200, 150});
        Site* b = LoadRunning(f, L"TabB", RECT{210, 10, 400, 150});
        ASSERT_TRUE(a && b);
        ASSERT_TRUE(Tab(a)->subclassed() && Tab(b)->subclassed());
        f.Remove(firstFirst ? a : b);
        // The other still hears its parent.
        Site* left = firstFirst ? b : a;
        f.log().clear();
        SendMessageW(f.hWnd(), WM_MOVING, 0, 0);
        EXPECT_EQ(Events(ev::Status).size(), 1u) << firstFirst;
        f.Remove(left);
        EXPECT_EQ(lumio::cThunkSubclass::LiveBlocks(), 0) << firstFirst;
        SendMessageW(f.hWnd(), WM_MOVING, 0, 0);
    }
}

TEST_F(TabInputTest, ThousandRunningCyclesHoldNoObjects) {
    Form& f = NewForm();
    Site* design = f.Add(LumioTab::Create, L"Design", RECT{10, 10, 310, 210});
    ASSERT_NE(design, nullptr);
    ComPtr<lumio::MemoryPropertyBag> bag = f.Save(design);
    f.Remove(design);
    auto cycle = [&] {
        for (int i = 0; i < 100; ++i) {
            Site* s = f.Add(LumioTab::Create, L"Tab1", RECT{10, 10, 310, 210}, bag.get());
            ASSERT_NE(s, nullptr);
            f.Remove(s);
        }
    };
    EXPECT_TRUE(lumio::test::NoGrowth(cycle, 10));
    EXPECT_EQ(lumio::cThunkSubclass::LiveBlocks(), 0);
}

TEST_F(TabInputTest, AFailedDrawingDuringASwitchByTheUserLeavesInputWorking) {
    struct Case {
        const char* name;
        std::function<void()> first, second;
    };
    const Case cases[] = {
        {"keys", [&] { Press({VK_RIGHT}); }, [&] { Press({VK_RIGHT}); }},
        {"clicks", [&] { ClickAt(150, 10); }, [&] { ClickAt(250, 10); }},
        {"access keys", [&] { Press({VK_MENU, 'B'}); }, [&] { Press({VK_MENU, 'C'}); }},
    };
    for (const Case& c : cases) {
        Start([](IDispatch* t) {
            InvokeWith(t, id::TabCaption, DISPATCH_PROPERTYPUT, {Variant::Long(1), Variant::String(L"&Bee")});
            InvokeWith(t, id::TabCaption, DISPATCH_PROPERTYPUT, {Variant::Long(2), Variant::String(L"&Cee")});
        });
        Focus();
        ComPtr<IPictureDisp> broken = BrokenPicture::Create();
        InvokeWith(t_, id::TabPicture, DISPATCH_PROPERTYPUTREF, {Variant::Long(0), Variant::Object(broken.get())});
        c.first();
        EXPECT_FALSE(Tab(tab_)->busy()) << c.name;
        EXPECT_EQ(Active(), 1) << c.name;
        ASSERT_EQ(Call(t_, id::RemoveTabImages, {}), S_OK);
        c.second();
        EXPECT_EQ(Active(), 2) << c.name;
        EXPECT_FALSE(Tab(tab_)->busy()) << c.name;
    }
}

TEST_F(TabInputTest, WithoutAMouseLeaveServiceTheControlRunsUnsubclassed) {
    lumio::HideExportForTesting("TrackMouseEvent", "User32", true);
    lumio::HideExportForTesting("_TrackMouseEvent", "Comctl32", true);
    Form& f = NewForm();
    Site* s = LoadRunning(f, L"Tab1", RECT{10, 10, 310, 210});
    lumio::HideExportForTesting("TrackMouseEvent", "User32", false);
    lumio::HideExportForTesting("_TrackMouseEvent", "Comctl32", false);
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(Tab(s)->subclassed());
    // A new control placed at run time stays unsubclassed as well.
    Site* fresh = AddTab(f);
    ASSERT_NE(fresh, nullptr);
    EXPECT_FALSE(Tab(fresh)->subclassed());
}

TEST_F(TabInputTest, AHostsCallToTheMessageHandlerIsHandledAlike) {
    Start();
    ASSERT_EQ(Call(t_, id::zSubclass_Proc,
                   {Variant::Bool(false), Variant::Bool(false), Variant::Long(0), Variant::Long(0),
                    Variant::Long(WM_MOVING), Variant::Long(0), Variant::Long(0)}),
              S_OK);
    ASSERT_EQ(Events(ev::Status).size(), 1u);
    for (auto& e : form().log()) {
        if (!e.notice && e.id == ev::Status) {
            EXPECT_EQ(AsString(e.args.at(0)), L"Form is moving...");
        }
    }
}

}  // namespace
