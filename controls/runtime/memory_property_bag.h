#pragma once
// A property bag held in memory: plain values as variants, objects (fonts,
// pictures) as their class and saved bytes, so that every read of an object
// makes a new one. It also travels through a stream, which is how a control
// persists itself into a stream.
#include <ocidl.h>

#include <string>
#include <vector>

#include "com_object.h"
#include "com_ptr.h"
#include "ole_types.h"

namespace lumio {

class MemoryPropertyBag : public ComObject<MemoryPropertyBag, IPropertyBag> {
public:
    static ComPtr<MemoryPropertyBag> Create();

    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

    bool Has(const std::wstring& name) const;
    // The stored plain value (objects come back as VT_EMPTY); VT_EMPTY when absent.
    Variant Peek(const std::wstring& name) const;
    bool IsObject(const std::wstring& name) const;
    std::vector<std::wstring> Keys() const;
    void Clear() { entries_.clear(); }

    HRESULT SaveTo(IStream* stream) const;
    HRESULT LoadFrom(IStream* stream);

private:
    struct Entry {
        std::wstring name;
        Variant value;          // plain values
        bool object = false;    // else: an object, or nothing when clsid is null
        CLSID clsid{};
        std::vector<BYTE> data; // the object's saved state
    };
    MemoryPropertyBag() = default;
    ~MemoryPropertyBag() override = default;
    Entry* Find(const std::wstring& name);
    const Entry* Find(const std::wstring& name) const;

    std::vector<Entry> entries_;
};

}  // namespace lumio
