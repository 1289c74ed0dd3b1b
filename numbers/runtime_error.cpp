#include "numbers/runtime_error.h"

namespace numbers {

namespace {

std::wstring DefaultDescription(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::Overflow:
        return L"Overflow";
    }
    return L"Application-defined or object-defined error";
}

}  // namespace

RuntimeError::RuntimeError(ErrorNumber number) : number_(number), description_(DefaultDescription(number)) {}

std::wstring UntrappedErrorMessage(const RuntimeError& error) {
    return L"Run-time error '" + std::to_wstring(static_cast<int>(error.Number())) + L"':\n\n" + error.Description();
}

void Raise(ErrorNumber number) {
    throw RuntimeError(number);
}

}  // namespace numbers
