// Figures as rows of the one markdown table that scripts/bench prints:
// | What | Tavirel | Baseline | Tavirel / baseline | Median of |
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace bench {

// Rows go to standard output as they are, with no line-end translation.
inline void BinaryOutput() {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

inline std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// A figure with as many decimals as it needs to show three digits.
inline std::string Figure(double value, const char* unit) {
    const double magnitude = value < 0 ? -value : value;
    const int decimals = magnitude >= 100 ? 0 : magnitude >= 10 ? 1 : magnitude >= 1 ? 2 : 3;
    return Fixed(value, decimals) + " " + unit;
}

inline std::string Ratio(double value, double baseline) {
    if (baseline <= 0) return "-";
    return Fixed(value / baseline, 2) + "x";
}

inline void Row(const std::string& what, const std::string& figure, const std::string& baseline,
                const std::string& ratio, const std::string& runs) {
    std::printf("| %s | %s | %s | %s | %s |\n", what.c_str(), figure.c_str(), baseline.c_str(), ratio.c_str(),
                runs.c_str());
    std::fflush(stdout);
}

// A note for the log, not the table.
template <typename... Args>
void Note(const char* format, Args... args) {
    std::fprintf(stderr, format, args...);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace bench
