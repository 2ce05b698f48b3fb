#include "run_time_error.h"

namespace lumio {

std::wstring StandardErrorText(int32_t number) {
    switch (number) {
    case kErrInvalidProcedureCall: return L"Invalid procedure call or argument";
    case kErrOverflow: return L"Overflow";
    case kErrSubscriptOutOfRange: return L"Subscript out of range";
    case kErrDivisionByZero: return L"Division by zero";
    case kErrTypeMismatch: return L"Type mismatch";
    case kErrObjectNotSet: return L"Object variable or With block variable not set";
    case kErrInvalidPropertyValue: return L"Invalid property value";
    case kErrInvalidPropertyIndex: return L"Invalid property array index";
    case kErrNotSettableAtRunTime: return L"Property cannot be set at run time";
    case kErrReadOnlyProperty: return L"Property is read-only";
    default: return {};
    }
}

void Raise(int32_t number, const std::wstring& source, const std::wstring& description) {
    throw RunTimeError(number, source.empty() ? std::wstring(kDefaultErrorSource) : source,
                       description.empty() ? StandardErrorText(number) : description);
}

void RaiseExact(int32_t number, const std::wstring& source, const std::wstring& description) {
    throw RunTimeError(number, source, description);
}

}  // namespace lumio
