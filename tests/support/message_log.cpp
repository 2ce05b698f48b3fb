#include "message_log.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace lumio::test {

const std::vector<UINT> MessageLog::kNoise = {
    WM_NCHITTEST, WM_SETCURSOR,     WM_MOUSEMOVE,       WM_NCMOUSEMOVE, WM_GETICON,
    WM_GETOBJECT, WM_IME_SETCONTEXT, WM_IME_NOTIFY,     WM_ENTERIDLE,   0x031F /* WM_DWMNCRENDERINGCHANGED */};

bool Matches(const Msg &expected, const SeenMessage &seen) {
    return expected.Message == seen.Message && (!expected.Window || expected.Window == seen.Window) &&
           (!expected.WParam || *expected.WParam == seen.WParam) && (!expected.LParam || *expected.LParam == seen.LParam);
}

namespace {

std::string Hex(unsigned long long v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llX", v);
    return buf;
}

} // namespace

std::string Describe(const Msg &expected) {
    std::string s = MessageName(expected.Message);
    if (expected.WParam) s += " w=" + Hex(*expected.WParam);
    if (expected.LParam) s += " l=" + Hex(static_cast<unsigned long long>(*expected.LParam));
    if (expected.Window) s += " @" + Hex(reinterpret_cast<uintptr_t>(expected.Window));
    return s;
}

std::string Describe(const SeenMessage &seen) {
    return MessageName(seen.Message) + " w=" + Hex(seen.WParam) + " l=" +
           Hex(static_cast<unsigned long long>(seen.LParam)) + " @" + Hex(reinterpret_cast<uintptr_t>(seen.Window));
}

::testing::AssertionResult CheckMessages(const Sequence<Msg> &expected, const std::vector<SeenMessage> &seen) {
    return CheckSequence(expected, seen, Matches, [](const auto &m) { return Describe(m); });
}

MessageLog::~MessageLog() {
    for (HWND w : watched_)
        if (IsWindow(w)) RemoveWindowSubclass(w, Proc, reinterpret_cast<UINT_PTR>(this));
}

void MessageLog::Watch(HWND w) {
    if (std::find(watched_.begin(), watched_.end(), w) != watched_.end()) return;
    if (SetWindowSubclass(w, Proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        watched_.push_back(w);
}

LRESULT CALLBACK MessageLog::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    auto *log = reinterpret_cast<MessageLog *>(ref);
    if (std::find(log->ignored_.begin(), log->ignored_.end(), msg) == log->ignored_.end())
        log->seen_.push_back({w, msg, wp, lp});
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(w, Proc, id);
        log->watched_.erase(std::remove(log->watched_.begin(), log->watched_.end(), w), log->watched_.end());
    }
    return DefSubclassProc(w, msg, wp, lp);
}

} // namespace lumio::test
