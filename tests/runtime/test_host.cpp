#include "test_host.h"

#include <vector>

namespace testhost {

using lumio::Variant;

// OLE stays up for the whole process: starting it anew per test costs seconds under Wine.
void OleTest::SetUp() {
    static const HRESULT ole = OleInitialize(nullptr);
    ASSERT_TRUE(SUCCEEDED(ole));
}

void OleTest::TearDown() {
    form_.reset();
    lumio::host::DoEvents();
}

// One top-level window for the whole process holds each test's form: hiding
// a top-level window costs Wine two seconds when no window manager runs.
HWND TopWindow() {
    static HWND top = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumioTestTop";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassW(&wc);
        HWND h = CreateWindowExW(0, L"LumioTestTop", L"Tests", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50, 420,
                                 340, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(h, SW_SHOW);
        SetForegroundWindow(h);
        return h;
    }();
    return top;
}

lumio::host::Form& OleTest::NewForm(bool user_mode) {
    form_.reset();
    form_ = std::make_unique<lumio::host::Form>(TopWindow(), RECT{0, 0, 400, 300});
    form_->SetUserMode(user_mode);
    lumio::host::DoEvents(form_.get());
    return *form_;
}

Variant Get(IDispatch* obj, DISPID id) {
    Variant v;
    EXPECT_EQ(lumio::GetPropertyById(obj, id, v), S_OK) << "get " << id;
    return v;
}

HRESULT Put(IDispatch* obj, DISPID id, const Variant& v) { return lumio::PutPropertyById(obj, id, v); }

HRESULT Call(IDispatch* obj, DISPID id, std::initializer_list<Variant> args, EXCEPINFO* info, Variant* result) {
    std::vector<VARIANT> rev;
    for (auto it = args.end(); it != args.begin();) rev.push_back(**--it);
    DISPPARAMS params{rev.data(), nullptr, static_cast<UINT>(rev.size()), 0};
    EXCEPINFO scratch{};
    Variant r;
    HRESULT hr = obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, r.put(),
                             info ? info : &scratch, nullptr);
    if (!info) {
        SysFreeString(scratch.bstrSource);
        SysFreeString(scratch.bstrDescription);
        SysFreeString(scratch.bstrHelpFile);
    }
    if (result) *result = r;
    return hr;
}

HRESULT InvokeWith(IDispatch* obj, DISPID id, WORD flags, const std::vector<Variant>& args, Variant* result,
                   EXCEPINFO* info) {
    std::vector<VARIANT> rev;
    for (auto it = args.end(); it != args.begin();) rev.push_back(**--it);
    DISPID put = DISPID_PROPERTYPUT;
    bool is_put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    DISPPARAMS params{rev.data(), is_put ? &put : nullptr, static_cast<UINT>(rev.size()), is_put ? 1u : 0u};
    EXCEPINFO scratch{};
    Variant r;
    HRESULT hr = obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, r.put(), info ? info : &scratch,
                             nullptr);
    if (!info) {
        SysFreeString(scratch.bstrSource);
        SysFreeString(scratch.bstrDescription);
        SysFreeString(scratch.bstrHelpFile);
    }
    if (result) *result = r;
    return hr;
}

long AsLong(const Variant& v) {
    if (v.vt() == VT_UI4) return static_cast<long>(v->ulVal);  // a colour: the bits as they are
    Variant c;
    if (FAILED(VariantChangeType(c.get(), const_cast<VARIANT*>(v.get()), 0, VT_I4))) return -999999;
    return c->lVal;
}

std::wstring AsString(const Variant& v) {
    Variant c;
    if (FAILED(VariantChangeType(c.get(), const_cast<VARIANT*>(v.get()), 0, VT_BSTR))) return L"<?>";
    return std::wstring(c->bstrVal, SysStringLen(c->bstrVal));
}

}  // namespace testhost
