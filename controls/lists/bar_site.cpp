#include "bar_site.h"

namespace lumio::lists {

// The event interface of the child, answered by dispatch identifier.
class ChildSite::Sink : public ComObject<Sink, IDispatch> {
public:
    Sink(const IID& iid, EventHandler* handler) : iid_(iid), handler_(handler) {}
    void Detach() { handler_ = nullptr; }

    void* Interface(REFIID iid) {
        if (IsEqualIID(iid, iid_)) return static_cast<IDispatch*>(this);
        return ComObject::Interface(iid);
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        if (handler_ && *handler_) {
            try {
                (*handler_)(id);
            } catch (...) {
                // The child's raise is no place for the parent's failure.
            }
        }
        return S_OK;
    }

private:
    IID iid_;
    EventHandler* handler_;
};

ComPtr<ChildSite> ChildSite::Create(HWND parent, EventHandler onEvent) {
    return ComPtr<ChildSite>::Attach(new ChildSite(parent, std::move(onEvent)));
}

ChildSite::~ChildSite() = default;

HRESULT ChildSite::Start(ChildCreateFunction create, const IID& eventsIid, RECT rect, bool visible) {
    rect_ = rect;
    visible_ = visible;
    HRESULT hr = create(nullptr, IID_IOleObject, reinterpret_cast<void**>(ole_.put()));
    if (FAILED(hr)) return hr;
    dispatch_ = ole_.As<IDispatch>();
    hr = ole_->SetClientSite(this);
    if (FAILED(hr)) return hr;
    if (auto cpc = ole_.As<IConnectionPointContainer>()) {
        if (SUCCEEDED(cpc->FindConnectionPoint(eventsIid, point_.put()))) {
            sink_impl_ = new Sink(eventsIid, &on_event_);
            sink_ = ComPtr<IDispatch>::Attach(sink_impl_);
            if (FAILED(point_->Advise(sink_.get(), &cookie_))) cookie_ = 0;
        }
    }
    if (auto init = ole_.As<IPersistStreamInit>()) init->InitNew();
    hr = ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, parent_, &rect_);
    if (FAILED(hr)) return hr;
    if (!visible_) {
        if (HWND w = ControlWindow()) ShowWindow(w, SW_HIDE);
    }
    return S_OK;
}

void ChildSite::Close() {
    if (sink_impl_) sink_impl_->Detach();
    sink_impl_ = nullptr;
    if (point_ && cookie_) point_->Unadvise(cookie_);
    cookie_ = 0;
    point_.reset();
    sink_.reset();
    if (ole_) {
        if (auto ip = ole_.As<IOleInPlaceObject>()) ip->InPlaceDeactivate();
        ole_->Close(OLECLOSE_NOSAVE);
        ole_->SetClientSite(nullptr);
    }
    dispatch_.reset();
    ole_.reset();
}

HWND ChildSite::ControlWindow() const {
    HWND w = nullptr;
    if (auto win = ole_.As<IOleWindow>()) win->GetWindow(&w);
    return w;
}

void ChildSite::Move(RECT rect) {
    rect_ = rect;
    if (auto ip = ole_.As<IOleInPlaceObject>()) ip->SetObjectRects(&rect_, &rect_);
}

void ChildSite::SetVisible(bool visible) {
    visible_ = visible;
    if (HWND w = ControlWindow()) ShowWindow(w, visible ? SW_SHOWNA : SW_HIDE);
}

void* ChildSite::Interface(REFIID iid) {
    if (IsEqualIID(iid, IID_IOleWindow)) return static_cast<IOleInPlaceSite*>(this);
    return ComObject::Interface(iid);
}

STDMETHODIMP ChildSite::GetMoniker(DWORD, DWORD, IMoniker** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ChildSite::GetContainer(IOleContainer** out) {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ChildSite::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = parent_;
    return S_OK;
}

STDMETHODIMP ChildSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                         LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (frame) *frame = nullptr;
    if (doc) *doc = nullptr;
    if (pos) *pos = rect_;
    if (clip) *clip = rect_;
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = parent_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP ChildSite::OnPosRectChange(LPCRECT pos) {
    if (!pos) return E_POINTER;
    Move(*pos);
    return S_OK;
}

STDMETHODIMP ChildSite::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return S_OK;
}

STDMETHODIMP ChildSite::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ChildSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

STDMETHODIMP ChildSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                               UINT*) {
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (id == DISPID_AMBIENT_USERMODE) {
        if (result) {
            VariantInit(result);
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_TRUE;
        }
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace lumio::lists
