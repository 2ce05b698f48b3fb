// Identity, lifetime and the services a control uses.
#include "control_base.h"

#include <algorithm>

#include "com_errors.h"
#include "control_window.h"
#include "lumiokit_dual.h"
#include "simple_dispatch.h"
#include "class_table.h"
#include "module_lock.h"
#include "ole_colour_win.h"
#include "std_objects.h"

namespace lumio {

namespace {
VARIANT MakeRef(VARTYPE vt, void* p) {
    VARIANT v;
    VariantInit(&v);
    v.vt = static_cast<VARTYPE>(vt | VT_BYREF);
    v.byref = p;
    return v;
}
}  // namespace

VARIANT ByRef(short& x) { return MakeRef(VT_I2, &x); }
VARIANT ByRef(long& x) { return MakeRef(VT_I4, &x); }
VARIANT ByRef(float& x) { return MakeRef(VT_R4, &x); }
VARIANT ByRefBool(VARIANT_BOOL& x) { return MakeRef(VT_BOOL, &x); }
VARIANT ByRef(BSTR& x) { return MakeRef(VT_BSTR, &x); }

ControlBase::ControlBase(const ControlClassInfo& info) : info_(info) {
    ModuleLock();
    font_ = CreateStdFont();
}

ControlBase::~ControlBase() {
    DropImage();
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    ModuleUnlock();
}

HRESULT ControlBase::Start(IUnknown* outer, REFIID iid, void** out) {
    if (outer) outer_ = outer;
    inner_.AddRef();  // held until the end of Start
    HRESULT hr = Guard(IID_IUnknown, [&] {
        events_cp_ = std::make_unique<ConnectionPoint>(static_cast<IOleObject*>(this),
                                                       static_cast<IConnectionPointContainer*>(this),
                                                       info_.events_iid ? *info_.events_iid : IID_NULL);
        notify_cp_ = std::make_unique<ConnectionPoint>(static_cast<IOleObject*>(this),
                                                       static_cast<IConnectionPointContainer*>(this),
                                                       IID_IPropertyNotifySink);
        CreateControlWindow();
        OnInitialize();
        return S_OK;
    });
    if (SUCCEEDED(hr)) hr = outer ? inner_.QueryInterface(iid, out) : InternalQueryInterface(iid, out);
    inner_.Release();
    return hr;
}

STDMETHODIMP ControlBase::InnerUnknown::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown) {
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    return owner_->InternalQueryInterface(iid, out);
}

STDMETHODIMP_(ULONG) ControlBase::InnerUnknown::AddRef() { return InterlockedIncrement(&owner_->refs_); }

STDMETHODIMP_(ULONG) ControlBase::InnerUnknown::Release() {
    LONG r = InterlockedDecrement(&owner_->refs_);
    if (r == 0) owner_->FinalRelease();
    return r;
}

HRESULT ControlBase::InternalQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    void* p = nullptr;
    if (iid == IID_IUnknown) p = static_cast<IUnknown*>(&inner_);
    else if (iid == IID_IOleObject) p = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) p = static_cast<IOleInPlaceObject*>(this);
    else if (iid == IID_IOleInPlaceActiveObject) p = static_cast<IOleInPlaceActiveObject*>(this);
    else if (iid == IID_IOleControl) p = static_cast<IOleControl*>(this);
    else if (iid == IID_IViewObject || iid == IID_IViewObject2) p = static_cast<IViewObject2*>(this);
    else if (iid == IID_IPersistPropertyBag) p = static_cast<IPersistPropertyBag*>(this);
    else if (iid == IID_IPersistStreamInit) p = static_cast<IPersistStreamInit*>(this);
    else if (iid == IID_IPersist) p = static_cast<IPersistPropertyBag*>(this);
    else if (iid == IID_IConnectionPointContainer) p = static_cast<IConnectionPointContainer*>(this);
    else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2) p = static_cast<IProvideClassInfo2*>(this);
    else if (iid == IID_ISupportErrorInfo) p = static_cast<ISupportErrorInfo*>(this);
    else if (iid == IID_IDispatch) p = static_cast<IDispatch*>(this);
    else if (info_.dispatch_iid && iid == *info_.dispatch_iid)
        return tlb::dual::CreateTearOff(iid, static_cast<IDispatch*>(this), out);  // starts with one reference
    // A fresh tear-off per request: whoever keeps the control's address to
    // call it back (the frame) holds no reference that would keep it alive.
    else if (info_.other_dual_iid && iid == *info_.other_dual_iid)
        return tlb::dual::CreateTearOff(iid, static_cast<IDispatch*>(this), out);
    if (!p) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = p;
    static_cast<IUnknown*>(p)->AddRef();
    return S_OK;
}

