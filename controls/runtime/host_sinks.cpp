#include "host_sinks.h"

#include "host_form.h"

namespace lumio::host {

namespace {

template <class Derived, class I>
class Unknown : public I {
public:
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG r = InterlockedDecrement(&refs_);
        if (!r) delete static_cast<Derived*>(this);
        return r;
    }

protected:
    virtual ~Unknown() = default;
    LONG refs_ = 1;
};

class EventSink : public Unknown<EventSink, IDispatch> {
public:
    EventSink(Form* form, Site* site, REFIID iid) : form_(form), site_(site), iid_(iid) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == iid_) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        form_->Record(*site_, false, id, params);
        return S_OK;
    }

private:
    Form* form_;
    Site* site_;
    IID iid_;
};

class NotifySink : public Unknown<NotifySink, IPropertyNotifySink> {
public:
    NotifySink(Form* form, Site* site) : form_(form), site_(site) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IPropertyNotifySink) {
            *out = static_cast<IPropertyNotifySink*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP OnChanged(DISPID id) override {
        form_->Record(*site_, true, id, nullptr);
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

private:
    Form* form_;
    Site* site_;
};

class Frame : public Unknown<Frame, IOleInPlaceFrame> {
public:
    explicit Frame(Form* form) : form_(form) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow ||
            iid == IID_IOleInPlaceFrame) {
            *out = static_cast<IOleInPlaceFrame*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetWindow(HWND* hwnd) override {
        if (!hwnd) return E_POINTER;
        *hwnd = form_->hWnd();
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
        form_->SetActiveObject(active);
        return S_OK;
    }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    Form* form_;
};

}  // namespace

ComPtr<IDispatch> CreateEventSink(Form* form, Site* site, REFIID events_iid) {
    return ComPtr<IDispatch>::Attach(new EventSink(form, site, events_iid));
}

ComPtr<IPropertyNotifySink> CreateNotifySink(Form* form, Site* site) {
    return ComPtr<IPropertyNotifySink>::Attach(new NotifySink(form, site));
}

ComPtr<IOleInPlaceFrame> CreateFrame(Form* form) { return ComPtr<IOleInPlaceFrame>::Attach(new Frame(form)); }

}  // namespace lumio::host
