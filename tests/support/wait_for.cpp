#include "wait_for.h"

#include <algorithm>

namespace lumio::test {

namespace {

// What keeps the queue busy; timers are left out on purpose (see Settle).
constexpr UINT kBusy = QS_POSTMESSAGE | QS_SENDMESSAGE | QS_INPUT | QS_PAINT;

void HandleQueued(const MessageFilter &filter) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // A quit message here has no loop to end; it is dropped as the tests' loops always did.
        if (msg.message == WM_QUIT) continue;
        if (filter && filter(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool QueueAtRest() { return HIWORD(GetQueueStatus(kBusy)) == 0; }

} // namespace

bool WaitUntil(const std::function<bool()> &done, std::chrono::milliseconds deadline, const MessageFilter &filter) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        HandleQueued(filter);
        if (done()) return true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return done();
        // Wakes on the next message; the cap lets conditions that no message announces be seen too.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<long long>(left.count(), 10)),
                                  QS_ALLINPUT);
    }
}

bool Settle(const MessageFilter &filter, std::chrono::milliseconds deadline) {
    // At rest twice in a row: the window system may queue input or paints in answer
    // to what was just handled, after the queue first looks empty.
    int quiet = 0;
    return WaitUntil(
        [&] {
            quiet = QueueAtRest() ? quiet + 1 : 0;
            return quiet >= 2;
        },
        deadline, filter);
}

} // namespace lumio::test
