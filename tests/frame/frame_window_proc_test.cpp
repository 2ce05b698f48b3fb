#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "cThunkSubclass.h"
#include "module_lock.h"
#include "modSubClasser.h"

using namespace lumio;

namespace {

constexpr UINT M1 = WM_USER + 1;
std::vector<std::string> g_log;

LRESULT CALLBACK BaseProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == M1) {
        g_log.push_back("prev w=" + std::to_string(w));
        return 100 + LRESULT(w);
    }
    return DefWindowProcW(h, m, w, l);
}

struct FakeFrame : IFrameWindowProc {
    LONG refs = 1;
    LONG refsDuringCall = 0;
    HWND hWnd = nullptr;
    WNDPROC prev = nullptr;
    bool dropPropertyInCall = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return ULONG(--refs); }
    void WindowProc(UINT& uMsg, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override {
        if (uMsg != M1) {
            result = CallWindowProcA(prev, hWnd, uMsg, wParam, lParam);
            return;
        }
        refsDuringCall = refs;
        g_log.push_back("frame w=" + std::to_string(wParam));
        if (dropPropertyInCall) {
            RemovePropA(hWnd, kFrameObjectProp);
            Release();  // the owner lets go while the call still runs
        }
        wParam += 1;  // passed on as changed
        result = CallWindowProcA(prev, hWnd, uMsg, wParam, lParam) + 1000;
    }
};

class FrameWindowProcTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = BaseProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumioFrameProcTest";
        RegisterClassW(&wc);
    }
    void SetUp() override {
        g_log.clear();
        hwnd_ = CreateWindowExW(0, L"LumioFrameProcTest", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        original_ = GetWindowLongPtrA(hwnd_, GWLP_WNDPROC);
    }
    void TearDown() override {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
    HWND hwnd_ = nullptr;
    LONG_PTR original_ = 0;
};

TEST_F(FrameWindowProcTest, FindsTheFrameThroughItsPropertyAndHoldsAReference) {
    FakeFrame frame;
    frame.hWnd = hwnd_;
    const long locks = ModuleLockCount();
    SetPropA(hwnd_, kFrameObjectProp, static_cast<IFrameWindowProc*>(&frame));
    frame.prev = AttachFrameWindowProc(hwnd_);
    ASSERT_NE(frame.prev, nullptr);
    EXPECT_EQ(AttachFrameWindowProc(hwnd_), nullptr) << "never chained to itself";
    EXPECT_EQ(ModuleLockCount(), locks + 1);
    EXPECT_EQ(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(FrameWindowProcAddress()));

    EXPECT_EQ(SendMessageA(hwnd_, M1, 2, 0), 1103);
    EXPECT_EQ(g_log, (std::vector<std::string>{"frame w=2", "prev w=3"}));
    EXPECT_EQ(frame.refsDuringCall, 2);
    EXPECT_EQ(frame.refs, 1);

    // The frame drops its property and its owner's reference mid-call: the
    // call keeps it alive to the end, later messages go to the old procedure.
    frame.dropPropertyInCall = true;
    frame.AddRef();  // the reference the owner gives up inside the call
    EXPECT_EQ(SendMessageA(hwnd_, M1, 4, 0), 1105);
    EXPECT_EQ(frame.refs, 1);
    g_log.clear();
    EXPECT_EQ(SendMessageA(hwnd_, M1, 6, 0), 106) << "no frame: forwarded, not answered 0";
    EXPECT_EQ(g_log, (std::vector<std::string>{"prev w=6"}));

    DetachFrameWindowProc(hwnd_);
    EXPECT_EQ(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC), original_);
    EXPECT_EQ(ModuleLockCount(), locks);
}

TEST_F(FrameWindowProcTest, StaysAndForwardsUnderALaterSubclasser) {
    ASSERT_NE(AttachFrameWindowProc(hwnd_), nullptr);
    struct Quiet : ISubclassOwner {
        void zSubclass_Proc(bool, bool&, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM&) override {}
    } owner;
    cThunkSubclass later(owner);
    ASSERT_EQ(later.pAttachThunk(hwnd_), 0);
    DetachFrameWindowProc(hwnd_);  // not on top: must stay in the chain
    EXPECT_EQ(SendMessageA(hwnd_, M1, 1, 0), 101);
    later.pDetachThunk(hwnd_);
    EXPECT_EQ(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(FrameWindowProcAddress()));
    EXPECT_EQ(SendMessageA(hwnd_, M1, 2, 0), 102);
    EXPECT_NE(GetPropA(hwnd_, "lvCFrame_PrevProc"), nullptr);
    // Its own property, and its hold on the module, go with the window.
    const long locks = ModuleLockCount();
    DestroyWindow(hwnd_);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_EQ(ModuleLockCount(), locks - 1);
}

TEST_F(FrameWindowProcTest, PropertyRemovedAtDestruction) {
    // Observed from the last message the window gets.
    static bool propertyAfterNcDestroy;
    struct Watch : ISubclassOwner {
        void zSubclass_Proc(bool, bool&, LRESULT&, HWND& h, UINT& m, WPARAM&, LPARAM&) override {
            if (m == WM_NCDESTROY) propertyAfterNcDestroy = GetPropA(h, "lvCFrame_PrevProc") != nullptr;
        }
    } watch;
    cThunkSubclass outer(watch);
    ASSERT_NE(AttachFrameWindowProc(hwnd_), nullptr);
    outer.pAttachThunk(hwnd_);
    outer.pWatchMessage(hwnd_, WM_NCDESTROY, mpAfter);
    propertyAfterNcDestroy = true;
    DestroyWindow(hwnd_);
    EXPECT_FALSE(propertyAfterNcDestroy);
}

TEST_F(FrameWindowProcTest, WithoutFrameOrPreviousProcedureTheDefaultAnswers) {
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameWindowProcAddress()));
    SetWindowTextA(hwnd_, "abc");
    char text[8]{};
    EXPECT_EQ(GetWindowTextA(hwnd_, text, 8), 3) << "DefWindowProcA keeps the text";
    EXPECT_STREQ(text, "abc");
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, original_);
}

TEST(ObjectFromAddress, ZeroLeavesTheObjectAlone) {
    FakeFrame f;
    ComPtr<IFrameWindowProc> ref(&f);
    EXPECT_FALSE(ObjectFromAddress(0, ref));
    EXPECT_EQ(ref.get(), &f);
    EXPECT_EQ(f.refs, 2);
    FakeFrame g;
    EXPECT_TRUE(ObjectFromAddress(reinterpret_cast<uintptr_t>(static_cast<IFrameWindowProc*>(&g)), ref));
    EXPECT_EQ(g.refs, 2);
    EXPECT_EQ(f.refs, 1);
}

}  // namespace
