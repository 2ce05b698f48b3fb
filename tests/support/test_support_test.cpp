// The shared test helpers: the sequence matcher's optional entries and its report,
// the live-object counts, and the waits.
#include "live_objects.h"
#include "message_log.h"
#include "sequence_check.h"
#include "wait_for.h"

#include <string>
#include <vector>

namespace {

using namespace lumio::test;

TEST(SequenceCheck, OptionalEntriesMayBeMissingButNothingElse) {
    const Sequence<int> click{"click", {1, Maybe(7), 2, 3, Maybe(7)}};
    struct Case {
        std::vector<int> seen;
        bool matches;
    } cases[] = {
        {{1, 2, 3}, true},
        {{1, 7, 2, 3}, true},
        {{1, 7, 2, 3, 7}, true},
        {{1, 2, 3, 7}, true},
        {{1, 7, 7, 2, 3}, false}, // an optional entry comes at most once
        {{1, 2, 7, 3}, false},    // and only in its place
        {{1, 2}, false},
        {{1, 2, 3, 4}, false},
        {{}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(static_cast<bool>(CheckSequence(click, c.seen)), c.matches) << ::testing::PrintToString(c.seen);
    EXPECT_TRUE(CheckSequence(Sequence<int>{"nothing", {}}, std::vector<int>{}));
    EXPECT_TRUE(CheckSequence(Sequence<int>{"all optional", {Maybe(1), Maybe(2)}}, std::vector<int>{2}));
}

TEST(SequenceCheck, AnOptionalEntryEqualToTheNextRequiredOneIsNotTakenGreedily) {
    // A greedy matcher would give the only 5 to the optional step and then miss it.
    EXPECT_TRUE(CheckSequence(Sequence<int>{"ambiguous", {Maybe(5), 5, 6}}, std::vector<int>{5, 6}));
}

TEST(SequenceCheck, TheReportSaysWhereTheSequencesPart) {
    auto r = CheckSequence(Sequence<int>{"press", {1, Maybe(4), 2, 3}}, std::vector<int>{1, 9, 3});
    ASSERT_FALSE(r);
    std::string m = r.message();
    EXPECT_NE(m.find("\"press\" differs after 1 matching entries: seen 9, expected [4] or 2"), std::string::npos) << m;
    EXPECT_NE(m.find("expected: 1 [4] 2 3"), std::string::npos) << m;
    EXPECT_NE(m.find("seen:     1 >>9 3"), std::string::npos) << m;

    auto shortSeen = CheckSequence(Sequence<int>{"short", {1, 2}}, std::vector<int>{1});
    EXPECT_NE(std::string(shortSeen.message()).find("nothing more was seen, expected 2"), std::string::npos);
}

LRESULT CALLBACK Plain(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

HWND MakeWindow(HWND parent = nullptr) {
    static const ATOM cls = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Plain;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumioSupportTest";
        return RegisterClassW(&wc);
    }();
    (void)cls;
    return CreateWindowExW(0, L"LumioSupportTest", L"", parent ? WS_CHILD : WS_OVERLAPPED, 0, 0, 50, 50, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(MessageLog, RecordsSentAndPostedMessagesInOrderWithoutNoise) {
    HWND w = MakeWindow();
    ASSERT_NE(w, nullptr);
    {
        MessageLog log;
        log.Watch(w);
        PostMessageW(w, WM_USER + 1, 7, 0);
        SendMessageW(w, WM_NCHITTEST, 0, 0);
        SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
        EXPECT_TRUE(Settle());
        EXPECT_TRUE(log.Check({"posted after sent", {Msg(WM_SETTEXT), Maybe(Msg(WM_GETICON)), Msg(WM_USER + 1, 7)}}));
        EXPECT_FALSE(log.Check({"wrong parameter", {Msg(WM_SETTEXT), Msg(WM_USER + 1, 8)}}));
        EXPECT_FALSE(log.Check({"wrong window", {Msg(WM_SETTEXT).To(GetDesktopWindow()), Msg(WM_USER + 1)}}));
        log.Clear();
        DestroyWindow(w);
        EXPECT_TRUE(log.Check({"destroy", {Msg(WM_DESTROY), Msg(WM_NCDESTROY)}})) << ::testing::PrintToString(log.Seen().size());
    }
    EXPECT_EQ(MessageName(WM_LBUTTONDOWN), "WM_LBUTTONDOWN");
    EXPECT_EQ(MessageName(WM_USER + 3), "WM_USER+3");
    EXPECT_EQ(MessageName(RegisterWindowMessageW(L"LumioSupportMessage")), "LumioSupportMessage");
}

// The table holds a few objects of the system's own that no handle query answers for,
// so the two counts differ by a constant.
int GdiByType() {
    int n = 0;
    for (uintptr_t h = 1; h <= 0xFFFF; ++h)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0) ++n;
    return n;
}

TEST(LiveObjects, CountWhatIsMadeAndDestroyed) {
    // The first round warms up (the first icon load brings the shared system icon). The
    // thread keeps a window throughout, as a test's form does: the system adds a window
    // of its own (the input method's) while the thread has any.
    HWND anchor = MakeWindow();
    for (int round = 0; round < 2; ++round) {
        const LiveObjects before = CountLiveObjects();
        const int typedBefore = GdiByType();
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        HDC dc = CreateCompatibleDC(nullptr);
        HWND top = MakeWindow();
        HWND child = MakeWindow(top);
        HWND messageOnly = CreateWindowExW(0, L"LumioSupportTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                           GetModuleHandleW(nullptr), nullptr);
        HMENU menu = CreatePopupMenu();
        HICON icon = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
        ASSERT_TRUE(brush && dc && top && child && messageOnly && menu && icon);
        const LiveObjects more = CountLiveObjects();
        EXPECT_EQ(more.Gdi - before.Gdi, GdiByType() - typedBefore)
            << "the handle table follows the system's answer per handle";
        DeleteObject(brush);
        DeleteDC(dc);
        DestroyWindow(top);
        DestroyWindow(messageOnly);
        DestroyMenu(menu);
        DestroyIcon(icon);
        const LiveObjects after = CountLiveObjects();
        if (round == 0) continue;
        EXPECT_EQ(more.Windows, before.Windows + 3);
        EXPECT_EQ(more.Menus, before.Menus + 1);
        EXPECT_EQ(more.Icons, before.Icons + 1);
        EXPECT_GE(more.Gdi, before.Gdi + 2) << "an icon holds bitmaps of its own";
        EXPECT_EQ(after, before);
    }
    DestroyWindow(anchor);
}

TEST(LiveObjects, NoGrowthFindsALeakAndPassesACleanCycle) {
    std::vector<HBRUSH> leaked;
    EXPECT_FALSE(NoGrowth([&] { leaked.push_back(CreateSolidBrush(RGB(0, 0, 0))); }));
    for (HBRUSH b : leaked) DeleteObject(b);
    std::vector<HWND> windows;
    EXPECT_FALSE(NoGrowth([&] { windows.push_back(MakeWindow()); }));
    for (HWND w : windows) DestroyWindow(w);
    EXPECT_TRUE(NoGrowth([] {
        HWND w = MakeWindow();
        HDC dc = GetDC(w);
        HBITMAP b = CreateCompatibleBitmap(dc, 4, 4);
        DeleteObject(b);
        ReleaseDC(w, dc);
        DestroyWindow(w);
    }));
}

TEST(Wait, SettleHandlesWhatHandlingQueues) {
    // Each posted message posts the next: the queue is at rest only after the last.
    static int left = 0;
    HWND w = MakeWindow();
    SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM wp, LPARAM lp) CALLBACK -> LRESULT {
                          if (m == WM_USER && --left > 0) PostMessageW(h, WM_USER, 0, 0);
                          return DefWindowProcW(h, m, wp, lp);
                      }));
    left = 50;
    PostMessageW(w, WM_USER, 0, 0);
    EXPECT_TRUE(Settle());
    EXPECT_EQ(left, 0);

    // A filter sees each message first and can keep it from the window.
    left = 5;
    int filtered = 0;
    PostMessageW(w, WM_USER, 0, 0);
    EXPECT_TRUE(Settle([&](MSG &m) { return m.message == WM_USER && ++filtered; }));
    EXPECT_EQ(filtered, 1);
    EXPECT_EQ(left, 5);
    DestroyWindow(w);
}

TEST(Wait, WaitUntilEndsAtTheConditionOrTheDeadline) {
    int ticks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
    // Thread timers without a procedure arrive as messages with no window: counted by the filter.
    auto count = [&](MSG &m) { return m.message == WM_TIMER && ++ticks; };
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 3; }, kDeadline, count));
    KillTimer(nullptr, timer);
    auto start = GetTickCount();
    EXPECT_FALSE(WaitUntil([] { return false; }, std::chrono::milliseconds(100)));
    EXPECT_GE(GetTickCount() - start, 90u);
}

TEST(Wait, ActWhenActsOnceWhenReadyAndNotAfterItsDeadline) {
    using std::chrono::milliseconds;
    bool ready = false;
    int acted = 0;
    ActWhen([&] { return ready; }, [&] { ++acted; });
    EXPECT_FALSE(WaitUntil([&] { return acted > 0; }, milliseconds(60)));
    ready = true;
    EXPECT_TRUE(WaitUntil([&] { return acted > 0; }));
    EXPECT_FALSE(WaitUntil([&] { return acted > 1; }, milliseconds(60)));

    bool late = false;
    int lateActs = 0;
    ActWhen([&] { return late; }, [&] { ++lateActs; }, milliseconds(20));
    EXPECT_FALSE(WaitUntil([] { return false; }, milliseconds(80)));
    late = true;
    EXPECT_FALSE(WaitUntil([&] { return lateActs > 0; }, milliseconds(60)));
}

} // namespace
