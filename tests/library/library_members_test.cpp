// Every class of the class table as a late-bound caller (a script host) meets
// it: property reads answer the types the type library declares, and values
// such callers pass (too large, out of range, objects by reference) get the
// answers a script would see. Controls that land later are walked as they
// come: the test takes the class table and the type library as they stand.
#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "class_table.h"
#include "lumiokit_ids.h"
#include "com_ptr.h"
#include "ole_types.h"
#include "std_objects.h"
#include "test_host.h"

namespace {

using lumio::ComPtr;
using lumio::Variant;
using namespace testhost;

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::vector<std::string> ClassNames() {
    std::vector<std::string> names;
    for (const lumio::ControlClass& c : lumio::ControlClasses()) names.push_back(Narrow(c.name));
    return names;
}

const lumio::ControlClass* ClassNamed(const std::string& name) {
    for (const lumio::ControlClass& c : lumio::ControlClasses())
        if (Narrow(c.name) == name) return &c;
    return nullptr;
}

// The vtable side of the class's default interface.
ComPtr<ITypeInfo> DefaultInterface(const CLSID& clsid) {
    ITypeLib* lib = lumio::LumiokitTypeLib();
    ComPtr<ITypeInfo> coclass;
    if (!lib || FAILED(lib->GetTypeInfoOfGuid(clsid, coclass.put()))) return {};
    TYPEATTR* attr = nullptr;
    coclass->GetTypeAttr(&attr);
    const WORD count = attr->cImplTypes;
    coclass->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < count; ++i) {
        INT flags = 0;
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> dispatch, vtable;
        if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || !(flags & IMPLTYPEFLAG_FDEFAULT) ||
            (flags & IMPLTYPEFLAG_FSOURCE) || FAILED(coclass->GetRefTypeOfImplType(i, &ref)) ||
            FAILED(coclass->GetRefTypeInfo(ref, dispatch.put())))
            continue;
        if (SUCCEEDED(dispatch->GetRefTypeOfImplType(-1, &ref)) && SUCCEEDED(dispatch->GetRefTypeInfo(ref, vtable.put())))
            return vtable;
        return dispatch;
    }
    return {};
}

struct Getter {
    std::wstring name;
    DISPID id;
    int indexes;  // arguments before the value
};

// Calls each(fd, name) for every function the type lists, in its order.
template <class Each>
void ForEachFunc(ITypeInfo* info, Each each) {
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    const WORD count = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* fd = nullptr;
        if (FAILED(info->GetFuncDesc(i, &fd))) continue;
        lumio::Bstr name;
        UINT got = 0;
        info->GetNames(fd->memid, name.put(), 1, &got);
        each(*fd, name);
        info->ReleaseFuncDesc(fd);
    }
}

