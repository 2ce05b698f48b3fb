#pragma once
// Messages as the window procedures of chosen windows receive them, and expected
// message sequences to check them against (see sequence_check.h).
#include "sequence_check.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace lumio::test {

struct SeenMessage {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

// An expected message: which one, and its window and parameters where they matter.
struct Msg {
    Msg(UINT message) : Message(message) {}
    Msg(UINT message, WPARAM wp) : Message(message), WParam(wp) {}
    Msg(UINT message, WPARAM wp, LPARAM lp) : Message(message), WParam(wp), LParam(lp) {}
    // The same message, expected at this window only.
    Msg To(HWND w) const {
        Msg m = *this;
        m.Window = w;
        return m;
    }
    UINT Message;
    std::optional<WPARAM> WParam;
    std::optional<LPARAM> LParam;
    HWND Window = nullptr; // nullptr: any watched window
};

// "WM_LBUTTONDOWN", a registered message's name, or the number in hexadecimal.
std::string MessageName(UINT message);
bool Matches(const Msg &expected, const SeenMessage &seen);
std::string Describe(const Msg &expected);
std::string Describe(const SeenMessage &seen);

::testing::AssertionResult CheckMessages(const Sequence<Msg> &expected, const std::vector<SeenMessage> &seen);

// Records what reaches the window procedures of the watched windows (of this thread),
// sent or dispatched, in order. It sees a message before the window's own procedure,
// and before any subclass installed earlier: watch a window once it is fully made.
class MessageLog {
public:
    // What the window system sends of its own at any time (hit tests, the cursor,
    // pointer moves, icons, accessibility, the input method), left out by default.
    static const std::vector<UINT> kNoise;

    explicit MessageLog(std::vector<UINT> ignored = kNoise) : ignored_(std::move(ignored)) {}
    ~MessageLog();
    MessageLog(const MessageLog &) = delete;
    MessageLog &operator=(const MessageLog &) = delete;

    void Watch(HWND w);
    const std::vector<SeenMessage> &Seen() const { return seen_; }
    void Clear() { seen_.clear(); }
    ::testing::AssertionResult Check(const Sequence<Msg> &expected) const { return CheckMessages(expected, seen_); }

private:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    std::vector<UINT> ignored_;
    std::vector<HWND> watched_;
    std::vector<SeenMessage> seen_;
};

} // namespace lumio::test
