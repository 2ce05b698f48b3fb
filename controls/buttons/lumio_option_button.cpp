// LumioOptionButton's members, glyph image, selection and its group.
#include "lumio_option_button.h"

#include "class_table.h"
#include "glyph_members.h"
#include "imaging/picture_loading.h"
#include "imaging/render.h"
#include "simple_dispatch.h"

#include <stdexcept>
#include <vector>

namespace lumio::buttons {

namespace {

namespace id = tlb::dispid::LumioOptionButton;

const MemberTable& Members() {
    static const MemberTable table = [] {
        MemberTable t;
        AddGlyphMembers<GlyphControl>(t);
        t.Property(id::Value, L"Value", &LumioOptionButton::get_Value, &LumioOptionButton::put_Value);
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioOptionButton, &tlb::IID_LumioOptionButton,
                             &tlb::DIID_LumioOptionButtonEvents, L"LumioOptionButton",
                             tlb::LumioOptionButton_MiscStatus, true, &Members()};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioOptionButton, L"LumioOptionButton", tlb::LumioOptionButton_MiscStatus,
                          tlb::LumioOptionButton_ToolboxBitmap, &LumioOptionButton::Create});
    return true;
}();

ComPtr<IUnknown> Identity(IDispatch* d) {
    ComPtr<IUnknown> u;
    if (d) d->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(u.put()));
    return u;
}

ComPtr<IDispatch> ObjectProperty(IDispatch* d, const wchar_t* name) {
    Variant v;
    if (FAILED(GetProperty(d, name, v)) || v.vt() != VT_DISPATCH || !v->pdispVal) return {};
    return ComPtr<IDispatch>(v->pdispVal);
}

LONGLONG NumberProperty(IDispatch* d, const wchar_t* name) {
    Variant v;
    if (FAILED(GetProperty(d, name, v))) throw std::runtime_error("member missing");
    return ConvertVariant(*v, VT_I8)->llVal;
}

// A control of the host's collection is an option button when it, or the
// object behind its extender, answers the option button's interface.
bool IsOptionButton(IDispatch* item) {
    ComPtr<IUnknown> probe;
    if (SUCCEEDED(item->QueryInterface(tlb::IID_LumioOptionButton, reinterpret_cast<void**>(probe.put())))) return true;
    ComPtr<IDispatch> object = ObjectProperty(item, L"Object");
    return object &&
           SUCCEEDED(object->QueryInterface(tlb::IID_LumioOptionButton, reinterpret_cast<void**>(probe.put())));
}

// The items of the form's Controls collection, late-bound; throws when the
// host has none.
std::vector<ComPtr<IDispatch>> FormControls(IDispatch* form) {
    ComPtr<IDispatch> controls = ObjectProperty(form, L"Controls");
    if (!controls) throw std::runtime_error("no Controls collection");
    const LONGLONG count = NumberProperty(controls.get(), L"Count");
    std::vector<ComPtr<IDispatch>> items;
    for (LONGLONG i = 0; i < count; ++i) {
        Variant index = Variant::Long(static_cast<long>(i));
        VARIANT arg = *index;
        DISPPARAMS params{&arg, nullptr, 1, 0};
        Variant item;
        if (FAILED(controls->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                    &params, item.put(), nullptr, nullptr)))
            throw std::runtime_error("Controls item");
        if (item.vt() == VT_DISPATCH && item->pdispVal) items.emplace_back(item->pdispVal);
    }
    return items;
}

}  // namespace

LumioOptionButton::LumioOptionButton() : GlyphControl(kInfo) {}

HRESULT LumioOptionButton::Create(IUnknown* outer, REFIID iid, void** out) {
    return ControlBase::Create<LumioOptionButton>(outer, iid, out);
}

void LumioOptionButton::put_Value(bool v) {
    m_Value = v;
    pDraw(kGlyphNormal, true);
    PropertyChanged(L"Value");
}

void LumioOptionButton::pLoadGlyphs() { LoadPicture_Resource(m_Glyphs, L"OPTION", L"PNG"); }

void LumioOptionButton::pDrawCell(HDC dc, int32_t srcY) {
    Render(m_Glyphs, dc, m_GlyphRect.left, m_GlyphRect.top, kGlyphSize, kGlyphSize, 0, srcY, kGlyphSize, kGlyphSize,
           100, true, true, nullptr, -1, 0, 0, false);
}

void LumioOptionButton::pClickValue() {
    m_Value = true;
    pDraw(kGlyphNormal, true);
    pRefreshSurface();
}

void LumioOptionButton::pSpaceValue() {
    m_Value = true;
    pDraw(kGlyphNormal, false);
    pRefreshSurface();
    RaiseEvent(DISPID_CLICK);
}

// Every focus gain selects the button and raises Click. A host that gives no
// Controls collection still gets both; only the others stay as they are.
void LumioOptionButton::OnGotFocus() {
    m_HasFocus = true;
    try {
        pClearSiblings(false);
    } catch (...) {
    }
    m_Value = true;
    pDraw(m_LastState, true);
    pRefreshSurface();
    RaiseEvent(DISPID_CLICK);
}

void LumioOptionButton::pClearSiblings(bool value) {
    ComPtr<IDispatch> form = Parent();
    if (!form) throw std::runtime_error("no form");
    const ComPtr<IUnknown> formId = Identity(form.get());
    const LONGLONG self = reinterpret_cast<LONG_PTR>(hWnd());
    for (const auto& item : FormControls(form.get())) {
        if (!IsOptionButton(item.get())) continue;
        ComPtr<IDispatch> container = ObjectProperty(item.get(), L"Container");
        if (Identity(container.get()).get() != formId.get() && NumberProperty(item.get(), L"hWnd") == self) {
            pClearSiblingsIn(form.get(), container.get(), value);
            return;
        }
    }
    pClearSiblingsIn(form.get(), form.get(), false);
}

void LumioOptionButton::pClearSiblingsIn(IDispatch* form, IDispatch* container, bool value) {
    const ComPtr<IUnknown> containerId = Identity(container);
    const LONGLONG self = reinterpret_cast<LONG_PTR>(hWnd());
    for (const auto& item : FormControls(form)) {
        if (!IsOptionButton(item.get())) continue;
        if (Identity(ObjectProperty(item.get(), L"Container").get()).get() != containerId.get()) continue;
        if (NumberProperty(item.get(), L"hWnd") == self) continue;
        Variant selected;
        if (FAILED(GetProperty(item.get(), L"Value", selected)) || !ConvertVariant(*selected, VT_BOOL)->boolVal)
            continue;
        PutProperty(item.get(), L"Value", Variant::Bool(value));
    }
}

}  // namespace lumio::buttons
