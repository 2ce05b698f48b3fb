#pragma once
// What a late-bound caller gets back: the type the type library declares for
// a property's value or a method's result, so that Invoke answers as the
// vtable side does (a handle VT_I8 in the 64-bit library, a colour VT_UI4,
// an enumeration VT_I4, a font or picture VT_DISPATCH).
#include <oaidl.h>

#include "ole_types.h"

namespace lumio {

// The variant type of member `id` (of `kind`) of the dual interface `iid`;
// VT_EMPTY when the library does not describe it or declares a VARIANT.
// Looked up once per member.
VARTYPE DeclaredResultType(ITypeLib* lib, const IID& iid, DISPID id, INVOKEKIND kind);

// The variant type that carries a value described by t in `context`:
// aliases resolved, enumerations VT_I4, interfaces VT_DISPATCH or VT_UNKNOWN.
VARTYPE VariantTypeOf(ITypeInfo* context, const TYPEDESC& t);

// Converts v in place to vt (VT_EMPTY: left as it is). 32-bit integers keep
// their bits between signed and unsigned, since colours travel either way;
// an empty value becomes an object of nothing. Throws ArgError when the value
// will not convert.
void ConvertToDeclared(Variant& v, VARTYPE vt);

}  // namespace lumio
