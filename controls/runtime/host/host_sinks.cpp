#include "host_sinks.h"

#include "com_object.h"
#include "host_form.h"

namespace lumio::host {

namespace {

class EventSink : public ComObject<EventSink, IDispatch> {
public:
    EventSink(Form* form, Site* site, REFIID iid) : form_(form), site_(site), iid_(iid) {}
    // The control's event interface as well.
    void* Interface(REFIID iid) {
        if (iid == iid_) return static_cast<IDispatch*>(this);
        return ComObject::Interface(iid);
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

class NotifySink : public ComObject<NotifySink, IPropertyNotifySink> {
public:
    NotifySink(Form* form, Site* site) : form_(form), site_(site) {}
    STDMETHODIMP OnChanged(DISPID id) override {
        form_->Record(*site_, true, id, nullptr);
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

private:
    Form* form_;
    Site* site_;
};

class Frame : public ComObject<Frame, IOleInPlaceFrame> {
public:
    explicit Frame(Form* form) : form_(form) {}
    // The frame's base interfaces as well.
    void* Interface(REFIID iid) {
        if (iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow) return static_cast<IOleInPlaceFrame*>(this);
        return ComObject::Interface(iid);
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
