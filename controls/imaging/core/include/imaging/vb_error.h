#pragma once
// Run-time errors of the library's own code, as numbers a caller can be told.
//
// Arithmetic that must fail like the control runtime's integer arithmetic
// throws VbError; nothing else in the image engine throws. Every COM method
// and window procedure catches it and turns it into the run-time error of the
// same number (an automation exception with the description below), so no
// C++ exception ever crosses such a boundary.
#include <cstdint>
#include <exception>

namespace lumio {

enum VbErrorNumber : std::int32_t {
    kErrOverflow = 6,
    kErrSubscriptOutOfRange = 9,
    kErrDivisionByZero = 11,
    kErrInvalidPropertyValue = 380,
};

class VbError : public std::exception {
public:
    explicit VbError(std::int32_t number) noexcept : number_(number) {}
    std::int32_t number() const noexcept { return number_; }
    // The runtime's standard text for the number ("Overflow", ...).
    const char *what() const noexcept override;

private:
    std::int32_t number_;
};

[[noreturn]] void RaiseVbError(std::int32_t number);

} // namespace lumio
