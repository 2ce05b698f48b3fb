// LumioButton bound early: a host that reads the type library's vtable side
// and calls the dual interface's slots gets what the late-bound path gives.
#include "button_fixture.h"
#include "class_table.h"
#include "lumiokit_dual.h"

namespace {

using lumio::ComPtr;
using lumio::Variant;
using lumio::host::Form;
using lumio::host::Site;
using namespace buttontest;
using namespace testhost;
namespace dual = lumio::tlb::dual;

// The interface (vtable) side of a dual interface's type information.
ComPtr<ITypeInfo> VtableSide(ITypeLib* lib, const IID& iid) {
    ComPtr<ITypeInfo> info, side;
    if (FAILED(lib->GetTypeInfoOfGuid(iid, info.put()))) return {};
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    TYPEKIND kind = attr->typekind;
    info->ReleaseTypeAttr(attr);
    if (kind == TKIND_INTERFACE) return info;
    HREFTYPE ref = 0;
    if (FAILED(info->GetRefTypeOfImplType(-1, &ref)) || FAILED(info->GetRefTypeInfo(ref, side.put()))) return {};
    return side;
}

// A parameter as the generated slot table writes it: leaf type plus 0x1000 per pointer.
unsigned short Code(const TYPEDESC& t) {
    return t.vt == VT_PTR ? static_cast<unsigned short>(0x1000 + Code(*t.lptdesc)) : t.vt;
}

// An early-bound call: the slot the type library gives for (id, kind), called
// through the object's vtable.
template <class... A>
HRESULT CallSlot(IUnknown* obj, MEMBERID id, INVOKEKIND kind, A... args) {
    ComPtr<ITypeInfo> side = VtableSide(lumio::LumiokitTypeLib(), lumio::tlb::IID_LumioButton);
    if (!side) return E_FAIL;
    TYPEATTR* attr = nullptr;
    side->GetTypeAttr(&attr);
    SHORT offset = -1;
    for (UINT i = 0; i < attr->cFuncs && offset < 0; ++i) {
        FUNCDESC* fd = nullptr;
        side->GetFuncDesc(i, &fd);
        if (fd->memid == id && fd->invkind == kind) offset = fd->oVft;
        side->ReleaseFuncDesc(fd);
    }
    side->ReleaseTypeAttr(attr);
    if (offset < 0) return DISP_E_MEMBERNOTFOUND;
    using Fn = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, A...);
    void** vtable = *reinterpret_cast<void***>(obj);
    return reinterpret_cast<Fn>(vtable[offset / sizeof(void*)])(obj, args...);
}

class ButtonDualTest : public ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        site_ = AddButton(NewForm());
        ASSERT_NE(site_, nullptr);
        ASSERT_EQ(site_->Object()->QueryInterface(lumio::tlb::IID_LumioButton, reinterpret_cast<void**>(early_.put())),
                  S_OK);
    }
    IDispatch* late() { return site_->Object().get(); }
    Site* site_ = nullptr;
    ComPtr<IUnknown> early_;
};

TEST_F(ButtonDualTest, SlotsOfEveryDualInterfaceMatchTheTypeLibrary) {
    ITypeLib* lib = lumio::LumiokitTypeLib();
    ASSERT_NE(lib, nullptr);
    for (const dual::Interface& i : dual::kInterfaces) {
        ComPtr<ITypeInfo> side = VtableSide(lib, *i.iid);
        ASSERT_TRUE(side) << i.name;
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(side->GetTypeAttr(&attr), S_OK);
        EXPECT_EQ(attr->cFuncs, i.slot_count) << i.name;
        for (UINT f = 0; f < attr->cFuncs; ++f) {
            FUNCDESC* fd = nullptr;
            ASSERT_EQ(side->GetFuncDesc(f, &fd), S_OK);
            // Seven slots of IUnknown and IDispatch come first.
            int slot = fd->oVft / static_cast<int>(sizeof(void*)) - 7;
            ASSERT_GE(slot, 0) << i.name;
            ASSERT_LT(slot, i.slot_count) << i.name;
            const dual::Slot& s = i.slots[slot];
            EXPECT_EQ(fd->memid, s.id) << i.name << " slot " << slot;
            EXPECT_EQ(fd->invkind, s.kind) << i.name << " slot " << slot;
            ASSERT_EQ(fd->cParams, s.param_count) << i.name << " slot " << slot;
            for (int p = 0; p < fd->cParams; ++p)
                EXPECT_EQ(Code(fd->lprgelemdescParam[p].tdesc), s.params[p]) << i.name << " slot " << slot << " " << p;
            side->ReleaseFuncDesc(fd);
        }
        side->ReleaseTypeAttr(attr);
    }
}

