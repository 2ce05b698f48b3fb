#include "com_errors.h"

#include <oleauto.h>

#include "com_ptr.h"
#include "ole_types.h"

namespace lumio {

HRESULT ErrorHResult(int32_t number) {
    if (number > 0 && number <= 0xFFFF) return static_cast<HRESULT>(0x800A0000u | static_cast<uint32_t>(number));
    return static_cast<HRESULT>(number);
}

int32_t ErrorNumberOf(HRESULT hr) {
    if ((static_cast<uint32_t>(hr) & 0xFFFF0000u) == 0x800A0000u) return static_cast<int32_t>(hr & 0xFFFF);
    return static_cast<int32_t>(hr);
}

void SetErrorObject(const RunTimeError& err, REFIID iid) {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) return;
    create->SetGUID(iid);
    Bstr source(err.source()), description(err.description());
    create->SetSource(source.get());
    create->SetDescription(description.get());
    if (auto info = create.As<IErrorInfo>()) SetErrorInfo(0, info.get());
}

void FillExcepInfo(const RunTimeError& err, EXCEPINFO* info) {
    if (!info) return;
    *info = EXCEPINFO{};
    info->bstrSource = Bstr(err.source()).detach();
    info->bstrDescription = Bstr(err.description()).detach();
    info->scode = ErrorHResult(err.number());
}

HRESULT CurrentExceptionResult(REFIID iid, EXCEPINFO* info) {
    try {
        throw;
    } catch (const RunTimeError& err) {
        SetErrorObject(err, iid);
        FillExcepInfo(err, info);
        return ErrorHResult(err.number());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace lumio
