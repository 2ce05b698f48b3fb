// IOleObject and in-place activation.
#include "com_errors.h"
#include "control_base.h"
#include "control_window.h"

namespace lumio {

void ControlBase::CreateControlWindow() {
    hwnd_ = CreateControlWindowFor(this, info_.double_clicks, info_.takes_focus);
}

STDMETHODIMP ControlBase::SetClientSite(IOleClientSite* site) {
    site_ = site;
    if (!site) {
        inplace_site_.reset();
        frame_.reset();
        doc_window_.reset();
    }
    return S_OK;
}

STDMETHODIMP ControlBase::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = site_.copy();
    return S_OK;
}

STDMETHODIMP ControlBase::Close(DWORD) {
    InPlaceDeactivate();
    if (advise_holder_) advise_holder_->SendOnClose();
    return S_OK;
}

STDMETHODIMP ControlBase::GetMoniker(DWORD, DWORD, IMoniker** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::GetClipboardData(DWORD, IDataObject** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT pos) {
    return Guard(IID_IOleObject, [&]() -> HRESULT {
        if (site && !site_) SetClientSite(site);
        switch (verb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_UIACTIVATE:
        case OLEIVERB_INPLACEACTIVATE: {
            HRESULT hr = InPlaceActivate(verb);
            if (SUCCEEDED(hr) && pos && !inplace_site_) SetObjectRects(pos, pos);
            return hr;
        }
        case OLEIVERB_HIDE:
            UIDeactivate();
            if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
            visible_ = false;
            return S_OK;
        default:
            return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
        }
    });
}

STDMETHODIMP ControlBase::EnumVerbs(IEnumOLEVERB** out) { return OleRegEnumVerbs(*info_.clsid, out); }

STDMETHODIMP ControlBase::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = *info_.clsid;
    return S_OK;
}

STDMETHODIMP ControlBase::GetUserType(DWORD form, LPOLESTR* type) { return OleRegGetUserType(*info_.clsid, form, type); }

STDMETHODIMP ControlBase::SetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    extent_ = *size;
    // Out of place the window follows the extent; in place the host's rectangles rule.
    if (hwnd_ && !inplace_active_) {
        int w = static_cast<int>(ScaleX(size->cx, ScaleUnit::Himetric, ScaleUnit::Pixels) + 0.5);
        int h = static_cast<int>(ScaleY(size->cy, ScaleUnit::Himetric, ScaleUnit::Pixels) + 0.5);
        SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP ControlBase::Advise(IAdviseSink* sink, DWORD* cookie) {
    if (!advise_holder_ && FAILED(CreateOleAdviseHolder(advise_holder_.put()))) return E_OUTOFMEMORY;
    return advise_holder_->Advise(sink, cookie);
}

STDMETHODIMP ControlBase::Unadvise(DWORD cookie) {
    return advise_holder_ ? advise_holder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP ControlBase::EnumAdvise(IEnumSTATDATA** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return advise_holder_ ? advise_holder_->EnumAdvise(out) : E_FAIL;
}

STDMETHODIMP ControlBase::GetMiscStatus(DWORD aspect, DWORD* status) {
    if (!status) return E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? info_.misc_status : 0;
    return S_OK;
}

// The host calls neither initialisation before it shows a new control: the
// control is then a new one.
void ControlBase::EnsureInitialized() {
    if (!initialized_) CallInitProperties();
}

HRESULT ControlBase::InPlaceActivate(LONG verb) {
    if (!site_) return E_UNEXPECTED;
    EnsureInitialized();
    if (!inplace_active_) {
        ComPtr<IOleInPlaceSite> ips = site_.As<IOleInPlaceSite>();
        if (!ips) return E_NOINTERFACE;
        if (ips->CanInPlaceActivate() != S_OK) return E_FAIL;
        HRESULT hr = ips->OnInPlaceActivate();
        if (FAILED(hr)) return hr;
        inplace_site_ = ips;
        inplace_active_ = true;
        HWND parent = nullptr;
        ips->GetWindow(&parent);
        RECT pos{}, clip{};
        OLEINPLACEFRAMEINFO frame_info{sizeof(frame_info), FALSE, nullptr, nullptr, 0};
        ips->GetWindowContext(frame_.put(), doc_window_.put(), &pos, &clip, &frame_info);
        if (parent) SetParent(hwnd_, parent);
        SetObjectRects(&pos, &clip);
        // A size set before the properties were gives no Resize of its own.
        if (!resized_since_init_) SendMessageW(hwnd_, WM_SIZE, SIZE_RESTORED, 0);
    }
    if (!visible_) {
        visible_ = true;
        ShowWindow(hwnd_, SW_SHOWNA);
    }
    if (verb == OLEIVERB_UIACTIVATE || verb == OLEIVERB_PRIMARY) return UIActivate();
    return S_OK;
}

HRESULT ControlBase::UIActivate() {
    if (ui_active_ || !inplace_site_) return S_OK;
    ui_active_ = true;
    inplace_site_->OnUIActivate();
    if (frame_) frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), info_.name);
    if (doc_window_) doc_window_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), info_.name);
    if (info_.takes_focus && GetFocus() != hwnd_ && IsWindowVisible(hwnd_) && IsWindowEnabled(hwnd_)) SetFocus(hwnd_);
    return S_OK;
}