TEST_F(ButtonDualTest, PropertiesThroughTheVtableMatchInvoke) {
    // Caption, a string: the same value and the same notices either way.
    form().log().clear();
    ASSERT_EQ(CallSlot(early_.get(), id::Caption, INVOKE_PROPERTYPUT, lumio::Bstr(L"E&arly").get()), S_OK);
    std::vector<DISPID> early_notices = Notices();
    EXPECT_FALSE(early_notices.empty());
    EXPECT_EQ(AsString(Get(late(), id::Caption)), L"E&arly");
    form().log().clear();
    ASSERT_EQ(Put(late(), id::Caption, Variant::String(L"L&ate")), S_OK);
    EXPECT_EQ(Notices(), early_notices);
    BSTR caption = nullptr;
    ASSERT_EQ(CallSlot(early_.get(), id::Caption, INVOKE_PROPERTYGET, &caption), S_OK);
    EXPECT_EQ(lumio::Bstr(caption).str(), L"L&ate");

    // A Boolean.
    ASSERT_EQ(CallSlot(early_.get(), id::CheckBoxMode, INVOKE_PROPERTYPUT, VARIANT_TRUE), S_OK);
    ASSERT_EQ(CallSlot(early_.get(), id::Value, INVOKE_PROPERTYPUT, VARIANT_TRUE), S_OK);
    EXPECT_EQ(Get(late(), id::Value)->boolVal, VARIANT_TRUE);
    VARIANT_BOOL value = VARIANT_FALSE;
    ASSERT_EQ(Put(late(), id::CheckBoxMode, Variant::Bool(false)), S_OK);
    ASSERT_EQ(CallSlot(early_.get(), id::Value, INVOKE_PROPERTYGET, &value), S_OK);
    EXPECT_EQ(value, VARIANT_FALSE);

    // Colours, a system colour among them (above 0x7FFFFFFF).
    for (OLE_COLOR c : {OLE_COLOR{0x123456}, OLE_COLOR{0x80000005}}) {
        ASSERT_EQ(CallSlot(early_.get(), id::BackColor, INVOKE_PROPERTYPUT, c), S_OK);
        EXPECT_EQ(static_cast<OLE_COLOR>(AsLong(Get(late(), id::BackColor))), c);
        OLE_COLOR back = 0;
        ASSERT_EQ(CallSlot(early_.get(), id::BackColor, INVOKE_PROPERTYGET, &back), S_OK);
        EXPECT_EQ(back, c);
    }

    // A handle, pointer-sized, and the font as an IFontDisp.
    LONG_PTR hwnd = 0;
    ASSERT_EQ(CallSlot(early_.get(), id::hWnd, INVOKE_PROPERTYGET, &hwnd), S_OK);
    EXPECT_EQ(reinterpret_cast<HWND>(hwnd), site_->ControlWindow());
    IFontDisp* font = nullptr;
    ASSERT_EQ(CallSlot(early_.get(), id::Font, INVOKE_PROPERTYGET, &font), S_OK);
    ASSERT_NE(font, nullptr);
    Variant name;
    EXPECT_EQ(lumio::GetProperty(font, L"Name", name), S_OK);
    EXPECT_EQ(AsString(name), AsString(Get(late(), id::FontName)));
    font->Release();

    // A method.
    EXPECT_EQ(CallSlot(early_.get(), id::Refresh, INVOKE_FUNC), S_OK);
}

TEST_F(ButtonDualTest, AnUnconvertibleValueFailsAlikeBothWays) {
    // MousePointer is a 16-bit value inside a 32-bit slot.
    SetErrorInfo(0, nullptr);
    HRESULT late_hr = Put(late(), id::MousePointer, Variant::Long(70000));
    EXPECT_EQ(late_hr, DISP_E_OVERFLOW);
    ComPtr<IErrorInfo> err;
    EXPECT_EQ(GetErrorInfo(0, err.put()), S_FALSE);
    EXPECT_EQ(CallSlot(early_.get(), id::MousePointer, INVOKE_PROPERTYPUT, LONG{70000}), late_hr);
    EXPECT_EQ(GetErrorInfo(0, err.put()), S_FALSE);
    LONG pointer = -1;
    ASSERT_EQ(CallSlot(early_.get(), id::MousePointer, INVOKE_PROPERTYGET, &pointer), S_OK);
    EXPECT_EQ(pointer, AsLong(Get(late(), id::MousePointer)));
}

TEST_F(ButtonDualTest, TheInterfaceSharesTheControlsIdentity) {
    ComPtr<IUnknown> a, b;
    ASSERT_EQ(early_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(a.put())), S_OK);
    ASSERT_EQ(late()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(b.put())), S_OK);
    EXPECT_EQ(a.get(), b.get());
    ComPtr<IUnknown> again;
    EXPECT_EQ(early_->QueryInterface(lumio::tlb::IID_LumioButton, reinterpret_cast<void**>(again.put())), S_OK);
    // Its type information is the dual interface's.
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(static_cast<IDispatch*>(early_.get())->GetTypeInfo(0, 0, info.put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, lumio::tlb::IID_LumioButton);
    info->ReleaseTypeAttr(attr);
}

}  // namespace
