// Run-time errors, which the number services raise and the forms runtime
// reports.
//
// A handler raises an error by throwing RuntimeError; a handler with an error
// trap catches it and reads Description(). An error that nobody traps reaches
// the runtime's message dispatch, which reports it with UntrappedErrorMessage()
// and ends the program. Portable: no Win32 here.
#pragma once

#include <exception>
#include <string>

namespace numbers {

// Error numbers, as the runtime reports them ("Run-time error '6'").
enum class ErrorNumber : int {
    Overflow = 6,
};

class RuntimeError : public std::exception {
public:
    // Described in the runtime's own wording ("Overflow").
    explicit RuntimeError(ErrorNumber number);

    ErrorNumber Number() const noexcept { return number_; }
    const std::wstring& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return "numbers::RuntimeError"; }

private:
    ErrorNumber number_;
    std::wstring description_;
};

// The text the runtime shows for an error nobody trapped:
// "Run-time error '6':\n\nOverflow".
std::wstring UntrappedErrorMessage(const RuntimeError& error);

[[noreturn]] void Raise(ErrorNumber number);

}  // namespace numbers
