#include "forms_runtime/runtime_error.h"

#include <utility>

namespace forms {

RuntimeError::RuntimeError(ErrorNumber number)
    : RuntimeError(number, DefaultDescription(number)) {}

RuntimeError::RuntimeError(ErrorNumber number, std::wstring description)
    : number_(number), description_(std::move(description)) {}

std::wstring DefaultDescription(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::InvalidProcedureCall: return L"Invalid procedure call or argument";
    case ErrorNumber::Overflow: return L"Overflow";
    case ErrorNumber::DivisionByZero: return L"Division by zero";
    }
    return L"Application-defined or object-defined error";
}

std::wstring UntrappedErrorMessage(const RuntimeError& error) {
    return L"Run-time error '" + std::to_wstring(static_cast<int>(error.Number())) + L"':\n\n" +
           error.Description();
}

void Raise(ErrorNumber number) { throw RuntimeError(number); }

}  // namespace forms
