#include "scroll_machine.h"

#include <algorithm>
#include <limits>

namespace lumio::lists {
namespace {

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

void ScrollMachine::DoLayout() {
    layout_ = LayoutParts(width_, height_, Horizontal(), p_.showButtons);
    thumbSize_ = lists::ThumbSize(layout_.trackLength, range_, p_.largeChange);
    ThumbFromValue();
}

void ScrollMachine::ThumbFromValue() {
    thumbPos_ = ThumbPosFromValue(layout_, thumbSize_, range_, p_.min, p_.value);
    PlaceThumb(layout_, Horizontal(), thumbPos_, thumbSize_, Thickness());
}

void ScrollMachine::Relayout() {
    DoLayout();
    host_.Invalidate();
}

void ScrollMachine::SetClientSize(int32_t width, int32_t height) {
    width_ = width;
    height_ = height;
    Relayout();
}

void ScrollMachine::Load(const ScrollProperties& stored) {
    p_ = stored;
    range_ = static_cast<int64_t>(p_.max) - p_.min;
    DoLayout();
}

void ScrollMachine::SetMax(int32_t v) {
    p_.max = std::max(v, p_.min);
    range_ = static_cast<int64_t>(p_.max) - p_.min;
    if (p_.value > p_.max) p_.value = p_.max;
    Relayout();
}

void ScrollMachine::SetMin(int32_t v) {
    p_.min = std::min(v, p_.max);
    range_ = static_cast<int64_t>(p_.max) - p_.min;
    if (p_.value < p_.min) p_.value = p_.min;
    Relayout();
}

void ScrollMachine::SetValue(int32_t v) {
    const int32_t old = p_.value;
    p_.value = v < p_.min ? p_.min : (v > p_.max ? p_.max : v);
    ThumbFromValue();
    host_.Invalidate();
    if (p_.value != old) host_.RaiseChange();
}

void ScrollMachine::SetSmallChange(int32_t v) {
    p_.smallChange = v <= 0 ? 1 : v;
    Relayout();
}

void ScrollMachine::SetLargeChange(int32_t v) {
    p_.largeChange = v <= 0 ? 1 : v;
    Relayout();
}

void ScrollMachine::SetChangeDelay(int32_t v) { p_.changeDelay = v < 0 ? 0 : v; }
void ScrollMachine::SetChangeFrequency(int32_t v) { p_.changeFrequency = v < 25 ? 25 : v; }

void ScrollMachine::SetOrientation(int32_t v) {
    p_.orientation = v < 0 ? 0 : (v > 1 ? 1 : v);
    Relayout();
}

void ScrollMachine::SetShowButtons(bool v) {
    p_.showButtons = v;
    Relayout();
}

bool ScrollMachine::StepDown(int64_t amount, bool force) {
    int64_t next = static_cast<int64_t>(p_.value) - amount;
    if (next < p_.min) next = p_.min;
    const int32_t value = Saturate(next);
    if (value == p_.value) {
        if (force) host_.Invalidate();
        return false;
    }
    p_.value = value;
    ThumbFromValue();
    host_.Invalidate();
    host_.RaiseChange();
    return true;
}

bool ScrollMachine::StepUp(int64_t amount, bool force) {
    int64_t next = static_cast<int64_t>(p_.value) + amount;
    if (next > p_.max) next = p_.max;
    const int32_t value = Saturate(next);
    if (value == p_.value) {
        if (force) host_.Invalidate();
        return false;
    }
    p_.value = value;
    ThumbFromValue();
    host_.Invalidate();
    host_.RaiseChange();
    return true;
}

void ScrollMachine::Start(int id, int32_t ms) { host_.StartTimer(id, ms); }

void ScrollMachine::Stop(int id) {
    host_.StopTimer(id);
    hoverPart_ = kPartNone;
}

void ScrollMachine::MouseDown(uint32_t keys, int32_t x, int32_t y) {
    if ((keys & 0xFFFF) == 0) return;
    lastX_ = x;
    lastY_ = y;
    pressed_ = HitTest(layout_, x, y);
    switch (pressed_) {
    case kPartTLButton:
        tlPressed_ = true;
        tlHot_ = false;
        StepDown(p_.smallChange, true);
        break;
    case kPartBRButton:
        brPressed_ = true;
        brHot_ = false;
        StepUp(p_.smallChange, true);
        break;
    case kPartTLTrack:
        tlTrackPressed_ = true;
        StepDown(p_.largeChange, false);
        break;
    case kPartBRTrack:
        brTrackPressed_ = true;
        StepUp(p_.largeChange, false);
        break;
    case kPartThumb:
        dragging_ = true;
        thumbHot_ = false;
        dragOffset_ = Saturate(static_cast<int64_t>(thumbPos_) - Along(x, y));
        dragStartValue_ = p_.value;
        host_.Invalidate();
        return;
    default:
        return;
    }
    Stop(kTimerDelay);
    Start(kTimerDelay, p_.changeDelay);
}

void ScrollMachine::MouseMove(uint32_t keys, int32_t x, int32_t y) {
    lastX_ = x;
    lastY_ = y;
    if ((keys & 0xFFFF) != 0) {
        if (pressed_ == kPartTLButton || pressed_ == kPartBRButton) {
            bool& flag = pressed_ == kPartTLButton ? tlPressed_ : brPressed_;
            const PartRect& button = pressed_ == kPartTLButton ? layout_.tlButton : layout_.brButton;
            const bool inside = button.Contains(x, y);
            if (inside != flag) {
                flag = inside;
                host_.Invalidate();
            }
        } else if (pressed_ == kPartThumb) {
            const int32_t oldPos = thumbPos_;
            const int32_t oldValue = p_.value;
            int32_t pos;
            if (layout_.dragZone.Contains(x, y)) {
                int64_t p = static_cast<int64_t>(dragOffset_) + Along(x, y);
                if (p < layout_.trackStart) p = layout_.trackStart;
                const int64_t last = static_cast<int64_t>(layout_.trackStart) + layout_.trackLength - thumbSize_;
                if (p > last) p = last;
                pos = Saturate(p);
                p_.value = ValueFromThumbPos(layout_, thumbSize_, range_, p_.min, pos, dragStartValue_);
            } else {
                p_.value = dragStartValue_;
                pos = ThumbPosFromValue(layout_, thumbSize_, range_, p_.min, p_.value);
            }
            if (pos != oldPos) {
                thumbPos_ = pos;
                PlaceThumb(layout_, Horizontal(), thumbPos_, thumbSize_, Thickness());
                host_.Invalidate();
                if (p_.value != oldValue) host_.RaiseScroll();
            }
        }
        return;
    }
    hoverPart_ = HitTest(layout_, x, y);
    if (!barHover_) {
        barHover_ = true;
        host_.Invalidate();
        Stop(kTimerLeave);
        Start(kTimerLeave, 25);
    }
    if (hoverPart_ == kPartTLButton || hoverPart_ == kPartBRButton || hoverPart_ == kPartThumb) {
        bool& hot = hoverPart_ == kPartTLButton ? tlHot_ : (hoverPart_ == kPartBRButton ? brHot_ : thumbHot_);
        if (hot) return;
        tlHot_ = brHot_ = thumbHot_ = false;
        hot = true;
        host_.Invalidate();
        Stop(kTimerHot);
        Start(kTimerHot, 25);
    }
}

void ScrollMachine::MouseUp() {
    Stop(kTimerHot);
    Stop(kTimerDelay);
    Stop(kTimerRepeat);
    if (pressed_ == kPartThumb && p_.value != dragStartValue_) host_.RaiseChange();
    pressed_ = kPartNone;
    tlPressed_ = brPressed_ = tlTrackPressed_ = brTrackPressed_ = dragging_ = false;
    ThumbFromValue();
    host_.Invalidate();
    // A part still lit (the pointer left it less than a hot-test period before
    // the press) would otherwise stay lit after the pointer is gone.
    if (tlHot_ || brHot_ || thumbHot_) Start(kTimerHot, 25);
}

void ScrollMachine::Timer(int id) {
    switch (id) {
    case kTimerDelay:
        Stop(kTimerDelay);
        Start(kTimerRepeat, p_.changeFrequency);
        break;
    case kTimerRepeat: {
        const int32_t along = Along(lastX_, lastY_);
        if (pressed_ == kPartTLButton || pressed_ == kPartBRButton) {
            const PartRect& button = pressed_ == kPartTLButton ? layout_.tlButton : layout_.brButton;
            if (!button.Contains(lastX_, lastY_)) break;
            const bool moved = pressed_ == kPartTLButton ? StepDown(p_.smallChange, false) : StepUp(p_.smallChange, false);
            if (!moved) Stop(kTimerRepeat);
        } else if (pressed_ == kPartTLTrack) {
            tlTrackPressed_ = thumbPos_ > along;
            if (tlTrackPressed_)
                StepDown(p_.largeChange, false);
            else
                host_.Invalidate();
        } else if (pressed_ == kPartBRTrack) {
            brTrackPressed_ = static_cast<int64_t>(thumbPos_) + thumbSize_ < along;
            if (brTrackPressed_)
                StepUp(p_.largeChange, false);
            else
                host_.Invalidate();
        }
        break;
    }
    case kTimerHot: {
        bool* lit = tlHot_ ? &tlHot_ : (brHot_ ? &brHot_ : (thumbHot_ ? &thumbHot_ : nullptr));
        if (!lit) break;
        const PartRect& r = lit == &tlHot_ ? layout_.tlButton : (lit == &brHot_ ? layout_.brButton : layout_.thumb);
        int32_t x = 0, y = 0;
        if (host_.CursorPos(x, y) && r.Contains(x, y)) break;
        *lit = false;
        Stop(kTimerHot);
        host_.Invalidate();
        break;
    }
    case kTimerLeave:
        if (!host_.CursorOverBar() && barHover_ && pressed_ == kPartNone) {
            barHover_ = false;
            Stop(kTimerLeave);
            host_.Invalidate();
        }
        break;
    default:
        break;
    }
}

ScrollPaintStates ScrollMachine::PaintStates(bool enabled) const {
    ScrollPaintStates s;
    s.trackShown = layout_.trackShown;
    if (!enabled) {
        s.tlButton = s.brButton = 4;
        s.thumb = 3;
        return s;
    }
    s.tlButton = tlHot_ ? 2 : (tlPressed_ ? 3 : (barHover_ ? 1 : 0));
    s.brButton = brHot_ ? 2 : (brPressed_ ? 3 : (barHover_ ? 1 : 0));
    s.tlTrack = tlTrackPressed_ ? 1 : 0;
    s.brTrack = brTrackPressed_ ? 1 : 0;
    s.thumb = thumbHot_ ? 1 : (dragging_ ? 2 : 0);
    return s;
}

}  // namespace lumio::lists
