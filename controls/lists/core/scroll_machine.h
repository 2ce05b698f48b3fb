#pragma once
// The behaviour of a skinned scroll bar: property rules, steps, press, drag,
// hover and the four timers. The window side feeds it messages and carries out
// what it asks of its ScrollHost.
#include <cstdint>

#include "scroll_geometry.h"

namespace lumio::lists {

enum ScrollTimerId : int { kTimerDelay = 1, kTimerRepeat = 2, kTimerHot = 3, kTimerLeave = 4 };

class ScrollHost {
public:
    virtual ~ScrollHost() = default;
    virtual void Invalidate() = 0;
    virtual void RaiseChange() = 0;
    virtual void RaiseScroll() = 0;
    virtual void StartTimer(int id, int32_t milliseconds) = 0;
    virtual void StopTimer(int id) = 0;
    // The cursor in client coordinates; false when it cannot be read.
    virtual bool CursorPos(int32_t& x, int32_t& y) = 0;
    // Whether the window under the cursor is the bar's own.
    virtual bool CursorOverBar() = 0;
};

// The ten stored properties, as a bag holds them (unchecked).
struct ScrollProperties {
    int32_t min = 0, max = 100, value = 0, smallChange = 1, largeChange = 10;
    int32_t changeDelay = 500, changeFrequency = 50, orientation = 0;
    bool showButtons = true;
};

// Cells of each part for the painter.
struct ScrollPaintStates {
    int tlButton = 0, brButton = 0, tlTrack = 0, brTrack = 0, thumb = 0;
    bool trackShown = false;
};

class ScrollMachine {
public:
    explicit ScrollMachine(ScrollHost& host) : host_(host) { DoLayout(); }

    const ScrollProperties& Properties() const { return p_; }
    int64_t Range() const { return range_; }
    bool Horizontal() const { return p_.orientation == 1; }

    // Property writes with their clamping; only Value raises Change.
    void SetMin(int32_t v);
    void SetMax(int32_t v);
    void SetValue(int32_t v);
    void SetSmallChange(int32_t v);
    void SetLargeChange(int32_t v);
    void SetChangeDelay(int32_t v);
    void SetChangeFrequency(int32_t v);
    void SetOrientation(int32_t v);
    void SetShowButtons(bool v);

    // Stored values as read, without clamping, then laid out.
    void Load(const ScrollProperties& stored);
    void SetClientSize(int32_t width, int32_t height);
    void Relayout();

    const ScrollLayout& Layout() const { return layout_; }
    int32_t ThumbSize() const { return thumbSize_; }
    int32_t ThumbPos() const { return thumbPos_; }
    int PressedPart() const { return pressed_; }
    bool BarHover() const { return barHover_; }

    bool StepDown(int64_t amount, bool force);
    bool StepUp(int64_t amount, bool force);

    // keys: the key-state word of the message; x, y already sign-extended.
    void MouseDown(uint32_t keys, int32_t x, int32_t y);
    void MouseMove(uint32_t keys, int32_t x, int32_t y);
    // Button up, cancel mode and a lost capture.
    void MouseUp();
    void Timer(int id);

    ScrollPaintStates PaintStates(bool enabled) const;

private:
    void DoLayout();
    void ThumbFromValue();
    void Start(int id, int32_t ms);
    void Stop(int id);
    int32_t Along(int32_t x, int32_t y) const { return Horizontal() ? x : y; }
    int32_t Thickness() const { return Horizontal() ? height_ : width_; }

    ScrollHost& host_;
    ScrollProperties p_;
    int64_t range_ = 100;
    int32_t width_ = 0, height_ = 0;
    ScrollLayout layout_;
    int32_t thumbSize_ = kMinThumbSize, thumbPos_ = 0;

    int pressed_ = kPartNone;
    bool tlPressed_ = false, brPressed_ = false, tlTrackPressed_ = false, brTrackPressed_ = false, dragging_ = false;
    bool tlHot_ = false, brHot_ = false, thumbHot_ = false, barHover_ = false;
    int32_t lastX_ = 0, lastY_ = 0;
    int32_t dragOffset_ = 0, dragStartValue_ = 0;
    int hoverPart_ = kPartNone;
};

}  // namespace lumio::lists