std::vector<Getter> GettersOf(ITypeInfo* info) {
    std::vector<Getter> out;
    ForEachFunc(info, [&](const FUNCDESC& fd, lumio::Bstr& name) {
        if (fd.invkind != INVOKE_PROPERTYGET) return;
        int indexes = 0;
        for (SHORT p = 0; p < fd.cParams; ++p)
            if (!(fd.lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) ++indexes;
        out.push_back({name.str(), fd.memid, indexes});
    });
    return out;
}

// Types the issue of a host names outright; the rest are whatever the
// platform's own type-library call gives for the vtable slot.
std::optional<VARTYPE> Known(const std::wstring& member) {
    if (member == L"hWnd") return sizeof(void*) == 8 ? VT_I8 : VT_I4;
    if (member == L"MousePointer") return VT_I4;
    if (member == L"BackColor" || member == L"ForeColor") return VT_UI4;
    if (member == L"Font" || member == L"MouseIcon") return VT_DISPATCH;
    if (member == L"Enabled") return VT_BOOL;
    return std::nullopt;
}

class EveryClass : public OleTest, public ::testing::WithParamInterface<std::string> {};
class HostValuesWalk : public OleTest {};

TEST_P(EveryClass, PropertyReadsAnswerTheTypeLibrarysTypes) {
    const lumio::ControlClass* cls = ClassNamed(GetParam());
    ASSERT_NE(cls, nullptr);
    ComPtr<ITypeInfo> info = DefaultInterface(*cls->clsid);
    ASSERT_TRUE(info) << "the type library describes the class";
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    const IID iid = attr->guid;
    info->ReleaseTypeAttr(attr);

    lumio::host::Site* site = NewForm().Add(cls->create, L"Under", RECT{10, 10, 210, 110});
    ASSERT_NE(site, nullptr);
    ComPtr<IDispatch> late = site->Object();
    ComPtr<IUnknown> early;
    ASSERT_EQ(late->QueryInterface(iid, early.put_void()), S_OK) << "the dual interface";

    int checked = 0;
    const auto getters = GettersOf(info.get());
    for (const Getter& g : getters) {
        SCOPED_TRACE(Narrow(g.name));
        std::vector<Variant> args;
        if (g.indexes == 1) args.push_back(Variant::Long(0));  // the first entry, where there is one
        ASSERT_LE(g.indexes, 1);
        // The platform reads the vtable slot and wraps the value in the declared type.
        std::vector<VARIANT> rev;
        for (auto it = args.rbegin(); it != args.rend(); ++it) rev.push_back(**it);
        DISPPARAMS params{rev.empty() ? nullptr : rev.data(), nullptr, static_cast<UINT>(rev.size()), 0};
        Variant declared;
        EXCEPINFO ex{};
        UINT arg_err = 0;
        const HRESULT early_hr =
            info->Invoke(early.get(), g.id, DISPATCH_PROPERTYGET, &params, declared.put(), &ex, &arg_err);
        SysFreeString(ex.bstrSource);
        SysFreeString(ex.bstrDescription);
        SysFreeString(ex.bstrHelpFile);
        Variant answered;
        const HRESULT late_hr = InvokeWith(late.get(), g.id, DISPATCH_PROPERTYGET, args, &answered);
        if (g.indexes && FAILED(late_hr)) continue;  // no entry 0 in a fresh control
        ASSERT_EQ(late_hr, S_OK);
        ASSERT_EQ(early_hr, S_OK);
        EXPECT_EQ(answered.vt(), declared.vt());
        if (auto known = Known(g.name)) {
            EXPECT_EQ(answered.vt(), *known);
        }
        ++checked;
    }
    EXPECT_TRUE(checked > 0 || getters.empty()) << "a class with properties reads some";
    if (std::optional<VARTYPE> hwnd = Known(L"hWnd"); hwnd) {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR name = const_cast<LPOLESTR>(L"hWnd");
        if (late->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id) == S_OK) {
            Variant h = Get(late.get(), id);
            const LONG_PTR value = h.vt() == VT_I8 ? static_cast<LONG_PTR>(h->llVal) : h->lVal;
            EXPECT_EQ(reinterpret_cast<HWND>(value), site->ControlWindow()) << "the whole handle";
        }
    }
}

// Every member the type library lists on the class's default interface,
// property or method, hidden or not: what its IDispatch does not answer, by
// name (GetIDsOfNames gives the library's dispatch id) and by that id (an
// Invoke with one argument too many is refused for its count, so nothing
// runs, never for an unknown member).
std::vector<std::string> Unanswered(ITypeInfo* info, IDispatch* late) {
    std::vector<std::string> misses;
    ForEachFunc(info, [&](const FUNCDESC& fd, lumio::Bstr& name) {
        const DISPID memid = fd.memid;
        const INVOKEKIND kind = fd.invkind;
        const std::string what = Narrow(name.str());
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR n = name.get();
        if (late->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id) != S_OK || id != memid)
            misses.push_back(what + " by name");
        std::vector<VARIANT> args(static_cast<size_t>(fd.cParams) + 1);
        for (VARIANT& a : args) {
            a.vt = VT_I4;
            a.lVal = 0;
        }
        DISPID named = DISPID_PROPERTYPUT;
        const bool put = kind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF);
        DISPPARAMS dp{args.data(), put ? &named : nullptr, static_cast<UINT>(args.size()), put ? 1u : 0u};
        const WORD flags = kind == INVOKE_FUNC            ? DISPATCH_METHOD
                           : kind == INVOKE_PROPERTYGET   ? DISPATCH_PROPERTYGET
                           : kind == INVOKE_PROPERTYPUT   ? DISPATCH_PROPERTYPUT
                                                          : DISPATCH_PROPERTYPUTREF;
        Variant result;
        const HRESULT hr = late->Invoke(memid, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result.put(), nullptr, nullptr);
        if (hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_UNKNOWNNAME) misses.push_back(what + " by id");
        else if (hr != DISP_E_BADPARAMCOUNT) misses.push_back(what + " ran with too many arguments");
    });
    return misses;
}

std::string Joined(const std::vector<std::string>& v) {
    std::string out;
    for (const auto& s : v) out += s + "; ";
    return out;
}

