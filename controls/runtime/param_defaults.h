#pragma once
// What a late-bound caller may leave out: the defaults the type library
// declares for a member's parameters.
#include <oaidl.h>

#include <optional>
#include <vector>

#include "ole_types.h"

namespace lumio {

// One entry per parameter of member `id` (of kind `kind`) of the dual or
// dispatch interface `iid` in `lib`: its declared default, a "missing"
// variant (VT_ERROR, DISP_E_PARAMNOTFOUND) for an optional parameter without
// one, nothing for a required one. Empty when the library does not describe
// the member.
std::vector<std::optional<Variant>> ParamDefaults(ITypeLib* lib, const IID& iid, DISPID id, INVOKEKIND kind);

}  // namespace lumio
