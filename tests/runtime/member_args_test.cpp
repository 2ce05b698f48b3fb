// Members with arguments beyond the value: indexed properties, late-bound
// and through a dual interface's slots, and arguments a caller leaves out.
#include <functional>

#include "class_table.h"
#include "dual_tear_off.h"
#include "lumiokit_ids.h"
#include "ole_types.h"
#include "param_defaults.h"
#include "probe_control.h"
#include "std_objects.h"
#include "test_host.h"

namespace {

using namespace testhost;
using lumio::Variant;
namespace dual = lumio::tlb::dual;

constexpr WORD kGet = DISPATCH_PROPERTYGET;
constexpr WORD kPut = DISPATCH_PROPERTYPUT;
constexpr HRESULT kErr9 = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 9);

const IID kIndexedDual = {0x1b0c5e2b, 0x7d41, 0x4c3e, {0x9a, 0x12, 0x55, 0x0e, 0x6f, 0x3d, 0x21, 0x91}};

// What the generator writes for `prop Item 0x.. string Index:long`.
class IndexedDual final : public dual::DualTearOff<IndexedDual> {
public:
    using DualTearOff::DualTearOff;
    static const IID& Iid() { return kIndexedDual; }
    HRESULT get_Item(LONG i, BSTR* out) { return Get<VT_BSTR>(probe::kItem, DISPATCH_PROPERTYGET, out, dual::In<VT_I4>(i)); }
    HRESULT put_Item(LONG i, BSTR v) {
        return Call(probe::kItem, DISPATCH_PROPERTYPUT, nullptr, dual::In<VT_I4>(i), dual::In<VT_BSTR>(v));
    }
};

class MemberArgsTest : public OleTest {
protected:
    void SetUp() override {
        OleTest::SetUp();
        site_ = NewForm().Add(probe::Create, L"Probe1", RECT{10, 10, 110, 40});
        ASSERT_NE(site_, nullptr);
    }
    IDispatch* obj() { return site_->Object().get(); }
    std::wstring Item(long i) {
        Variant r;
        EXPECT_EQ(InvokeWith(obj(), probe::kItem, kGet, {Variant::Long(i)}, &r), S_OK);
        return AsString(r);
    }
    lumio::host::Site* site_ = nullptr;
};

TEST_F(MemberArgsTest, IndexedPropertyReadsAndWritesTheEntryItNames) {
    EXPECT_EQ(Item(1), L"one");
    ASSERT_EQ(InvokeWith(obj(), probe::kItem, kPut, {Variant::Long(2), Variant::String(L"deux")}), S_OK);
    EXPECT_EQ(Item(2), L"deux");
    EXPECT_EQ(Item(0), L"zero");
    // An index of another type converts; a by-reference one is read, never written.
    Variant r;
    ASSERT_EQ(InvokeWith(obj(), probe::kItem, kGet, {Variant::String(L"1")}, &r), S_OK);
    EXPECT_EQ(AsString(r), L"one");
    long index = 2;
    VARIANT ref{};
    ref.vt = VT_I4 | VT_BYREF;
    ref.plVal = &index;
    ASSERT_EQ(InvokeWith(obj(), probe::kItem, kPut, {Variant(ref), Variant::String(L"two")}), S_OK);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(Item(2), L"two");
    // The form that reads a property as a call, as script hosts do.
    ASSERT_EQ(InvokeWith(obj(), probe::kItem, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Variant::Long(0)}, &r), S_OK);
    EXPECT_EQ(AsString(r), L"zero");
}