TEST_P(EveryClass, AnswersEveryTypeLibraryMemberByNameAndId) {
    const lumio::ControlClass* cls = ClassNamed(GetParam());
    ASSERT_NE(cls, nullptr);
    ComPtr<ITypeInfo> info = DefaultInterface(*cls->clsid);
    ASSERT_TRUE(info);
    lumio::host::Site* site = NewForm().Add(cls->create, L"Under", RECT{10, 10, 210, 110});
    ASSERT_NE(site, nullptr);
    const std::vector<std::string> misses = Unanswered(info.get(), site->Object().get());
    EXPECT_TRUE(misses.empty()) << Joined(misses);
}

// A dispatch that has lost one member, as a control whose member table
// lacks an entry of the library: the walk names it.
class Without : public IDispatch {
public:
    Without(IDispatch* inner, DISPID id, std::wstring name) : inner_(inner), id_(id), name_(std::move(name)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid != IID_IUnknown && iid != IID_IDispatch) return *out = nullptr, E_NOINTERFACE;
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return inner_->GetTypeInfoCount(n); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return inner_->GetTypeInfo(i, l, t); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* names, UINT n, LCID l, DISPID* ids) override {
        if (n && _wcsicmp(names[0], name_.c_str()) == 0) return ids[0] = DISPID_UNKNOWN, DISP_E_UNKNOWNNAME;
        return inner_->GetIDsOfNames(r, names, n, l, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                     UINT* a) override {
        if (id == id_) return DISP_E_MEMBERNOTFOUND;
        return inner_->Invoke(id, r, l, f, p, v, e, a);
    }

private:
    IDispatch* inner_;
    DISPID id_;
    std::wstring name_;
};

TEST_F(HostValuesWalk, TheWalkNamesAMemberTheDispatchLacks) {
    const lumio::ControlClass* cls = ClassNamed("LumioScrollbar");
    ASSERT_NE(cls, nullptr);
    ComPtr<ITypeInfo> info = DefaultInterface(*cls->clsid);
    ASSERT_TRUE(info);
    lumio::host::Site* site = NewForm().Add(cls->create, L"Under", RECT{10, 10, 27, 110});
    ASSERT_NE(site, nullptr);
    EXPECT_TRUE(Unanswered(info.get(), site->Object().get()).empty());
    Without lacking(site->Object().get(), lumio::tlb::dispid::LumioScrollbar::zSubclass_Proc, L"zSubclass_Proc");
    EXPECT_EQ(Unanswered(info.get(), &lacking),
              (std::vector<std::string>{"zSubclass_Proc by name", "zSubclass_Proc by id"}));
}

INSTANTIATE_TEST_SUITE_P(ClassTable, EveryClass, ::testing::ValuesIn(ClassNames()),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

// The error number a script host reports for an Invoke result.
int CallerError(HRESULT hr, const EXCEPINFO& ex) {
    if (hr == S_OK) return 0;
    if (hr == DISP_E_OVERFLOW) return 6;
    if (hr == DISP_E_TYPEMISMATCH) return 13;
    if (hr == DISP_E_EXCEPTION) {
        const HRESULT code = ex.scode ? ex.scode : MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, ex.wCode);
        return HRESULT_FACILITY(code) == FACILITY_CONTROL ? HRESULT_CODE(code) : -1;
    }
    return -1;
}

HBITMAP SmallBitmap() {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    return bmp;
}

// An object argument as script and form hosts pass a Set argument.
struct ByRef {
    ComPtr<IDispatch> object;
    IDispatch* slot = nullptr;
    Variant Arg() {
        slot = object.get();
        Variant v;
        v->vt = VT_DISPATCH | VT_BYREF;
        v->ppdispVal = &slot;
        return v;
    }
};

DISPID IdOf(IDispatch* obj, const wchar_t* member) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    obj->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

class HostValues : public OleTest {};

