// What the fuzzers share: a check that stops the run with a readable message
// when an invariant fails (libFuzzer then saves the input that did it).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

// The text with every non-printable or non-ASCII unit as \uXXXX.
inline std::string Printable(std::wstring_view text) {
    std::string out;
    for (const wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c) & 0xFFFFu);
            out += escape;
        }
    }
    return out;
}

[[noreturn]] inline void Fail(const char* file, int line, const char* condition,
                              const std::string& context) {
    std::fprintf(stderr, "%s:%d: invariant failed: %s\n  %s\n", file, line, condition,
                 context.c_str());
    std::abort();
}

}  // namespace fuzz

// FUZZ_CHECK(condition, context): context is a std::string describing the input.
#define FUZZ_CHECK(condition, context) \
    ((condition) ? static_cast<void>(0) : ::fuzz::Fail(__FILE__, __LINE__, #condition, (context)))
