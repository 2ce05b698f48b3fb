// LumioTab and the user: the container's mouse, key, access-key and focus
// notices, and hovering over the strip.
#include <cmath>
#include <functional>

#include "basic_arith.h"
#include "error_source.h"
#include "lumio_tab.h"
#include "tab_input.h"
#include "tab_layout.h"

namespace lumio::tab {

namespace ev = tlb::dispid::LumioTabEvents;

namespace {

// A switch by the user runs busy and into the persistent image; whatever
// ends it, the flag and the image mode are put back.
class UserSwitch {
public:
    UserSwitch(bool& busy, std::function<void(bool)> autoRedraw) : busy_(busy), autoRedraw_(std::move(autoRedraw)) {
        busy_ = true;
        autoRedraw_(true);
    }
    ~UserSwitch() {
        try {
            autoRedraw_(false);
        } catch (...) {
        }
        busy_ = false;
    }
    UserSwitch(const UserSwitch&) = delete;
    UserSwitch& operator=(const UserSwitch&) = delete;

private:
    bool& busy_;
    std::function<void(bool)> autoRedraw_;
};

class BusyOnly {
public:
    explicit BusyOnly(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyOnly() { busy_ = false; }
    BusyOnly(const BusyOnly&) = delete;
    BusyOnly& operator=(const BusyOnly&) = delete;

private:
    bool& busy_;
};

}  // namespace

std::function<void(bool)> LumioTab::ImageMode() {
    return [this](bool on) {
        SetAutoRedraw(on);
        if (!on) Invalidate();
    };
}

void LumioTab::OnMouseDown(short button, short shift, float x, float y) {
    WithErrorSource(L"LumioTab.UserControl_MouseDown", [&] {
        if (m_Busy) return;
        RaiseEvent(ev::MouseDown, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
        if (button != kLeftButton) return;
        UserSwitch sw(m_Busy, ImageMode());
        pHandleMouseDown(x, y);
    });
}

void LumioTab::OnMouseMove(short button, short shift, float x, float y) {
    WithErrorSource(L"LumioTab.UserControl_MouseMove", [&] {
        RaiseEvent(ev::MouseMove, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
        pHandleMouseMove(x, y);
    });
}

void LumioTab::OnMouseUp(short button, short shift, float x, float y) {
    WithErrorSource(L"LumioTab.UserControl_MouseUp", [&] {
        if (!m_Busy) RaiseEvent(ev::MouseUp, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
    });
}

void LumioTab::OnClick() {
    WithErrorSource(L"LumioTab.UserControl_Click", [&] { RaiseEvent(ev::Click); });
}

void LumioTab::OnDblClick() {
    WithErrorSource(L"LumioTab.UserControl_DblClick", [&] { RaiseEvent(ev::DblClick); });
}

void LumioTab::pHandleMouseDown(float x, float y) {
    WithErrorSource(L"LumioTab.pHandleMouseDown", [&] {
        if (m_Hover) {
            m_Hover = false;
            pHoverTimer(0);
        }
        int32_t strip = StripHeight(m_ActiveTabHeight, m_InActiveTabHeight);
        int32_t px = RoundToInteger(x), py = RoundToInteger(y);
        int32_t hit = PressedTab(px, py, strip, model_.records());
        if (hit != kNoTab && hit != model_.ActiveTab()) put_ActiveTab(hit);
    });
}

void LumioTab::pHandleMouseMove(float x, float y) {
    WithErrorSource(L"LumioTab.pHandleMouseMove", [&] {
        int32_t strip = StripHeight(m_ActiveTabHeight, m_InActiveTabHeight);
        int32_t px = RoundToInteger(x), py = RoundToInteger(y);
        if (m_Hover || py > strip) return;
        pGetCachedProperties();
        int32_t hit = HoveredTab(px, py, strip, model_.records());
        if (hit == kNoTab || hit == model_.ActiveTab()) return;
        model_.SetHoverIndex(hit);
        if (m_TabStyle == Style::xStyleTabbedDialog) pDrawOnMouseOverTabbed();
        else if (m_TabStyle == Style::xStylePropertyPages) pDrawOnMouseOverProperty();
    });
}

void LumioTab::pDrawOnMouseOverTabbed() {
    WithErrorSource(L"LumioTab.pDrawOnMouseOverTabbed", [&] {
        int32_t i = model_.HoverIndex();
        m_Hover = true;
        m_HoverRect = model_.AryTabs(i).tabRect;
        pHoverTimer(10);
    });
}

void LumioTab::pDrawOnMouseOverProperty() {
    WithErrorSource(L"LumioTab.pDrawOnMouseOverProperty", [&] {
        int32_t i = model_.HoverIndex();
        m_Hover = true;
        m_HoverRect = model_.AryTabs(i).tabRect;
        pHoverTimer(10);
    });
}

void LumioTab::pHoverTimer(UINT interval) {
    if (!hWnd()) return;
    if (interval != 0) SetTimer(hWnd(), kHoverTimer, interval, nullptr);
    else KillTimer(hWnd(), kHoverTimer);
}

void LumioTab::pReadCursor() {
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(m_Cache.hWnd ? m_Cache.hWnd : hWnd(), &pt);
    m_Cursor = pt;
}

void LumioTab::TimerEvent() {
    WithErrorSource(L"LumioTab.TimerEvent", [&] {
        pReadCursor();
        const FillRect& r = m_HoverRect;
        if (m_Cursor.x < r.left || m_Cursor.x > r.right || m_Cursor.y < r.top || m_Cursor.y > r.bottom) {
            pHoverTimer(0);
            m_Hover = false;
        }
    });
}

void LumioTab::OnKeyDown(short& code, short shift) {
    WithErrorSource(L"LumioTab.UserControl_KeyDown", [&] {
        {
            UserSwitch sw(m_Busy, ImageMode());
            int32_t target = KeyTarget(code, (shift & kCtrlMask) != 0, model_.ActiveTab(), model_.records());
            if (target != kNoTab) put_ActiveTab(target);
        }
        RaiseEvent(ev::KeyDown, {ByRef(code), ByRef(shift)});
    });
}

void LumioTab::OnKeyPress(short& ascii) {
    WithErrorSource(L"LumioTab.UserControl_KeyPress", [&] { RaiseEvent(ev::KeyPress, {ByRef(ascii)}); });
}

void LumioTab::OnKeyUp(short& code, short shift) {
    WithErrorSource(L"LumioTab.UserControl_KeyUp", [&] { RaiseEvent(ev::KeyUp, {ByRef(code), ByRef(shift)}); });
}

void LumioTab::OnAccessKeyPress(short key) {
    WithErrorSource(L"LumioTab.UserControl_AccessKeyPress", [&] {
        int32_t target = AccessKeyTarget(key, model_.ActiveTab(), model_.records());
        if (target == kNoTab || m_Busy) return;
        UserSwitch sw(m_Busy, ImageMode());
        put_ActiveTab(target);
    });
}

void LumioTab::OnGotFocus() {
    WithErrorSource(L"LumioTab.UserControl_GotFocus", [&] {
        model_.SetHoverIndex(model_.ActiveTab());
        m_IsFocused = true;
        pShowHideFocus();
    });
}

void LumioTab::OnLostFocus() {
    WithErrorSource(L"LumioTab.UserControl_LostFocus", [&] {
        model_.SetHoverIndex(model_.ActiveTab());
        m_IsFocused = false;
        pShowHideFocus();
    });
}

void LumioTab::pShowHideFocus() {
    WithErrorSource(L"LumioTab.pShowHideFocus", [&] {
        if (m_Busy) return;
        if (!m_FirstRefreshDone) {
            BusyOnly busy(m_Busy);
            ShowHideFocus();
            return;
        }
        // Into the persistent image, which the window then shows again.
        UserSwitch sw(m_Busy, ImageMode());
        ShowHideFocus();
        Refresh();
    });
}

}  // namespace lumio::tab
