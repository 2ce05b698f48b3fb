#pragma once
// Run-time errors at the COM boundary: every entry point runs its body inside
// Guard, which turns a RunTimeError into an automation error with the error
// object set, and any other C++ exception into a plain failure code.
#include <oaidl.h>

#include <exception>
#include <new>
#include <string>

#include "run_time_error.h"

namespace lumio {

// 0x800A0000 + number for numbers 1..65535; other numbers are failure codes of their own.
HRESULT ErrorHResult(int32_t number);
// The error number carried by an automation failure code (the reverse of ErrorHResult).
int32_t ErrorNumberOf(HRESULT hr);

// Sets the thread's error object (source, description, interface) for err.
void SetErrorObject(const RunTimeError& err, REFIID iid);
// Fills an EXCEPINFO for Invoke's callers.
void FillExcepInfo(const RunTimeError& err, EXCEPINFO* info);

// Returns the code of the exception being handled; call only inside catch.
HRESULT CurrentExceptionResult(REFIID iid, EXCEPINFO* info = nullptr);

template <class F>
HRESULT Guard(REFIID iid, F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return CurrentExceptionResult(iid);
    }
}

}  // namespace lumio
