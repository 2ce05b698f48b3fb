#include "ambient.h"

#include "std_objects.h"
#include "variant_convert.h"

namespace lumio {

bool AmbientProperties::Get(DISPID id, Variant& value) const {
    ComPtr<IDispatch> disp = site_.As<IDispatch>();
    if (!disp) return false;
    DISPPARAMS none{};
    HRESULT hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.put(), nullptr,
                              nullptr);
    return SUCCEEDED(hr) && value.vt() != VT_EMPTY;
}

namespace {
template <class T>
T AmbientOr(const AmbientProperties& a, DISPID id, T def) {
    Variant v;
    if (!a.Get(id, v)) return def;
    try {
        return VariantValue<T>::From(*v);
    } catch (const ArgError&) {
        return def;
    }
}
}  // namespace

bool AmbientProperties::UserMode() const { return AmbientOr(*this, DISPID_AMBIENT_USERMODE, true); }
std::wstring AmbientProperties::DisplayName() const {
    return AmbientOr(*this, DISPID_AMBIENT_DISPLAYNAME, std::wstring());
}
OLE_COLOR AmbientProperties::ForeColor() const {
    return AmbientOr<unsigned long>(*this, DISPID_AMBIENT_FORECOLOR, kAmbientForeColorDefault);
}
OLE_COLOR AmbientProperties::BackColor() const {
    return AmbientOr<unsigned long>(*this, DISPID_AMBIENT_BACKCOLOR, kAmbientBackColorDefault);
}
bool AmbientProperties::DisplayAsDefault() const {
    return AmbientOr(*this, DISPID_AMBIENT_DISPLAYASDEFAULT, false);
}

ComPtr<IFontDisp> AmbientProperties::Font() const {
    ComPtr<IFontDisp> host = AmbientOr(*this, DISPID_AMBIENT_FONT, ComPtr<IFontDisp>());
    if (ComPtr<IFontDisp> copy = CloneFont(host.get())) return copy;
    return CreateStdFont();
}

std::wstring AmbientName(DISPID id) {
    switch (id) {
    case DISPID_AMBIENT_BACKCOLOR: return L"BackColor";
    case DISPID_AMBIENT_DISPLAYNAME: return L"DisplayName";
    case DISPID_AMBIENT_FONT: return L"Font";
    case DISPID_AMBIENT_FORECOLOR: return L"ForeColor";
    case DISPID_AMBIENT_LOCALEID: return L"LocaleID";
    case DISPID_AMBIENT_MESSAGEREFLECT: return L"MessageReflect";
    case DISPID_AMBIENT_SCALEUNITS: return L"ScaleUnits";
    case DISPID_AMBIENT_TEXTALIGN: return L"TextAlign";
    case DISPID_AMBIENT_USERMODE: return L"UserMode";
    case DISPID_AMBIENT_UIDEAD: return L"UIDead";
    case DISPID_AMBIENT_SHOWGRABHANDLES: return L"ShowGrabHandles";
    case DISPID_AMBIENT_SHOWHATCHING: return L"ShowHatching";
    case DISPID_AMBIENT_DISPLAYASDEFAULT: return L"DisplayAsDefault";
    case DISPID_AMBIENT_SUPPORTSMNEMONICS: return L"SupportsMnemonics";
    case DISPID_AMBIENT_AUTOCLIP: return L"AutoClip";
    case DISPID_AMBIENT_APPEARANCE: return L"Appearance";
    case DISPID_AMBIENT_PALETTE: return L"Palette";
    case DISPID_AMBIENT_RIGHTTOLEFT: return L"RightToLeft";
    default: return {};
    }
}

}  // namespace lumio
