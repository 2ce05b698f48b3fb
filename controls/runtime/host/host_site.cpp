// A site of our container: client, in-place and control site of one control,
// its ambient properties and its extender.
#include <algorithm>
#include <cmath>

#include "host_form.h"
#include "scale_units.h"
#include "variant_convert.h"

namespace lumio::host {

namespace {
// Positions in the form's scale unit (twips unless a test sets another).
ScaleUnit UnitOf(const Form* form) { return form ? form->scale_unit() : ScaleUnit::Twips; }
long ToUnits(long px, Axis axis, ScaleUnit unit) {
    return std::lround(ScaleConvert(px, ScaleUnit::Pixels, unit, axis, 96));
}
long ToPixels(double units, Axis axis, ScaleUnit unit) {
    return std::lround(ScaleConvert(units, unit, ScaleUnit::Pixels, axis, 96));
}
HRESULT PutLong(VARIANT* r, long x) {
    r->vt = VT_I4;
    r->lVal = x;
    return S_OK;
}
HRESULT PutBool(VARIANT* r, bool x) {
    r->vt = VT_BOOL;
    r->boolVal = x ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}
HRESULT PutObject(VARIANT* r, ComPtr<IDispatch> p) {
    r->vt = VT_DISPATCH;
    r->pdispVal = p.detach();
    return S_OK;
}
template <class T>
HRESULT Take(const VARIANT& v, T& out) {
    try {
        out = VariantValue<T>::From(v);
        return S_OK;
    } catch (const ArgError& e) {
        return e.hr;
    }
}
}  // namespace

Site::Site(Form* form, const std::wstring& name, Site* container) : form_(form), name_(name), container_(container) {}

void* Site::Interface(REFIID iid) {
    // IOleWindow is the in-place site's base.
    if (iid == IID_IOleWindow) return static_cast<IOleInPlaceSite*>(this);
    return ComObject::Interface(iid);
}

void Site::Detach() {
    ComPtr<IOleObject> ole = std::move(ole_);
    if (!ole) return;
    if (auto cpc = ole.As<IConnectionPointContainer>()) {
        ComPtr<IConnectionPoint> cp;
        if (event_cookie_ && SUCCEEDED(cpc->FindConnectionPoint(events_iid_, cp.put()))) cp->Unadvise(event_cookie_);
        if (notify_cookie_ && SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, cp.put())))
            cp->Unadvise(notify_cookie_);
    }
    event_cookie_ = notify_cookie_ = 0;
    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
    event_sink_.reset();
    notify_sink_.reset();
    extender_.reset();
    form_ = nullptr;
}

HWND Site::ContainerWindow() const {
    if (container_)
        if (HWND h = container_->ControlWindow()) return h;
    return form_ ? form_->hWnd() : nullptr;
}

HWND Site::ControlWindow() const {
    HWND h = nullptr;
    if (auto w = ole_.As<IOleInPlaceObject>()) w->GetWindow(&h);
    return h;
}

ComPtr<IDispatch> Site::Object() const { return ole_.As<IDispatch>(); }

void Site::Move(RECT rect) {
    if (rect.left != rect_.left) left_written_ = false;
    rect_ = rect;
    if (auto ipo = ole_.As<IOleInPlaceObject>()) ipo->SetObjectRects(&rect_, &rect_);
}

void Site::SetVisible(bool visible) {
    visible_ = visible;
    if (HWND h = ControlWindow()) ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
}

STDMETHODIMP Site::GetMoniker(DWORD, DWORD, IMoniker** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Site::GetContainer(IOleContainer** out) {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP Site::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = ContainerWindow();
    return *hwnd ? S_OK : E_FAIL;
}

STDMETHODIMP Site::OnUIActivate() {
    if (form_) form_->OnUIActivate(this);
    return S_OK;
}

STDMETHODIMP Site::OnUIDeactivate(BOOL) {
    if (form_) form_->SetActiveObject(nullptr);
    return S_OK;
}

STDMETHODIMP Site::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                    LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !doc || !pos || !clip) return E_POINTER;
    *frame = form_ ? ComPtr<IOleInPlaceFrame>(form_->frame()).detach() : nullptr;
    *doc = nullptr;
    *pos = rect_;
    *clip = rect_;
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = form_ ? form_->hWnd() : nullptr;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP Site::OnPosRectChange(LPCRECT pos) {
    if (!pos) return E_POINTER;
    Move(*pos);
    return S_OK;
}

STDMETHODIMP Site::GetExtendedControl(IDispatch** out) {
    if (!out) return E_POINTER;
    *out = ExtenderObject().detach();
    return *out ? S_OK : E_FAIL;
}

