#pragma once
// Reading and writing a control's properties in its host's property bag:
// a read falls back to its default when the key is missing or unreadable, a
// write leaves out a value equal to its default.
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "com_ptr.h"
#include "ole_types.h"

namespace lumio {

class PropertyReader {
public:
    PropertyReader(IPropertyBag* bag, IErrorLog* log) : bag_(bag), log_(log) {}

    // The stored value or def.
    Variant Read(const wchar_t* name, const Variant& def);
    bool ReadBool(const wchar_t* name, bool def);
    short ReadInteger(const wchar_t* name, short def);
    long ReadLong(const wchar_t* name, long def);
    float ReadSingle(const wchar_t* name, float def);
    std::wstring ReadString(const wchar_t* name, const std::wstring& def);
    // Objects come back as new objects made by the bag; def when missing.
    ComPtr<IFontDisp> ReadFont(const wchar_t* name, IFontDisp* def);
    ComPtr<IPictureDisp> ReadPicture(const wchar_t* name, IPictureDisp* def);

private:
    // True when the bag holds the key; value is then the stored value.
    bool Fetch(const wchar_t* name, VARIANT* value);
    IPropertyBag* bag_;
    IErrorLog* log_;
};

class PropertyWriter {
public:
    explicit PropertyWriter(IPropertyBag* bag) : bag_(bag) {}

    // Writes value unless it equals def; a bag refusal is an error of the save.
    void Write(const wchar_t* name, const Variant& value, const Variant& def);
    // Writes value whatever it is: the key is always in the bag.
    void Write(const wchar_t* name, const Variant& value);
    HRESULT result() const { return result_; }

private:
    IPropertyBag* bag_;
    HRESULT result_ = S_OK;
};

}  // namespace lumio
