// Our header of the frame's callback interface against the type library in
// Lumiokit.dll: identities, slot order, dispatch identifiers and argument
// types, and a late-bound call through the library's description landing in
// the right C++ member with the right values.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "CustomWindowCalls.h"

using namespace lumio;

namespace {

struct TypeLib {
    ITypeLib* lib = nullptr;
    TypeLib() {
        CoInitialize(nullptr);
        LoadTypeLibEx(L"Lumiokit.dll", REGKIND_NONE, &lib);
    }
    ~TypeLib() {
        if (lib) lib->Release();
        CoUninitialize();
    }
};

struct Info {
    ITypeInfo* p = nullptr;
    ~Info() {
        if (p) p->Release();
    }
};

// The vtable side of the dual interface.
bool InterfaceSide(ITypeLib* lib, Info& out) {
    Info dual;
    HREFTYPE ref = 0;
    return SUCCEEDED(lib->GetTypeInfoOfGuid(IID__CustomWindowCalls, &dual.p)) &&
           SUCCEEDED(dual.p->GetRefTypeOfImplType(-1, &ref)) && SUCCEEDED(dual.p->GetRefTypeInfo(ref, &out.p));
}

TEST(CustomWindowCallsLibrary, ClassAndInterfaceIdentities) {
    TypeLib t;
    ASSERT_NE(t.lib, nullptr);
    Info co, dual;
    ASSERT_EQ(t.lib->GetTypeInfoOfGuid(CLSID_CustomWindowCalls, &co.p), S_OK);
    TYPEATTR* attr = nullptr;
    co.p->GetTypeAttr(&attr);
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    EXPECT_FALSE(attr->wTypeFlags & TYPEFLAG_FCANCREATE) << "clients cannot create it";
    co.p->ReleaseTypeAttr(attr);
    HREFTYPE ref = 0;
    ASSERT_EQ(co.p->GetRefTypeOfImplType(0, &ref), S_OK);
    ASSERT_EQ(co.p->GetRefTypeInfo(ref, &dual.p), S_OK);
    dual.p->GetTypeAttr(&attr);
    EXPECT_TRUE(IsEqualGUID(attr->guid, IID__CustomWindowCalls));
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
    dual.p->ReleaseTypeAttr(attr);
}

TEST(CustomWindowCallsLibrary, SlotsIdentifiersAndArgumentTypesMatchOurHeader) {
    TypeLib t;
    ASSERT_NE(t.lib, nullptr);
    Info side;
    ASSERT_TRUE(InterfaceSide(t.lib, side));
    const VARTYPE handle = sizeof(void*) == 8 ? VT_I8 : VT_I4;
    const VARTYPE byRef = VT_PTR;
    // The argument types of each C++ member, VT_PTR followed by the target for by-reference ones.
    const std::vector<std::vector<VARTYPE>> types = {
        {handle, VT_I4, VT_I4, VT_BOOL, byRef, VT_BOOL},
        {handle, VT_I4, VT_I4, VT_BOOL, byRef, VT_BOOL},
        {VT_BSTR, VT_I2, handle, VT_I4, VT_I4, VT_I4, VT_I4, VT_BOOL, byRef, VT_BOOL},
        {VT_BSTR},
        {handle, VT_I4, VT_I4, VT_I4, VT_I4, VT_BOOL, byRef, VT_BOOL},
        {handle, byRef, VT_BSTR, VT_I4, VT_I4},
        {byRef, handle, VT_I4, VT_I4, VT_I4, VT_I4},
        {VT_BOOL, byRef, VT_BOOL},
    };
    TYPEATTR* attr = nullptr;
    side.p->GetTypeAttr(&attr);
    ASSERT_EQ(attr->cFuncs, 8u);  // its own; IUnknown and IDispatch come by inheritance
    EXPECT_EQ(attr->cbSizeVft, 15 * sizeof(void*));
    side.p->ReleaseTypeAttr(attr);
    for (UINT k = 0; k < 8; ++k) {
        const CustomWindowCallsMember& m = kCustomWindowCallsMembers[k];
        SCOPED_TRACE(std::string(m.name, m.name + wcslen(m.name)));
        FUNCDESC* fd = nullptr;
        ASSERT_EQ(side.p->GetFuncDesc(k, &fd), S_OK);
        BSTR name = nullptr;
        UINT got = 0;
        side.p->GetNames(fd->memid, &name, 1, &got);
        EXPECT_STREQ(name, m.name);
        SysFreeString(name);
        EXPECT_EQ(fd->memid, m.dispid);
        EXPECT_EQ(fd->cParams, m.paramCount);
        EXPECT_EQ(fd->oVft, SHORT((7 + k) * sizeof(void*))) << "vtable slot";
        std::vector<VARTYPE> seen;
        for (int i = 0; i < fd->cParams; ++i) {
            const TYPEDESC& td = fd->lprgelemdescParam[i].tdesc;
            seen.push_back(td.vt);
            if (td.vt == VT_PTR) seen.push_back(td.lptdesc->vt);
        }
        EXPECT_EQ(seen, types[k]);
        side.p->ReleaseFuncDesc(fd);
    }
}

// The region handle the client answers: all of a pointer's bits, so that a cut is seen.
const LONG_PTR kRegion = LONG_PTR(sizeof(void*) == 8 ? 0x12345678ABLL : 0x345678AB);

// Records what arrives and answers through the out-arguments.
struct Client : _CustomWindowCalls {
    std::vector<std::wstring> calls;
    std::wstring Fmt(const wchar_t* f, ...) {
        wchar_t buf[256];
        va_list ap;
        va_start(ap, f);
        _vsnwprintf(buf, 255, f, ap);
        va_end(ap);
        buf[255] = 0;
        return buf;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE UserDrawnTitleBar(LONG_PTR hDC, LONG CX, LONG CY, VARIANT_BOOL HasFocus,
                                                VARIANT_BOOL* Modified) override {
        calls.push_back(Fmt(L"TitleBar %llx %ld %ld %d", (long long)hDC, CX, CY, HasFocus));
        *Modified = VARIANT_TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UserDrawnMenuBar(LONG_PTR hDC, LONG CX, LONG CY, VARIANT_BOOL HasFocus,
                                               VARIANT_BOOL* Modified) override {
        calls.push_back(Fmt(L"MenuBar %llx %ld %ld %d %d", (long long)hDC, CX, CY, HasFocus, *Modified));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UserDrawnButton(BSTR ID, SHORT State, LONG_PTR hDC, LONG X, LONG Y, LONG CX, LONG CY,
                                              VARIANT_BOOL HasFocus, VARIANT_BOOL* Modified) override {
        calls.push_back(Fmt(L"Button %ls %d %llx %ld %ld %ld %ld %d", ID, State, (long long)hDC, X, Y, CX, CY,
                            HasFocus));
        *Modified = VARIANT_TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UserButtonClick(BSTR ID) override {
        calls.push_back(Fmt(L"Click %ls", ID));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UserDrawnBorder(LONG_PTR hDC, LONG X, LONG Y, LONG CX, LONG CY, VARIANT_BOOL HasFocus,
                                              VARIANT_BOOL* Modified) override {
        calls.push_back(Fmt(L"Border %llx %ld %ld %ld %ld %d", (long long)hDC, X, Y, CX, CY, HasFocus));
        *Modified = VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BeforeDrawCaption(LONG_PTR hDC, BSTR* Caption, LONG X, LONG Y) override {
        calls.push_back(Fmt(L"Caption %llx %ls %ld %ld", (long long)hDC, *Caption, X, Y));
        SysFreeString(*Caption);
        *Caption = SysAllocString(L"\u65B0\u6807\u9898");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnCreateRegion(LONG_PTR* hRgn, LONG X, LONG Y, LONG CX, LONG CY) override {
        calls.push_back(Fmt(L"Region %llx %ld %ld %ld %ld", (long long)*hRgn, X, Y, CX, CY));
        *hRgn = kRegion;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnterExitSizing(VARIANT_BOOL BeginSizing, VARIANT_BOOL* UserRedrawn) override {
        calls.push_back(Fmt(L"Sizing %d", BeginSizing));
        *UserRedrawn = VARIANT_TRUE;
        return S_OK;
    }
};

VARIANT Long(LONG v) {
    VARIANT x;
    V_VT(&x) = VT_I4;
    V_I4(&x) = v;
    return x;
}
VARIANT Handle(LONG_PTR v) {
    VARIANT x;
    if constexpr (sizeof(void*) == 8) {
        V_VT(&x) = VT_I8;
        V_I8(&x) = v;
    } else {
        V_VT(&x) = VT_I4;
        V_I4(&x) = LONG(v);
    }
    return x;
}
VARIANT Bool(bool b) {
    VARIANT x;
    V_VT(&x) = VT_BOOL;
    V_BOOL(&x) = b ? VARIANT_TRUE : VARIANT_FALSE;
    return x;
}
VARIANT BoolRef(VARIANT_BOOL* p) {
    VARIANT x;
    V_VT(&x) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&x) = p;
    return x;
}

TEST(CustomWindowCallsLibrary, LateBoundCallsReachTheRightMembers) {
    TypeLib t;
    ASSERT_NE(t.lib, nullptr);
    Info side;
    ASSERT_TRUE(InterfaceSide(t.lib, side));
    Client client;
    IUnknown* std = nullptr;
    ASSERT_EQ(CreateStdDispatch(nullptr, static_cast<_CustomWindowCalls*>(&client), side.p, &std), S_OK);
    IDispatch* disp = nullptr;
    ASSERT_EQ(std->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)), S_OK);

    auto call = [&](DISPID id, std::vector<VARIANT> args) {  // args in order; DISPPARAMS wants them reversed
        std::vector<VARIANT> rev(args.rbegin(), args.rend());
        DISPPARAMS dp{rev.data(), nullptr, UINT(rev.size()), 0};
        return disp->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &dp, nullptr, nullptr, nullptr);
    };
    const LONG_PTR dc = sizeof(void*) == 8 ? LONG_PTR(0x7FFF00001234LL) : LONG_PTR(0x1234);
    VARIANT_BOOL modified = VARIANT_FALSE;
    BSTR id = SysAllocString(L"2");
    BSTR caption = SysAllocString(L"Old");

    VARIANT s;
    V_VT(&s) = VT_BSTR;
    V_BSTR(&s) = id;
    VARIANT state;
    V_VT(&state) = VT_I2;
    V_I2(&state) = 3;
    VARIANT cap;
    V_VT(&cap) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&cap) = &caption;
    LONG_PTR region = 0;
    VARIANT rgn;
    if constexpr (sizeof(void*) == 8) {
        V_VT(&rgn) = VT_I8 | VT_BYREF;
        V_I8REF(&rgn) = reinterpret_cast<LONGLONG*>(&region);
    } else {
        V_VT(&rgn) = VT_I4 | VT_BYREF;
        V_I4REF(&rgn) = reinterpret_cast<LONG*>(&region);
    }

    EXPECT_EQ(call(DISPID_UserDrawnTitleBar, {Handle(dc), Long(300), Long(19), Bool(true), BoolRef(&modified)}), S_OK);
    EXPECT_EQ(modified, VARIANT_TRUE);
    modified = VARIANT_FALSE;
    EXPECT_EQ(call(DISPID_UserDrawnMenuBar, {Handle(dc), Long(300), Long(20), Bool(false), BoolRef(&modified)}), S_OK);
    EXPECT_EQ(call(DISPID_UserDrawnButton, {s, state, Handle(dc), Long(1), Long(2), Long(16), Long(14), Bool(true),
                                            BoolRef(&modified)}),
              S_OK);
    EXPECT_EQ(modified, VARIANT_TRUE);
    EXPECT_EQ(call(DISPID_UserButtonClick, {s}), S_OK);
    EXPECT_EQ(call(DISPID_UserDrawnBorder, {Handle(dc), Long(0), Long(0), Long(320), Long(240), Bool(false),
                                            BoolRef(&modified)}),
              S_OK);
    EXPECT_EQ(modified, VARIANT_FALSE);
    EXPECT_EQ(call(DISPID_BeforeDrawCaption, {Handle(dc), cap, Long(24), Long(3)}), S_OK);
    EXPECT_STREQ(caption, L"\u65B0\u6807\u9898");
    EXPECT_EQ(call(DISPID_OnCreateRegion, {rgn, Long(0), Long(0), Long(320), Long(240)}), S_OK);
    EXPECT_EQ(region, kRegion);
    modified = VARIANT_FALSE;
    EXPECT_EQ(call(DISPID_EnterExitSizing, {Bool(false), BoolRef(&modified)}), S_OK);
    EXPECT_EQ(modified, VARIANT_TRUE);

    const std::wstring h = sizeof(void*) == 8 ? L"7fff00001234" : L"1234";
    EXPECT_EQ(client.calls, (std::vector<std::wstring>{
                                L"TitleBar " + h + L" 300 19 -1",
                                L"MenuBar " + h + L" 300 20 0 0",
                                L"Button 2 3 " + h + L" 1 2 16 14 -1",
                                L"Click 2",
                                L"Border " + h + L" 0 0 320 240 0",
                                L"Caption " + h + L" Old 24 3",
                                L"Region 0 0 0 320 240",
                                L"Sizing 0",
                            }));
    SysFreeString(id);
    SysFreeString(caption);
    disp->Release();
    std->Release();
}

}  // namespace
