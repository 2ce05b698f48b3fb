#pragma once
// The host's ambient properties as a control reads them, each with the value
// a control assumes when the host does not give it.
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "com_ptr.h"
#include "ole_types.h"

namespace lumio {

inline constexpr OLE_COLOR kAmbientBackColorDefault = 0x80000005;  // window background
inline constexpr OLE_COLOR kAmbientForeColorDefault = 0x80000008;  // window text

class AmbientProperties {
public:
    explicit AmbientProperties(IOleClientSite* site) : site_(site) {}

    bool UserMode() const;
    std::wstring DisplayName() const;
    // A fresh copy on every read, so that changing it never changes the host's.
    ComPtr<IFontDisp> Font() const;
    OLE_COLOR ForeColor() const;
    OLE_COLOR BackColor() const;
    bool DisplayAsDefault() const;
    // The raw ambient; false when the host does not give it.
    bool Get(DISPID id, Variant& value) const;

private:
    ComPtr<IOleClientSite> site_;
};

// The name under which an ambient change is reported to a control.
std::wstring AmbientName(DISPID id);

}  // namespace lumio
