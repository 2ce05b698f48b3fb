#include "wait_for.h"

#include <algorithm>
#include <map>
#include <utility>

namespace lumio::test {

namespace {

// What keeps the queue busy; timers are left out on purpose (see Settle).
constexpr UINT kBusy = QS_POSTMESSAGE | QS_SENDMESSAGE | QS_INPUT | QS_PAINT;

// Until the queue is empty, or the deadline has passed: a window that keeps
// queueing paints for itself never empties it.
void HandleQueued(const MessageFilter &filter, std::chrono::steady_clock::time_point end) {
    MSG msg;
    while (std::chrono::steady_clock::now() < end && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // A quit message here has no loop to end; it is dropped as the tests' loops always did.
        if (msg.message == WM_QUIT) continue;
        if (filter && filter(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool QueueAtRest() { return HIWORD(GetQueueStatus(kBusy)) == 0; }

struct PendingAct {
    std::function<bool()> ready;
    std::function<void()> act;
    std::chrono::steady_clock::time_point end;
};

std::map<UINT_PTR, PendingAct> &PendingActs() {
    static std::map<UINT_PTR, PendingAct> acts;
    return acts;
}

void CALLBACK ActTick(HWND, UINT, UINT_PTR id, DWORD) {
    auto &acts = PendingActs();
    auto it = acts.find(id);
    if (it == acts.end()) {
        KillTimer(nullptr, id);
        return;
    }
    const bool ready = it->second.ready();
    if (!ready && std::chrono::steady_clock::now() < it->second.end) return;
    KillTimer(nullptr, id);
    // Off the list before it runs: the act may run a loop of its own that ticks again.
    PendingAct done = std::move(it->second);
    acts.erase(it);
    if (ready) done.act();
}

} // namespace

bool WaitUntil(const std::function<bool()> &done, std::chrono::milliseconds deadline, const MessageFilter &filter) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        HandleQueued(filter, end);
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

void ActWhen(std::function<bool()> ready, std::function<void()> act, std::chrono::milliseconds deadline) {
    const UINT_PTR id = SetTimer(nullptr, 0, 10, &ActTick);
    PendingActs()[id] = {std::move(ready), std::move(act), std::chrono::steady_clock::now() + deadline};
}

} // namespace lumio::test