STDMETHODIMP Site::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) {
    if (!himetric || !container) return E_POINTER;
    // The container measures in pixels.
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        container->x = static_cast<float>(ScaleConvert(himetric->x, ScaleUnit::Himetric, ScaleUnit::Pixels, Axis::Horizontal, 96));
        container->y = static_cast<float>(ScaleConvert(himetric->y, ScaleUnit::Himetric, ScaleUnit::Pixels, Axis::Vertical, 96));
    } else {
        himetric->x = std::lround(ScaleConvert(container->x, ScaleUnit::Pixels, ScaleUnit::Himetric, Axis::Horizontal, 96));
        himetric->y = std::lround(ScaleConvert(container->y, ScaleUnit::Pixels, ScaleUnit::Himetric, Axis::Vertical, 96));
    }
    return S_OK;
}

STDMETHODIMP Site::TranslateAccelerator(MSG* msg, DWORD) {
    if (!msg) return E_POINTER;
    return form_ && form_->HandleHostKey(*msg) ? S_OK : S_FALSE;
}

STDMETHODIMP Site::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP Site::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Site::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

// The ambient properties.
STDMETHODIMP Site::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    if (!form_ || form_->Withholds(id)) return DISP_E_MEMBERNOTFOUND;
    VariantInit(result);
    switch (id) {
    case DISPID_AMBIENT_USERMODE: return PutBool(result, form_->UserMode());
    case DISPID_AMBIENT_DISPLAYNAME: *result = Variant::String(name_).detach(); return S_OK;
    case DISPID_AMBIENT_FONT: return PutObject(result, form_->AmbientFont().As<IDispatch>());
    case DISPID_AMBIENT_FORECOLOR: return PutLong(result, static_cast<long>(form_->AmbientForeColor()));
    case DISPID_AMBIENT_BACKCOLOR: return PutLong(result, static_cast<long>(form_->AmbientBackColor()));
    case DISPID_AMBIENT_DISPLAYASDEFAULT: return PutBool(result, form_->DefaultSite() == this);
    case DISPID_AMBIENT_SUPPORTSMNEMONICS: return PutBool(result, true);
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING: return PutBool(result, !form_->UserMode());
    case DISPID_AMBIENT_UIDEAD: return PutBool(result, false);
    case DISPID_AMBIENT_LOCALEID: return PutLong(result, static_cast<long>(GetUserDefaultLCID()));
    default: return DISP_E_MEMBERNOTFOUND;
    }
}

