// IViewObject2: the host draws the control where it has no window of its own
// (a designer's surface, a print preview): the control paints its window,
// and that image is scaled into the host's rectangle.
#include "control_base.h"

namespace lumio {

STDMETHODIMP ControlBase::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdc, LPCRECTL bounds, LPCRECTL,
                               BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!hdc || !bounds) return E_INVALIDARG;
    if (!hwnd_) return E_FAIL;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    if (rc.right <= 0 || rc.bottom <= 0) return S_OK;
    // Paint into the window first, then copy what it shows.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC own = GetDC(hwnd_);  // the window's own DC: nothing to release
    gdi::OwnedDC mem(CreateCompatibleDC(own));
    gdi::OwnedObject<HBITMAP> bmp(CreateCompatibleBitmap(own, rc.right, rc.bottom));
    gdi::Selection selected(mem.get(), bmp.get());
    BitBlt(mem.get(), 0, 0, rc.right, rc.bottom, own, 0, 0, SRCCOPY);
    SetStretchBltMode(hdc, COLORONCOLOR);
    StretchBlt(hdc, bounds->left, bounds->top, bounds->right - bounds->left, bounds->bottom - bounds->top, mem.get(),
               0, 0, rc.right, rc.bottom, SRCCOPY);
    return S_OK;
}

STDMETHODIMP ControlBase::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    view_aspects_ = aspects;
    view_flags_ = flags;
    view_sink_ = sink;
    return S_OK;
}

STDMETHODIMP ControlBase::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = view_aspects_;
    if (flags) *flags = view_flags_;
    if (sink) *sink = view_sink_.copy();
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

}  // namespace lumio