void ControlBase::FinalRelease() {
    // Terminate may call out; keep the object alive meanwhile.
    refs_ = 1;
    if (!terminated_) {
        terminated_ = true;
        try {
            OnTerminate();
        } catch (...) {
        }
    }
    if (events_cp_) events_cp_->Clear();
    if (notify_cp_) notify_cp_->Clear();
    view_sink_.reset();
    advise_holder_.reset();
    frame_.reset();
    doc_window_.reset();
    inplace_site_.reset();
    site_.reset();
    if (hwnd_) {
        HWND h = hwnd_;
        hwnd_ = nullptr;
        DestroyControlWindow(h);
    }
    delete this;
}

HDC ControlBase::Hdc() {
    // The class keeps one device context per window; the image has its own.
    HDC dc = image_dc_ ? image_dc_.get() : GetDC(hwnd_);
    if (ComPtr<IFont> f = font_.As<IFont>()) {
        HFONT h = nullptr;
        if (SUCCEEDED(f->get_hFont(&h)) && h) SelectObject(dc, h);
    }
    SetTextColor(dc, TranslateOleColor(fore_color_));
    SetBkMode(dc, TRANSPARENT);
    return dc;
}

void ControlBase::PropertyChanged(const wchar_t* name) {
    dirty_ = true;
    DISPID id = info_.members ? info_.members->IdOf(name) : DISPID_UNKNOWN;
    for (auto& sink : notify_cp_->Sinks())
        if (auto n = sink.As<IPropertyNotifySink>()) n->OnChanged(id);
    ViewChanged();
}

void ControlBase::RaiseEvent(DISPID id, std::initializer_list<VARIANT> args) {
    if (freeze_count_ > 0 || !events_cp_) return;
    // DISPPARAMS hold the arguments last to first.
    std::vector<VARIANT> reversed(args.begin(), args.end());
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    for (auto& sink : events_cp_->Sinks()) {
        ComPtr<IDispatch> d = sink.As<IDispatch>();
        if (!d) continue;
        Variant result;
        d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.put(), nullptr, nullptr);
    }
}

void ControlBase::SetAccessKeys(const std::wstring& keys) {
    access_keys_ = keys;
    if (accelerators_) {
        DestroyAcceleratorTable(accelerators_);
        accelerators_ = nullptr;
    }
    std::vector<ACCEL> table;
    for (wchar_t c : keys) {
        SHORT vk = VkKeyScanW(c);
        if (vk == -1) continue;
        WORD key = LOBYTE(vk);
        table.push_back({FVIRTKEY | FALT, key, 0});
        table.push_back({FVIRTKEY, key, 0});
    }
    if (!table.empty()) accelerators_ = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
    if (ComPtr<IOleControlSite> cs = site_.As<IOleControlSite>()) cs->OnControlInfoChanged();
}

void ControlBase::SetWindowEnabled(bool enabled) {
    if (hwnd_) EnableWindow(hwnd_, enabled);
}

bool ControlBase::WindowEnabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void ControlBase::SetFont(IFontDisp* font) {
    if (!font) Raise(kErrObjectNotSet, info_.name);
    font_ = font;
}

void ControlBase::SetMousePointer(short pointer) {
    mouse_pointer_ = pointer;
    POINT pt;
    if (hwnd_ && GetCursorPos(&pt) && WindowFromPoint(pt) == hwnd_) HandleSetCursor();
}

void ControlBase::SetMouseIcon(IPictureDisp* icon) { mouse_icon_ = icon; }

void ControlBase::SetSurfaceColors(OLE_COLOR back, OLE_COLOR fore) {
    back_color_ = back;
    fore_color_ = fore;
}