ComPtr<IDispatch> Site::ExtenderObject() {
    if (extender_) return ComPtr<IDispatch>(extender_.get());
    if (!form_) return {};
    extender_ = SimpleDispatch::Create();
    Site* self = this;
    auto& e = *extender_.get();
    e.Add({kExtName, L"Name", [self](VARIANT* r) { *r = Variant::String(self->name_).detach(); return S_OK; }});
    e.Add({kExtTag, L"Tag", [self](VARIANT* r) { *r = Variant::String(self->tag).detach(); return S_OK; },
           [self](const VARIANT& v) { return Take(v, self->tag); }});
    e.Add({kExtVisible, L"Visible", [self](VARIANT* r) { return PutBool(r, self->visible_); },
           [self](const VARIANT& v) {
               bool b = true;
               HRESULT hr = Take(v, b);
               if (SUCCEEDED(hr)) self->SetVisible(b);
               return hr;
           }});
    auto edge = [self](int which) {
        return [self, which](VARIANT* r) {
            const RECT& rc = self->rect_;
            if (which == 0 && self->left_written_) {
                double t = self->left_twips_;
                if (t == std::floor(t) && std::abs(t) < 2147483647.0) return PutLong(r, static_cast<long>(t));
                r->vt = VT_R8;
                r->dblVal = t;
                return S_OK;
            }
            long px = which == 0 ? rc.left : which == 1 ? rc.top : which == 2 ? rc.right - rc.left : rc.bottom - rc.top;
            return PutLong(r, ToUnits(px, which % 2 ? Axis::Vertical : Axis::Horizontal, UnitOf(self->form_)));
        };
    };
    auto set_edge = [self](int which) {
        return [self, which](const VARIANT& v) {
            double twips = 0;
            HRESULT hr = Take(v, twips);
            if (FAILED(hr)) return hr;
            RECT rc = self->rect_;
            long px = ToPixels(twips, which % 2 ? Axis::Vertical : Axis::Horizontal, UnitOf(self->form_));
            // Controls parked far outside (a tab's hidden pages) keep the
            // Left written; their window stops at the 16-bit coordinate range.
            if (which == 0) px = std::clamp(px, -32768L, 32767L);
            long w = rc.right - rc.left, h = rc.bottom - rc.top;
            if (which == 0) rc = {px, rc.top, px + w, rc.bottom};
            else if (which == 1) rc = {rc.left, px, rc.right, px + h};
            else if (which == 2) rc.right = rc.left + px;
            else rc.bottom = rc.top + px;
            self->Move(rc);
            if (which == 0) {
                self->left_written_ = true;
                self->left_twips_ = twips;
            }
            // An aligned control keeps its edge whatever is written.
            if (self->align_ != kAlignNone && self->form_) self->form_->ArrangeAligned();
            return S_OK;
        };
    };
    e.Add({kExtLeft, L"Left", edge(0), set_edge(0)});
    e.Add({kExtTop, L"Top", edge(1), set_edge(1)});
    e.Add({kExtWidth, L"Width", edge(2), set_edge(2)});
    e.Add({kExtHeight, L"Height", edge(3), set_edge(3)});
    e.Add({kExtAlign, L"Align", [self](VARIANT* r) { return PutLong(r, self->align_); },
           [self](const VARIANT& v) {
               long a = 0;
               HRESULT hr = Take(v, a);
               if (FAILED(hr)) return hr;
               if (a != kAlignNone && a != kAlignBottom) return E_INVALIDARG;
               self->align_ = static_cast<short>(a);
               if (self->align_ != kAlignNone && self->form_) self->form_->ArrangeAligned();
               return S_OK;
           }});
    e.Add({kExtParent, L"Parent", [self](VARIANT* r) { return PutObject(r, self->form_ ? self->form_->Dispatch() : nullptr); }});
    e.Add({kExtContainer, L"Container", [self](VARIANT* r) {
               if (self->container_) return PutObject(r, self->container_->ExtenderObject());
               return PutObject(r, self->form_ ? self->form_->Dispatch() : nullptr);
           }});
    // Only members of a control array have an index.
    e.Add({kExtIndex, L"Index", [self](VARIANT* r) {
               if (self->index < 0) return DISP_E_MEMBERNOTFOUND;
               r->vt = VT_I2;
               r->iVal = static_cast<SHORT>(self->index);
               return S_OK;
           }});
    e.Add({kExtObject, L"Object", [self](VARIANT* r) { return PutObject(r, self->Object()); }});
    e.Add({kExtDefault, L"Default", [self](VARIANT* r) { return PutBool(r, self->form_ && self->form_->DefaultSite() == self); },
           [self](const VARIANT& v) {
               bool b = false;
               HRESULT hr = Take(v, b);
               if (SUCCEEDED(hr) && self->form_) {
                   if (b) self->form_->SetDefault(self);
                   else if (self->form_->DefaultSite() == self) self->form_->SetDefault(nullptr);
               }
               return hr;
           }});
    e.Add({kExtCancel, L"Cancel", [self](VARIANT* r) { return PutBool(r, self->form_ && self->form_->CancelSite() == self); },
           [self](const VARIANT& v) {
               bool b = false;
               HRESULT hr = Take(v, b);
               if (SUCCEEDED(hr) && self->form_) {
                   if (b) self->form_->SetCancel(self);
                   else if (self->form_->CancelSite() == self) self->form_->SetCancel(nullptr);
               }
               return hr;
           }});
    // The controls placed inside this one, when it is a container.
    e.Add({kExtContainedControls, L"ContainedControls", [self](VARIANT* r) {
               auto coll = SimpleDispatch::Create();
               auto items = self->form_ ? self->form_->ContainedIn(self) : std::vector<Site*>{};
               coll->Add({1, L"Count", [items](VARIANT* c) { return PutLong(c, static_cast<long>(items.size())); }});
               coll->Add({DISPID_VALUE, L"Item", {}, {}, [items](const std::vector<VARIANT*>& args, VARIANT* c) -> HRESULT {
                              if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
                              long i = 0;
                              HRESULT hr = Take(*args[0], i);
                              if (FAILED(hr)) return hr;
                              if (i < 0 || i >= static_cast<long>(items.size())) return DISP_E_BADINDEX;
                              return PutObject(c, items[i]->ExtenderObject());
                          }});
               return PutObject(r, ComPtr<IDispatch>(coll.get()));
           }});
    // Members of the control itself answer through the extender too.
    e.SetFallback([self] { return self->Object(); });
    return ComPtr<IDispatch>(extender_.get());
}

}  // namespace lumio::host
