// Persistence: a new control, a control read from a bag or a stream, and saving.
#include "com_errors.h"
#include "control_base.h"
#include "memory_property_bag.h"

namespace lumio {

void ControlBase::CallInitProperties() {
    initialized_ = true;
    resized_since_init_ = false;
    OnInitProperties();
}

void ControlBase::CallReadProperties(IPropertyBag* bag, IErrorLog* log) {
    initialized_ = true;
    resized_since_init_ = false;
    PropertyReader reader(bag, log);
    OnReadProperties(reader);
}

STDMETHODIMP ControlBase::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = *info_.clsid;
    return S_OK;
}

STDMETHODIMP ControlBase::InitNew() {
    if (initialized_) return E_UNEXPECTED;
    return Guard(*info_.dispatch_iid, [&] {
        CallInitProperties();
        return S_OK;
    });
}

STDMETHODIMP ControlBase::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    if (initialized_) return E_UNEXPECTED;
    return Guard(*info_.dispatch_iid, [&] {
        CallReadProperties(bag, log);
        return S_OK;
    });
}

STDMETHODIMP ControlBase::Save(IPropertyBag* bag, BOOL clear_dirty, BOOL) {
    if (!bag) return E_POINTER;
    return Guard(*info_.dispatch_iid, [&] {
        PropertyWriter writer(bag);
        OnWriteProperties(writer);
        if (FAILED(writer.result())) return writer.result();
        if (clear_dirty) dirty_ = false;
        return S_OK;
    });
}

STDMETHODIMP ControlBase::Load(LPSTREAM stream) {
    if (!stream) return E_POINTER;
    if (initialized_) return E_UNEXPECTED;
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    HRESULT hr = bag->LoadFrom(stream);
    if (FAILED(hr)) return hr;
    return Load(bag.get(), nullptr);
}

STDMETHODIMP ControlBase::Save(LPSTREAM stream, BOOL clear_dirty) {
    if (!stream) return E_POINTER;
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    HRESULT hr = Save(bag.get(), clear_dirty, TRUE);
    if (FAILED(hr)) return hr;
    return bag->SaveTo(stream);
}

}  // namespace lumio