void ControlBase::Cls() {
    if (!hwnd_) return;
    HDC dc = Hdc();
    RECT rc;
    GetClientRect(hwnd_, &rc);
    gdi::OwnedObject<HBRUSH> brush(CreateSolidBrush(TranslateOleColor(back_color_)));
    FillRect(dc, &rc, brush.get());
    if (image_dc_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void ControlBase::Invalidate() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
    ViewChanged();
}

void ControlBase::ViewChanged() {
    if (view_sink_) view_sink_->OnViewChange(DVASPECT_CONTENT, -1);
}

int ControlBase::ScaleWidth() const {
    RECT rc{};
    if (hwnd_) GetClientRect(hwnd_, &rc);
    return rc.right;
}

int ControlBase::ScaleHeight() const {
    RECT rc{};
    if (hwnd_) GetClientRect(hwnd_, &rc);
    return rc.bottom;
}

namespace {
int ScreenDpi(int index) {
    ScreenDC screen;
    int dpi = GetDeviceCaps(screen.get(), index);
    return dpi > 0 ? dpi : 96;
}
}  // namespace

double ControlBase::ScaleX(double value, ScaleUnit from, ScaleUnit to) const {
    return ScaleConvert(value, from, to, Axis::Horizontal, ScreenDpi(LOGPIXELSX));
}

double ControlBase::ScaleY(double value, ScaleUnit from, ScaleUnit to) const {
    return ScaleConvert(value, from, to, Axis::Vertical, ScreenDpi(LOGPIXELSY));
}

namespace {

bool ScaleModeOf(IDispatch* obj, ScaleUnit& unit) {
    if (!obj) return false;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(L"ScaleMode");
    if (FAILED(obj->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return false;
    DISPPARAMS none{};
    Variant v, n;
    if (FAILED(obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, v.put(), nullptr, nullptr)) ||
        FAILED(VariantChangeType(n.put(), v.get(), 0, VT_I4)))
        return false;
    const long mode = n->lVal;
    unit = mode >= static_cast<long>(ScaleUnit::Twips) && mode <= static_cast<long>(ScaleUnit::Himetric)
               ? static_cast<ScaleUnit>(mode)
               : ScaleUnit::Twips;
    return true;
}

}  // namespace

ScaleUnit ControlBase::ContainerScaleUnit() const {
    ScaleUnit unit = ScaleUnit::Twips;
    if (ComPtr<IDispatch> ext = Extender()) {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR name = const_cast<LPOLESTR>(L"Container");
        DISPPARAMS none{};
        Variant v;
        if (SUCCEEDED(ext->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) &&
            SUCCEEDED(ext->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, v.put(), nullptr,
                                  nullptr)) &&
            v.vt() == VT_DISPATCH && ScaleModeOf(v->pdispVal, unit))
            return unit;
    }
    if (ComPtr<IDispatch> parent = Parent(); ScaleModeOf(parent.get(), unit)) return unit;
    return ScaleUnit::Twips;
}

void ControlBase::ResizeSelf(int width, int height) {
    if (!hwnd_) return;
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    HWND parent = GetParent(hwnd_);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    RECT wanted{rc.left, rc.top, rc.left + width, rc.top + height};
    extent_.cx = static_cast<LONG>(ScaleX(width, ScaleUnit::Pixels, ScaleUnit::Himetric) + 0.5);
    extent_.cy = static_cast<LONG>(ScaleY(height, ScaleUnit::Pixels, ScaleUnit::Himetric) + 0.5);
    // A host that takes the new rectangle answers with SetObjectRects; one
    // that ignores it leaves the control its size.
    if (inplace_site_ && SUCCEEDED(inplace_site_->OnPosRectChange(&wanted))) return;
    SetObjectRects(&wanted, &wanted);
}

ComPtr<IDispatch> ControlBase::Extender() const {
    ComPtr<IDispatch> ext;
    if (ComPtr<IOleControlSite> cs = site_.As<IOleControlSite>()) cs->GetExtendedControl(ext.put());
    return ext;
}

ComPtr<IDispatch> ControlBase::Parent() const {
    ComPtr<IDispatch> ext = Extender();
    if (!ext) return {};
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(L"Parent");
    if (FAILED(ext->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return {};
    DISPPARAMS none{};
    Variant v;
    if (FAILED(ext->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, v.put(), nullptr, nullptr)))
        return {};
    if (v.vt() != VT_DISPATCH) return {};
    return ComPtr<IDispatch>(v->pdispVal);
}

void ControlBase::SendTabKeys(bool backwards) {
    INPUT in[4] = {};
    UINT n = 0;
    auto key = [&](WORD vk, bool up) {
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = vk;
        in[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++n;
    };
    if (backwards) key(VK_SHIFT, false);
    key(VK_TAB, false);
    key(VK_TAB, true);
    if (backwards) key(VK_SHIFT, true);
    SendInput(n, in, sizeof(INPUT));
}

void ControlBase::ProcessPendingMessages() {
    ComPtr<IOleObject> keep(static_cast<IOleObject*>(this));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // Keys of the focused control go through the host, as its own loop would send them.
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd == hwnd_ &&
            TranslateAccelerator(&msg) == S_OK)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

ComPtr<IDispatch> ControlBase::ContainedControls() const {
    ComPtr<IDispatch> ext = Extender();
    Variant v;
    if (!ext || FAILED(GetProperty(ext.get(), L"ContainedControls", v)) || v.vt() != VT_DISPATCH) return {};
    return ComPtr<IDispatch>(v->pdispVal);
}

void ControlBase::CaptureMouse() {
    if (hwnd_ && GetCapture() != hwnd_) SetCapture(hwnd_);
}

void ControlBase::ReleaseMouse() {
    if (HasCapture()) ReleaseCapture();
}

bool ControlBase::HasCapture() const { return hwnd_ && GetCapture() == hwnd_; }
bool ControlBase::HasFocus() const { return hwnd_ && GetFocus() == hwnd_; }

}  // namespace lumio
