// IOleControl: access keys, mnemonics, ambient changes and frozen events.
#include <cwctype>

#include "com_errors.h"
#include "control_base.h"

namespace lumio {

STDMETHODIMP ControlBase::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    info->hAccel = accelerators_;
    info->cAccel = accelerators_ ? static_cast<USHORT>(CopyAcceleratorTableW(accelerators_, nullptr, 0)) : 0;
    info->dwFlags = 0;
    return S_OK;
}

// A mnemonic of the control, or Enter / Esc sent to a default or cancel button.
STDMETHODIMP ControlBase::OnMnemonic(MSG* msg) {
    if (!msg) return E_POINTER;
    return Guard(*info_.dispatch_iid, [&] {
        short key = 0;
        bool focus = true;
        if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
            if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
                key = msg->wParam == VK_RETURN ? 13 : 27;
                focus = false;
            } else {
                UINT ch = MapVirtualKeyW(static_cast<UINT>(msg->wParam), MAPVK_VK_TO_CHAR) & 0x7FFF;
                key = static_cast<short>(std::towlower(static_cast<wint_t>(ch)));
            }
        } else if (msg->message == WM_CHAR || msg->message == WM_SYSCHAR) {
            key = static_cast<short>(std::towlower(static_cast<wint_t>(msg->wParam)));
        }
        if (!key) return S_FALSE;
        if (focus && hwnd_ && IsWindowEnabled(hwnd_) && IsWindowVisible(hwnd_) && GetFocus() != hwnd_) SetFocus(hwnd_);
        OnAccessKeyPress(key);
        return S_OK;
    });
}

STDMETHODIMP ControlBase::OnAmbientPropertyChange(DISPID id) {
    return Guard(*info_.dispatch_iid, [&] {
        OnAmbientChanged(AmbientName(id));
        return S_OK;
    });
}

STDMETHODIMP ControlBase::FreezeEvents(BOOL freeze) {
    if (freeze) ++freeze_count_;
    else if (freeze_count_ > 0) --freeze_count_;
    return S_OK;
}

}  // namespace lumio
