#pragma once
// cCDECL: calls a cdecl export of a library loaded at run time, by name, with up to five
// pointer-sized arguments, and returns its 32-bit result.
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "run_time_error.h"

namespace lumio {

// Its three failures are run-time errors of the numbers below, source "cCDECL".
class cCDECL {
public:
    static constexpr int32_t kErrDllNotLoaded = int32_t(0x80040000u);
    static constexpr int32_t kErrFunctionNotFound = int32_t(0x80040001u);
    static constexpr int32_t kErrTooManyParameters = int32_t(0x80040002u);
    static constexpr size_t kMaxParameters = 5;

    cCDECL() = default;
    ~cCDECL();
    cCDECL(const cCDECL &) = delete;
    cCDECL &operator=(const cCDECL &) = delete;

    // Calls sFunction of the loaded library with the arguments in order.
    int32_t CallFunc(const std::string &sFunction, std::initializer_list<intptr_t> ParmLongs);
    // Loads a library in place of the one loaded before, which is released.
    bool DllLoad(const std::string &sName);
    bool DllUnload();
    // GetLastError as it stood right after the last CallFunc.
    DWORD LastError() const { return lastError_; }
    // A cdecl-callable address for a routine: the routine itself.
    static intptr_t WrapCallback(intptr_t nModFuncAddr, int32_t nParms);

private:
    HMODULE module_ = nullptr;
    bool newLibrary_ = false;
    std::string lastName_;
    FARPROC lastAddress_ = nullptr;
    DWORD lastError_ = 0;
};

}  // namespace lumio
