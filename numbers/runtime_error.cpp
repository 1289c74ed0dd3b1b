#include "numbers/runtime_error.h"

#include <utility>

namespace numbers {

RuntimeError::RuntimeError(ErrorNumber number)
    : RuntimeError(number, DefaultDescription(number)) {}

RuntimeError::RuntimeError(ErrorNumber number, std::wstring description)
    : number_(number), description_(std::move(description)) {}

std::wstring DefaultDescription(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::Overflow: return L"Overflow";
    }
    return L"Application-defined or object-defined error";
}

std::wstring UntrappedErrorMessage(const RuntimeError& error) {
    return L"Run-time error '" + std::to_wstring(static_cast<int>(error.Number())) + L"':\n\n" +
           error.Description();
}

void Raise(ErrorNumber number) { throw RuntimeError(number); }

}  // namespace numbers
