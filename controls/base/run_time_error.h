#pragma once
// A run-time error as the controls raise it: a number, a source and a
// description. Thrown inside the library, turned into an automation error at
// every COM entry point, never let through one.
#include <cstdint>
#include <exception>
#include <string>

namespace lumio {

// Numbers the controls raise.
enum ErrorNumber : int32_t {
    kErrInvalidProcedureCall = 5,
    kErrOverflow = 6,
    kErrSubscriptOutOfRange = 9,
    kErrDivisionByZero = 11,
    kErrTypeMismatch = 13,
    kErrObjectNotSet = 91,
    kErrInvalidPropertyValue = 380,
    kErrInvalidPropertyIndex = 381,
    kErrNotSettableAtRunTime = 382,
    kErrReadOnlyProperty = 383,
};

class RunTimeError : public std::exception {
public:
    RunTimeError(int32_t number, std::wstring source, std::wstring description)
        : number_(number), source_(std::move(source)), description_(std::move(description)) {}
    int32_t number() const { return number_; }
    const std::wstring& source() const { return source_; }
    const std::wstring& description() const { return description_; }
    const char* what() const noexcept override { return "lumio run-time error"; }

private:
    int32_t number_;
    std::wstring source_;
    std::wstring description_;
};

// The library's name, the source of an error raised without one.
inline constexpr const wchar_t* kDefaultErrorSource = L"Lumiokit";

// The standard text of a number; empty for numbers without one.
std::wstring StandardErrorText(int32_t number);

// Raises number with the given source (default: the library) and description
// (default: the standard text of the number).
[[noreturn]] void Raise(int32_t number, const std::wstring& source = {}, const std::wstring& description = {});

// Raises with exactly the given source and description, empty ones kept empty.
[[noreturn]] void RaiseExact(int32_t number, const std::wstring& source, const std::wstring& description);

}  // namespace lumio