STDMETHODIMP ControlBase::UIDeactivate() {
    if (!ui_active_) return S_OK;
    ui_active_ = false;
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (doc_window_) doc_window_->SetActiveObject(nullptr, nullptr);
    if (inplace_site_) inplace_site_->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP ControlBase::InPlaceDeactivate() {
    if (!inplace_active_) return S_OK;
    UIDeactivate();
    inplace_active_ = false;
    if (hwnd_) {
        if (visible_) ShowWindow(hwnd_, SW_HIDE);
        SetParent(hwnd_, ParkingWindow());
    }
    visible_ = false;
    ComPtr<IOleInPlaceSite> ips = std::move(inplace_site_);
    frame_.reset();
    doc_window_.reset();
    if (ips) ips->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP ControlBase::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = hwnd_;
    return hwnd_ ? S_OK : E_FAIL;
}

STDMETHODIMP ControlBase::SetObjectRects(LPCRECT pos, LPCRECT) {
    if (!pos) return E_POINTER;
    if (!hwnd_) return E_FAIL;
    int w = pos->right - pos->left, h = pos->bottom - pos->top;
    extent_.cx = static_cast<LONG>(ScaleX(w, ScaleUnit::Pixels, ScaleUnit::Himetric) + 0.5);
    extent_.cy = static_cast<LONG>(ScaleY(h, ScaleUnit::Pixels, ScaleUnit::Himetric) + 0.5);
    SetWindowPos(hwnd_, nullptr, pos->left, pos->top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

// Arrows and Space belong to the control; Tab and the rest go to the host.
STDMETHODIMP ControlBase::TranslateAccelerator(LPMSG msg) {
    if (!msg) return E_POINTER;
    if (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) {
        switch (msg->wParam) {
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_SPACE:
            return S_FALSE;
        default:
            break;
        }
    }
    if (msg->message == WM_CHAR) return S_FALSE;
    ComPtr<IOleControlSite> cs = site_.As<IOleControlSite>();
    if (!cs) return S_FALSE;
    DWORD modifiers = 0;
    if (GetKeyState(VK_SHIFT) < 0) modifiers |= 1;
    if (GetKeyState(VK_CONTROL) < 0) modifiers |= 2;
    if (GetKeyState(VK_MENU) < 0) modifiers |= 4;
    return cs->TranslateAccelerator(msg, modifiers) == S_OK ? S_OK : S_FALSE;
}

}  // namespace lumio
