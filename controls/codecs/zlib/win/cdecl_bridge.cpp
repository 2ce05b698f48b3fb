#include "zlib/win/cdecl_bridge.h"

#include "zlib/zlib_call.h"

namespace lumio {

namespace {

using Arg = intptr_t;

// The only library called through here is zlib, whose convention is guessed:
// the call restores the stack pointer, so a stdcall export cannot unbalance it.
int32_t Call(FARPROC f, const Arg *a, size_t n) {
    std::uintptr_t words[kMaxZlibCallArgs] = {};
    for (size_t i = 0; i < n; ++i)
        words[i] = std::uintptr_t(a[i]);
    return int32_t(CallZlibExport(reinterpret_cast<const void *>(f), std::span(words, n)));
}

[[noreturn]] void RaiseCdecl(int32_t number, const std::wstring &description) {
    RaiseExact(number, L"cCDECL", description);
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
        RaiseCdecl(kErrDllNotLoaded, L"DLL not loaded");
    if (sFunction != lastName_ || newLibrary_ || !lastAddress_) {
        FARPROC f = GetProcAddress(module_, sFunction.c_str());
        if (!f)
            RaiseCdecl(kErrFunctionNotFound, L"Failed to locate function: " + FromAnsi(sFunction));
        lastAddress_ = f;
        newLibrary_ = false;
        lastName_ = sFunction;
    }
    if (ParmLongs.size() > kMaxParameters)
        RaiseCdecl(kErrTooManyParameters, L"Too many parameters");
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

}  // namespace lumio