TEST_F(MemberArgsTest, IndexedPropertyErrors) {
    struct Case {
        const char* what;
        WORD flags;
        std::vector<Variant> args;
        HRESULT hr;
    };
    const Case cases[] = {
        {"read without index", kGet, {}, DISP_E_BADPARAMCOUNT},
        {"read with two indexes", kGet, {Variant::Long(0), Variant::Long(1)}, DISP_E_BADPARAMCOUNT},
        {"write without index", kPut, {Variant::String(L"x")}, DISP_E_BADPARAMCOUNT},
        {"index that is no number", kGet, {Variant::String(L"x")}, DISP_E_TYPEMISMATCH},
        {"read out of range", kGet, {Variant::Long(3)}, DISP_E_EXCEPTION},
        {"write out of range", kPut, {Variant::Long(-1), Variant::String(L"x")}, DISP_E_EXCEPTION},
    };
    for (const Case& c : cases) {
        EXCEPINFO info{};
        EXPECT_EQ(InvokeWith(obj(), probe::kItem, c.flags, c.args, nullptr, &info), c.hr) << c.what;
        if (c.hr == DISP_E_EXCEPTION) {
            EXPECT_EQ(info.scode, kErr9) << c.what;
        }
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
    EXPECT_EQ(Item(0), L"zero");
}

TEST_F(MemberArgsTest, IndexedPropertyThroughTheVtable) {
    void* p = nullptr;
    ASSERT_EQ(IndexedDual::Create(obj(), &p), S_OK);
    lumio::ComPtr<IDispatch> keep;
    *keep.put() = static_cast<IDispatch*>(p);
    auto* d = static_cast<IndexedDual*>(static_cast<IDispatch*>(p));
    lumio::Bstr v(L"uno");
    ASSERT_EQ(d->put_Item(1, v.get()), S_OK);
    lumio::Bstr out;
    ASSERT_EQ(d->get_Item(1, out.put()), S_OK);
    EXPECT_EQ(out.str(), L"uno");
    EXPECT_EQ(Item(1), L"uno");
    EXPECT_EQ(d->get_Item(7, out.put()), kErr9);
    EXPECT_EQ(d->put_Item(-1, v.get()), kErr9);
}

TEST_F(MemberArgsTest, ArgumentWithoutDefaultMayNotBeLeftOut) {
    Variant missing;
    missing->vt = VT_ERROR;
    missing->scode = DISP_E_PARAMNOTFOUND;
    Variant r;
    EXPECT_EQ(InvokeWith(obj(), probe::kJoin, DISPATCH_METHOD, {Variant::String(L"a")}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(InvokeWith(obj(), probe::kJoin, DISPATCH_METHOD, {Variant::String(L"a"), missing}), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(InvokeWith(obj(), probe::kJoin, DISPATCH_METHOD,
                         {Variant::String(L"a"), Variant::String(L"b"), Variant::String(L"c")}),
              DISP_E_BADPARAMCOUNT);
    ASSERT_EQ(InvokeWith(obj(), probe::kJoin, DISPATCH_METHOD, {Variant::String(L"a"), Variant::String(L"b")}, &r), S_OK);
    EXPECT_EQ(AsString(r), L"ab");
}

// A method's by-reference parameters reach the caller's variables, whatever
// type the caller holds them in; values passed as they are stay untouched.
TEST_F(MemberArgsTest, ByReferenceParametersAreWrittenBack) {
    short i2 = 5;
    long i4 = 5;
    unsigned char u1 = 200;
    double r8 = 5;
    VARIANT held{};  // a script's variable: a variant passed by reference
    held.vt = VT_I2;
    held.iVal = 5;
    BSTR text = SysAllocString(L"hi");
    VARIANT text_held{};
    text_held.vt = VT_BSTR;
    text_held.bstrVal = SysAllocString(L"hi");
    auto ref = [](VARTYPE vt, void* p) {
        VARIANT v{};
        v.vt = vt | VT_BYREF;
        v.byref = p;
        return Variant(v);
    };
    struct Case {
        const char* what;
        Variant n;
        HRESULT hr;
        std::function<bool()> written;
    };
    const Case cases[] = {
        {"Integer", ref(VT_I2, &i2), S_OK, [&] { return i2 == 11; }},
        {"Long", ref(VT_I4, &i4), S_OK, [&] { return i4 == 11; }},
        {"Double", ref(VT_R8, &r8), S_OK, [&] { return r8 == 11.0; }},
        {"variant keeps the member's type", ref(VT_VARIANT, &held), S_OK,
         [&] { return held.vt == VT_I2 && held.iVal == 11; }},
        {"Byte too small for the result", ref(VT_UI1, &u1), DISP_E_OVERFLOW, [&] { return u1 == 200; }},
        {"by value", Variant::Int(5), S_OK, [] { return true; }},
    };
    for (const Case& c : cases) {
        i2 = 5, i4 = 5, r8 = 5, u1 = 200;
        HRESULT hr = InvokeWith(obj(), probe::kBump, DISPATCH_METHOD, {c.n, ref(VT_BSTR, &text)});
        EXPECT_EQ(hr, c.hr) << c.what;
        EXPECT_TRUE(c.written()) << c.what;
    }
    // The string went through each successful call (the overflow stopped before it).
    EXPECT_EQ(std::wstring(text), L"hi!!!!!");
    SysFreeString(text);
    ASSERT_EQ(InvokeWith(obj(), probe::kBump, DISPATCH_METHOD, {Variant::Int(1), ref(VT_VARIANT, &text_held)}), S_OK);
    EXPECT_EQ(text_held.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(text_held.bstrVal), L"hi!");
    VariantClear(&text_held);
}

// A member taking any value gets an object passed by reference (a script's
// Set argument) as the object itself, as it gets one passed by value.
TEST(VariantArguments, ByReferenceValuesArriveAsTheValue) {
    lumio::ComPtr<IDispatch> obj = lumio::CreateStdFont().As<IDispatch>();
    IDispatch* slot = obj.get();
    long number = 7;
    VARIANT object{}, integer{};
    object.vt = VT_DISPATCH | VT_BYREF;
    object.ppdispVal = &slot;
    integer.vt = VT_I4 | VT_BYREF;
    integer.plVal = &number;
    for (VARIANT* ref : {&object, &integer}) {
        VARIANT outer{};  // and once more inside a by-reference variant
        outer.vt = VT_VARIANT | VT_BYREF;
        outer.pvarVal = ref;
        for (const VARIANT* given : {static_cast<const VARIANT*>(ref), static_cast<const VARIANT*>(&outer)}) {
            Variant v = lumio::VariantValue<Variant>::From(*given);
            EXPECT_EQ(v.vt(), ref->vt & ~VT_BYREF);
            if (v.vt() == VT_DISPATCH) {
                EXPECT_EQ(v->pdispVal, obj.get());
            } else {
                EXPECT_EQ(v->lVal, 7);
            }
        }
    }
}

// What a late-bound caller may leave out, as the library declares it.
TEST(ParamDefaults, ReadFromTheTypeLibrary) {
    ITypeLib* lib = lumio::LumiokitTypeLib();
    ASSERT_NE(lib, nullptr);
    namespace id = lumio::tlb::dispid;
    struct Case {
        const char* what;
        const IID* iid;
        DISPID member;
        std::vector<std::wstring> expected;  // "!" required, "?" optional without default
    };
    const Case cases[] = {
        {"InsertTab", &lumio::tlb::IID_LumioTab, id::LumioTab::InsertTab, {L"!", L"NewTab"}},
        {"RemoveTabImages", &lumio::tlb::IID_LumioTab, id::LumioTab::RemoveTabImages, {L"-1", L"True"}},
        {"FindFirst (result not an argument)", &lumio::tlb::IID_LumioListBox, id::LumioListBox::FindFirst,
         {L"!", L"0", L"False"}},
        {"ShowMsgBox", &lumio::tlb::IID_LumioBasicForm, id::LumioBasicForm::ShowMsgBox,
         {L"!", L"?", L"0", L"0", L""}},
        {"no such member", &lumio::tlb::IID_LumioTab, 0x7777, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> seen;
        for (const auto& d : lumio::ParamDefaults(lib, *c.iid, c.member, INVOKE_FUNC)) {
            if (!d) seen.push_back(L"!");
            else if (d->vt() == VT_ERROR) seen.push_back(L"?");
            else if (d->vt() == VT_BOOL) seen.push_back((*d)->boolVal ? L"True" : L"False");
            else seen.push_back(AsString(*d));
        }
        EXPECT_EQ(seen, c.expected) << c.what;
    }
}

}  // namespace
