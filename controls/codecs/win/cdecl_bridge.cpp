#include "cdecl_bridge.h"

namespace {

// FARPROC to a typed function pointer (through void(*)(), which converts without warnings).
template <class F>
F ProcAs(FARPROC p) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
}

using Arg = intptr_t;
using Fn0 = int32_t(__cdecl *)();
using Fn1 = int32_t(__cdecl *)(Arg);
using Fn2 = int32_t(__cdecl *)(Arg, Arg);
using Fn3 = int32_t(__cdecl *)(Arg, Arg, Arg);
using Fn4 = int32_t(__cdecl *)(Arg, Arg, Arg, Arg);
using Fn5 = int32_t(__cdecl *)(Arg, Arg, Arg, Arg, Arg);

int32_t Call(FARPROC f, const Arg *a, size_t n) {
    switch (n) {
    case 0: return ProcAs<Fn0>(f)();
    case 1: return ProcAs<Fn1>(f)(a[0]);
    case 2: return ProcAs<Fn2>(f)(a[0], a[1]);
    case 3: return ProcAs<Fn3>(f)(a[0], a[1], a[2]);
    case 4: return ProcAs<Fn4>(f)(a[0], a[1], a[2], a[3]);
    default: return ProcAs<Fn5>(f)(a[0], a[1], a[2], a[3], a[4]);
    }
}

std::wstring FromAnsi(const std::string &s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

}  // namespace

cCDECL::~cCDECL() {
    DllUnload();
}

int32_t cCDECL::CallFunc(const std::string &sFunction, std::initializer_list<intptr_t> ParmLongs) {
    if (!module_)
        throw CdeclError(kErrDllNotLoaded, L"DLL not loaded");
    if (sFunction != lastName_ || newLibrary_ || !lastAddress_) {
        FARPROC f = GetProcAddress(module_, sFunction.c_str());
        if (!f)
            throw CdeclError(kErrFunctionNotFound, L"Failed to locate function: " + FromAnsi(sFunction));
        lastAddress_ = f;
        newLibrary_ = false;
        lastName_ = sFunction;
    }
    if (ParmLongs.size() > kMaxParameters)
        throw CdeclError(kErrTooManyParameters, L"Too many parameters");
    SetLastError(0);
    const int32_t result = Call(lastAddress_, ParmLongs.begin(), ParmLongs.size());
    lastError_ = GetLastError();
    return result;
}

bool cCDECL::DllLoad(const std::string &sName) {
    HMODULE m = LoadLibraryA(sName.c_str());
    if (module_)
        FreeLibrary(module_);
    module_ = m;
    lastAddress_ = nullptr;
    newLibrary_ = m != nullptr;
    return m != nullptr;
}

bool cCDECL::DllUnload() {
    if (!module_)
        return false;
    const bool ok = FreeLibrary(module_) != 0;
    module_ = nullptr;
    lastAddress_ = nullptr;
    return ok;
}

intptr_t cCDECL::WrapCallback(intptr_t nModFuncAddr, int32_t) {
    return nModFuncAddr;
}
