#include "idle_watch.h"

#include "message_log.h"
#include "wait_for.h"

namespace lumio::test {

std::vector<IdleActivity> WatchIdle(host::Form& form, const std::vector<host::Site*>& sites,
                                    std::chrono::milliseconds span) {
    MessageLog messages;
    std::vector<HWND> windows;
    for (host::Site* s : sites) {
        windows.push_back(s->ControlWindow());
        messages.Watch(windows.back());
    }
    form.log().clear();
    // Nothing is awaited: the whole span is the measure.
    WaitUntil([] { return false; }, span, [&form](MSG& m) { return form.PreTranslate(m); });
    std::vector<IdleActivity> out(sites.size());
    for (size_t i = 0; i < sites.size(); ++i) {
        for (const SeenMessage& m : messages.Seen())
            if (m.Window == windows[i] && m.Message == WM_PAINT) ++out[i].paints;
        for (const host::LogEntry& e : form.log())
            if (e.notice && e.control == sites[i]->name()) ++out[i].notices;
    }
    return out;
}

}  // namespace lumio::test
