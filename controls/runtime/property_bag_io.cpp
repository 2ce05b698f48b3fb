#include "property_bag_io.h"

#include "object_compare.h"
#include "variant_convert.h"

namespace lumio {

bool PropertyReader::Fetch(const wchar_t* name, VARIANT* value) {
    if (!bag_) return false;
    VariantInit(value);
    HRESULT hr = bag_->Read(name, value, log_);
    if (FAILED(hr)) {
        VariantClear(value);
        return false;
    }
    return true;
}

Variant PropertyReader::Read(const wchar_t* name, const Variant& def) {
    Variant v;
    if (!Fetch(name, v.get())) return def;
    return v;
}

namespace {
template <class T>
T Typed(PropertyReader& r, const wchar_t* name, const T& def) {
    Variant v = r.Read(name, VariantValue<T>::To(def));
    try {
        return VariantValue<T>::From(*v);
    } catch (const ArgError&) {
        return def;
    }
}
}  // namespace

bool PropertyReader::ReadBool(const wchar_t* name, bool def) { return Typed(*this, name, def); }
short PropertyReader::ReadInteger(const wchar_t* name, short def) { return Typed(*this, name, def); }
long PropertyReader::ReadLong(const wchar_t* name, long def) { return Typed(*this, name, def); }
float PropertyReader::ReadSingle(const wchar_t* name, float def) { return Typed(*this, name, def); }
std::wstring PropertyReader::ReadString(const wchar_t* name, const std::wstring& def) {
    return Typed(*this, name, def);
}

ComPtr<IFontDisp> PropertyReader::ReadFont(const wchar_t* name, IFontDisp* def) {
    return Typed(*this, name, ComPtr<IFontDisp>(def));
}

ComPtr<IPictureDisp> PropertyReader::ReadPicture(const wchar_t* name, IPictureDisp* def) {
    return Typed(*this, name, ComPtr<IPictureDisp>(def));
}

void PropertyWriter::Write(const wchar_t* name, const Variant& value, const Variant& def) {
    if (!bag_ || PersistedValuesEqual(*value, *def)) return;
    HRESULT hr = bag_->Write(name, const_cast<VARIANT*>(value.get()));
    if (FAILED(hr) && SUCCEEDED(result_)) result_ = hr;
}

void PropertyWriter::Write(const wchar_t* name, const Variant& value) {
    if (!bag_) return;
    HRESULT hr = bag_->Write(name, const_cast<VARIANT*>(value.get()));
    if (FAILED(hr) && SUCCEEDED(result_)) result_ = hr;
}

}  // namespace lumio
