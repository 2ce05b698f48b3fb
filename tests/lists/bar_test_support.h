#pragma once
// Late-bound writes that report the run-time error number a control raised.
#include <windows.h>
#include <oleauto.h>

#include "ole_types.h"

namespace bars {

// 0 when the write succeeded, else the error number the control raised (or the failure code).
inline long PutError(IDispatch* obj, DISPID id, const lumio::Variant& value) {
    DISPID named = DISPID_PROPERTYPUT;
    VARIANT arg = *value;
    DISPPARAMS params{&arg, &named, 1, 1};
    EXCEPINFO info{};
    const HRESULT hr = obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, &info,
                                   nullptr);
    const HRESULT code = hr == DISP_E_EXCEPTION ? info.scode : hr;
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (SUCCEEDED(code)) return 0;
    return (static_cast<unsigned long>(code) & 0xFFFF0000u) == 0x800A0000u ? (code & 0xFFFF) : code;
}

}  // namespace bars
