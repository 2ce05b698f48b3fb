#pragma once
// The vtable side of a dual interface in a type library: only it lists a
// member's parameters and a property's retval as declared, whatever the tool
// that wrote the library. A dispatch-only interface is its own.
#include <oaidl.h>

#include "com_ptr.h"

namespace lumio {

inline ComPtr<ITypeInfo> VtableSide(ITypeLib* lib, const IID& iid) {
    ComPtr<ITypeInfo> info;
    if (!lib || FAILED(lib->GetTypeInfoOfGuid(iid, info.put()))) return {};
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> side;
    if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &ref)) && SUCCEEDED(info->GetRefTypeInfo(ref, side.put())))
        return side;
    return info;
}

}  // namespace lumio
