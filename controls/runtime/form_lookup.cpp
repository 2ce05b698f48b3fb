#include "form_lookup.h"

#include "simple_dispatch.h"

namespace lumio {

namespace {
bool Answers(IDispatch* obj, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    return SUCCEEDED(obj->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id));
}
}  // namespace

bool IsFormObject(IDispatch* obj) { return obj && Answers(obj, L"hWnd") && Answers(obj, L"WindowState"); }

ComPtr<IDispatch> FindForm(IDispatch* parent, int levels) {
    ComPtr<IDispatch> at(parent);
    for (int i = 0; i < levels && at; ++i) {
        if (IsFormObject(at.get())) return at;
        Variant next;
        if (FAILED(GetProperty(at.get(), L"Parent", next)) || next.vt() != VT_DISPATCH) return {};
        at = ComPtr<IDispatch>(next->pdispVal);
    }
    return {};
}

HWND FormWindow(IDispatch* form) {
    Variant h;
    if (!form || FAILED(GetProperty(form, L"hWnd", h))) return nullptr;
    if (FAILED(VariantChangeType(h.get(), h.get(), 0, VT_I4))) return nullptr;
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(h->lVal));
}

}  // namespace lumio
