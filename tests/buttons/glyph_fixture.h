#pragma once
// The check box and the option button in our container: adding them, real
// mouse and keyboard input, the events they raised and what they show.
#include <functional>
#include <vector>

#include "test_host.h"
#include "window_capture.h"

namespace glyphtest {

class GlyphTest : public testhost::OleTest {
protected:
    using Create = lumio::host::CreateFunction;
    lumio::host::Site* Add(Create create, const wchar_t* name, RECT rect = {20, 20, 180, 44},
                           IPropertyBag* bag = nullptr, lumio::host::Site* container = nullptr);
    // Events (not notices) of one control, or of all with nullptr, since the log was cleared.
    std::vector<DISPID> Events(const wchar_t* control = nullptr, bool moves = false) const;
    std::vector<DISPID> Notices(const wchar_t* control = nullptr) const;
    void Pump() { EXPECT_TRUE(testhost::Settle(form_.get())); }
    bool WaitFor(const std::function<bool()>& done) { return testhost::WaitUntil(form_.get(), done); }

    static POINT ScreenPoint(HWND hwnd, int x, int y);
    static void MoveTo(POINT p);
    static void Button(bool down);
    static void Key(WORD vk, bool up);
    void Click(HWND hwnd, int x, int y);
    void Tap(WORD vk);
    // Moves the pointer well away from the form.
    static void MoveAway();
    shots::Capture Look(HWND hwnd) {
        Pump();
        return shots::CaptureWindow(hwnd);
    }
};

}  // namespace glyphtest
