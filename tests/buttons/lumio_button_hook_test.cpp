// The button's message hook: its rules on top of the self-subclassing, the
// form it finds, and the life of its hooks beside the button and the form.
#include <thread>
#include <utility>

#include "button_fixture.h"
#include "button_hook.h"
#include "cThunkSubclass.h"
#include "form_lookup.h"
#include "live_objects.h"
#include "simple_dispatch.h"

namespace {

using lumio::ComPtr;
using lumio::ISubclassOwner;
using lumio::SimpleDispatch;
using lumio::cThunkSubclass;
using lumio::buttons::ButtonHook;
using lumio::host::Form;
using lumio::host::Site;
using namespace buttontest;
using namespace testhost;

using Call = std::pair<bool, UINT>;  // bBefore, message

struct Recorder : ISubclassOwner {
    std::vector<Call> calls;
    void zSubclass_Proc(bool bBefore, bool&, LRESULT&, HWND&, UINT& uMsg, WPARAM&, LPARAM&) override {
        calls.push_back({bBefore, uMsg});
    }
};

HWND PlainWindow() {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

LONG_PTR ProcOf(HWND h) { return GetWindowLongPtrW(h, GWLP_WNDPROC); }

TEST(ButtonHook, HooksLiveWindowsOfItsOwnThreadOnce) {
    Recorder r;
    ButtonHook hook(r);
    HWND w = PlainWindow();
    const LONG_PTR original = ProcOf(w);
    EXPECT_EQ(hook.pBlockOf(w), 0u);
    ASSERT_TRUE(hook.pHookWindow(w));
    const uintptr_t block = hook.pBlockOf(w);
    EXPECT_NE(block, 0u);
    EXPECT_FALSE(hook.pHookWindow(w)) << "a window already hooked here";
    EXPECT_EQ(hook.pBlockOf(w), block);

    HWND dead = PlainWindow();
    DestroyWindow(dead);
    EXPECT_FALSE(hook.pHookWindow(dead));
    EXPECT_FALSE(hook.pHookWindow(nullptr));

    HWND foreign = nullptr;
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr), done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        foreign = PlainWindow();
        SetEvent(made);
        WaitForSingleObject(done, INFINITE);
        DestroyWindow(foreign);
    });
    WaitForSingleObject(made, INFINITE);
    EXPECT_FALSE(hook.pHookWindow(foreign)) << "a window of another thread";
    SetEvent(done);
    other.join();
    CloseHandle(made);
    CloseHandle(done);

    hook.pUnhookWindow(w);
    EXPECT_EQ(hook.pBlockOf(w), 0u);
    EXPECT_EQ(ProcOf(w), original);
    EXPECT_FALSE(hook.HasHooks());
    hook.pUnhookWindow(w);  // no longer hooked: nothing
    DestroyWindow(w);
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
}

TEST(ButtonHook, FlagsPickThePhaseAndATableTakesThirtyTwoMessages) {
    Recorder r;
    ButtonHook hook(r);
    HWND w = PlainWindow();
    ASSERT_TRUE(hook.pHookWindow(w));
    hook.pAddHookMessage(w, WM_APP, ButtonHook::kBefore);
    hook.pAddHookMessage(w, WM_APP + 1, ButtonHook::kAfter);
    hook.pAddHookMessage(w, WM_APP + 2, ButtonHook::kBefore | ButtonHook::kAfter);
    for (UINT m = WM_APP; m <= WM_APP + 3; ++m) SendMessageW(w, m, 0, 0);
    EXPECT_EQ(r.calls, (std::vector<Call>{{true, WM_APP}, {false, WM_APP + 1}, {true, WM_APP + 2}, {false, WM_APP + 2}}));

    // The after-table holds two; thirty more fill it, the 33rd is ignored.
    const UINT base = WM_APP + 100;
    for (UINT m = base; m <= base + 30; ++m) hook.pAddHookMessage(w, m, ButtonHook::kAfter);
    r.calls.clear();
    SendMessageW(w, base + 29, 0, 0);
    SendMessageW(w, base + 30, 0, 0);
    EXPECT_EQ(r.calls, (std::vector<Call>{{false, base + 29}}));
    // The before-table counts apart.
    hook.pAddHookMessage(w, base + 30, ButtonHook::kBefore);
    r.calls.clear();
    SendMessageW(w, base + 30, 0, 0);
    EXPECT_EQ(r.calls, (std::vector<Call>{{true, base + 30}}));

    hook.pUnhookAll();
    EXPECT_FALSE(hook.HasHooks());
    DestroyWindow(w);
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
}

// A late-bound object with an hWnd, and a WindowState when it is a form.
ComPtr<SimpleDispatch> Holder(bool isForm, IDispatch* parent, long hwnd = 0x1234) {
    auto d = SimpleDispatch::Create();
    d->Add({DISPID_HWND, L"hWnd", [hwnd](VARIANT* r) {
                r->vt = VT_I4;
                r->lVal = hwnd;
                return S_OK;
            }});
    if (isForm)
        d->Add({7, L"WindowState", [](VARIANT* r) {
                    r->vt = VT_I4;
                    r->lVal = 0;
                    return S_OK;
                }});
    if (parent) {
        ComPtr<IDispatch> keep(parent);
        d->Add({8, L"Parent", [keep](VARIANT* r) {
                    r->vt = VT_DISPATCH;
                    r->pdispVal = ComPtr<IDispatch>(keep).detach();
                    return S_OK;
                }});
    }
    return d;
}