// Each row is one write (or call) through IDispatch::Invoke and what a
// script would see: the error number, and what reads back afterwards.
TEST_F(HostValues, OverflowRangeAndByReferenceRows) {
    ByRef font{lumio::CreateStdFont(L"Courier New", 11).As<IDispatch>()};
    ByRef picture{lumio::PictureFromBitmap(SmallBitmap()).As<IDispatch>()};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        const char* what;
        const wchar_t* cls;
        const wchar_t* member;
        WORD flags;
        std::vector<Variant> args;  // index arguments first, the value last
        int error;
        const wchar_t* reads;  // the member's value as text afterwards, nullptr: an object
        bool same = false;     // the object read back is the one passed
    };
    const Row rows[] = {
        {"a size the font cannot hold", L"LumioButton", L"FontSize", DISPATCH_PROPERTYPUT, {Variant::Double(1e30)}, 6,
         L"8.25"},
        {"a negative size beyond the font's range", L"LumioButton", L"FontSize", DISPATCH_PROPERTYPUT,
         {Variant::Double(-1e30)}, 6, L"8.25"},
        {"a size beyond a Single", L"LumioButton", L"FontSize", DISPATCH_PROPERTYPUT, {Variant::Double(1e300)}, 6,
         L"8.25"},
        {"not a number", L"LumioButton", L"FontSize", DISPATCH_PROPERTYPUT, {Variant::Double(nan)}, 6, L"8.25"},
        {"a negative size", L"LumioButton", L"FontSize", DISPATCH_PROPERTYPUT, {Variant::Double(-4)}, 380, L"8.25"},
        {"a size of nothing", L"LumioButton", L"FontSize", DISPATCH_PROPERTYPUT, {Variant::Long(0)}, 380, L"8.25"},
        {"a plain size goes to the font as it is", L"LumioButton", L"FontSize", DISPATCH_PROPERTYPUT,
         {Variant::Double(10.5)}, 0, L"10.5"},
        {"the font by reference", L"LumioButton", L"Font", DISPATCH_PROPERTYPUTREF, {font.Arg()}, 0, nullptr},
        {"a picture by reference", L"LumioButton", L"PictureNormal", DISPATCH_PROPERTYPUTREF, {picture.Arg()}, 0,
         nullptr, true},
        {"a mouse icon by reference", L"LumioButton", L"MouseIcon", DISPATCH_PROPERTYPUTREF, {picture.Arg()}, 0,
         nullptr},
        {"an indexed picture by reference", L"LumioTab", L"TabPicture", DISPATCH_PROPERTYPUTREF,
         {Variant::Long(0), picture.Arg()}, 0, nullptr, true},
        {"a font by reference, written without Set", L"LumioTab", L"ActiveTabFont", DISPATCH_PROPERTYPUT,
         {font.Arg()}, 0, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const lumio::ControlClass* cls = nullptr;
        for (const lumio::ControlClass& c : lumio::ControlClasses())
            if (std::wstring(c.name) == r.cls) cls = &c;
        if (!cls) continue;  // not in the library yet
        lumio::host::Site* site = NewForm().Add(cls->create, L"Under", RECT{10, 10, 210, 110});
        ASSERT_NE(site, nullptr);
        ComPtr<IDispatch> obj = site->Object();
        const DISPID id = IdOf(obj.get(), r.member);
        ASSERT_NE(id, DISPID_UNKNOWN);
        if (id == IdOf(obj.get(), L"FontSize")) {
            // A known size to come back to.
            ComPtr<IFont> f = lumio::CreateStdFont(L"Courier New", 8.25).As<IFont>();
            ASSERT_EQ(Put(obj.get(), IdOf(obj.get(), L"Font"), Variant::Object(f.As<IDispatch>().get())), S_OK);
        }
        EXCEPINFO ex{};
        const HRESULT hr = InvokeWith(obj.get(), id, r.flags, r.args, nullptr, &ex);
        EXPECT_EQ(CallerError(hr, ex), r.error) << std::hex << hr;
        SysFreeString(ex.bstrSource);
        SysFreeString(ex.bstrDescription);
        SysFreeString(ex.bstrHelpFile);
        std::vector<Variant> index(r.args.begin(), r.args.end() - 1);
        Variant back;
        ASSERT_EQ(InvokeWith(obj.get(), id, DISPATCH_PROPERTYGET, index, &back), S_OK);
        if (r.reads) {
            EXPECT_EQ(AsString(back), r.reads);
        } else if (r.error == 0) {
            // The object taken is the one passed, not a copy or nothing.
            ASSERT_EQ(back.vt(), VT_DISPATCH);
            ComPtr<IUnknown> given, kept;
            const VARIANT& value = *r.args.back();
            (*value.ppdispVal)->QueryInterface(IID_IUnknown, given.put_void());
            if (back->pdispVal) back->pdispVal->QueryInterface(IID_IUnknown, kept.put_void());
            EXPECT_TRUE(kept) << "an object was stored";
            if (r.same) {
                EXPECT_EQ(kept.get(), given.get());
            }
        }
    }
}

}  // namespace
