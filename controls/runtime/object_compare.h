#pragma once
// Equality of persisted values: plain values as variants (1.0 equals 1),
// fonts and pictures attribute by attribute.
#include <ocidl.h>
#include <olectl.h>

namespace lumio {

bool FontsEqual(IUnknown* a, IUnknown* b);
bool PicturesEqual(IUnknown* a, IUnknown* b);
// Values as a property bag compares them against their default.
bool PersistedValuesEqual(const VARIANT& value, const VARIANT& def);

}  // namespace lumio