TEST(FormLookup, TheFormWithinThreeParents) {
    ComPtr<SimpleDispatch> form = Holder(true, nullptr, 0x4321);
    // depth: user controls between the control's parent and the form.
    for (int depth = 0; depth <= 3; ++depth) {
        ComPtr<IDispatch> at(form.get());
        for (int i = 0; i < depth; ++i) at = ComPtr<IDispatch>(Holder(false, at.get()).get());
        ComPtr<IDispatch> found = lumio::FindForm(at.get(), 3);
        EXPECT_EQ(found.get() == static_cast<IDispatch*>(form.get()), depth < 3) << depth;
    }
    EXPECT_EQ(lumio::FormWindow(form.get()), reinterpret_cast<HWND>(0x4321));
    EXPECT_FALSE(lumio::FindForm(nullptr, 3));
    EXPECT_FALSE(lumio::FindForm(Holder(false, nullptr).get(), 3)) << "no form and no Parent";
    EXPECT_EQ(lumio::FormWindow(nullptr), nullptr);
}

class ButtonHookTest : public ButtonTest {
protected:
    void Settle() { EXPECT_TRUE(testhost::Settle(form_.get())); }
};

TEST_F(ButtonHookTest, HooksGoWithTheButtonWhateverTheUserModeAtTheEnd) {
    Form& design = NewForm(false);
    AddButton(design);
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0) << "nothing is hooked at design time";

    Form& f = NewForm();
    const LONG_PTR original = ProcOf(f.hWnd());
    Site* s = AddButton(f);
    EXPECT_NE(ProcOf(f.hWnd()), original);
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 2);  // its own window and the form's
    f.SetUserMode(false);
    f.Remove(s);
    Settle();
    EXPECT_EQ(ProcOf(f.hWnd()), original);
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
}

WNDPROC g_foreignPrev = nullptr;
int g_foreignSeen = 0;
LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    ++g_foreignSeen;
    return CallWindowProcW(g_foreignPrev, h, m, w, l);
}

TEST_F(ButtonHookTest, ASecondSubclasserOfTheFormLeavesBeforeOrAfterTheButton) {
    for (bool foreignLeavesFirst : {true, false}) {
        SCOPED_TRACE(foreignLeavesFirst ? "foreign subclasser leaves first" : "button goes first");
        Form& f = NewForm();
        const HWND fw = f.hWnd();
        const LONG_PTR original = ProcOf(fw);
        Site* s = AddButton(f);
        g_foreignPrev = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(fw, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
        g_foreignSeen = 0;
        SendMessageW(fw, WM_ACTIVATE, WA_ACTIVE, 0);
        if (foreignLeavesFirst) {
            SetWindowLongPtrW(fw, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignPrev));
            f.Remove(s);
        } else {
            f.Remove(s);
            // The button is gone; its block under the foreign procedure only passes messages on.
            SendMessageW(fw, WM_ACTIVATE, WA_INACTIVE, 0);
            EXPECT_EQ(SendMessageW(fw, WM_GETTEXTLENGTH, 0, 0), 5);  // "Form1"
            SetWindowLongPtrW(fw, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignPrev));
        }
        EXPECT_GT(g_foreignSeen, 0);
        EXPECT_EQ(SendMessageW(fw, WM_GETTEXTLENGTH, 0, 0), 5);
        Settle();
        EXPECT_EQ(ProcOf(fw), original);
        EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
    }
}

TEST_F(ButtonHookTest, AFormUnloadedInsideClick) {
    int clicks = 0;
    auto cycle = [&] {
        for (int i = 0; i < 10; ++i) {
            Form& f = NewForm();
            const LONG_PTR original = ProcOf(f.hWnd());
            Site* s = AddButton(f);
            f.OnEvent([&](Site&, DISPID id, DISPPARAMS*) {
                if (id != ev::Click) return;
                ++clicks;
                form_->Unload();
            });
            const HWND h = s->ControlWindow();
            PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
            PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
            Settle();
            EXPECT_FALSE(IsWindow(h));
            EXPECT_EQ(ProcOf(f.hWnd()), original);
            EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
        }
    };
    EXPECT_TRUE(lumio::test::NoGrowth(cycle, 9));
    EXPECT_EQ(clicks, 100);
}

TEST_F(ButtonHookTest, AThousandButtonsComeAndGoWithoutLeaks) {
    Form& f = NewForm();
    const LONG_PTR original = ProcOf(f.hWnd());
    int n = 0;
    auto cycle = [&] {
        for (int i = 0; i < 100; ++i, ++n) {
            Site* s = AddButton(f);
            auto* b = Button(s);
            b->put_Caption(L"Go");
            if (n % 2) b->putref_PictureNormal(SolidPicture(16, 16, RGB(0, 128, 0)));
            b->put_Enabled(n % 3 != 0);
            RedrawWindow(s->ControlWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            f.Remove(s);
        }
    };
    EXPECT_TRUE(lumio::test::NoGrowth(cycle, 10));
    EXPECT_EQ(n, 1100);
    EXPECT_EQ(ProcOf(f.hWnd()), original);
    EXPECT_EQ(cThunkSubclass::LiveBlocks(), 0);
}

}  // namespace
