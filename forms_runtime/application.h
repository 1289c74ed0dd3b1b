// The program's life: running the start-up window, ending the program, and
// reporting run-time errors that no handler trapped.
#pragma once

#include <windows.h>

#include "numbers/runtime_error.h"

namespace forms {

// Reports an error that reached the runtime untrapped, in the runtime's own
// message ("Run-time error '6':\n\nOverflow"), then ends the program.
[[noreturn]] void ReportUntrappedError(const numbers::RuntimeError& error);

// Ends the program at once: no further event, Unload included, is raised.
[[noreturn]] void End(UINT exitCode = 0);

// Runs fn; a RuntimeError that escapes it is reported as untrapped. Every
// entry point through which Windows calls the program's code goes through
// this, since an exception must not unwind through the system's frames.
template <typename Fn>
auto Untrapped(Fn&& fn) noexcept -> decltype(fn()) {
    try {
        return fn();
    } catch (const numbers::RuntimeError& error) {
        ReportUntrappedError(error);
    }
}

}  // namespace forms
