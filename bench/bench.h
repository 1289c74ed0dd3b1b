// What the bench programs share: medians, and rows of the one markdown table
// scripts/bench prints: | What | Tavirel | Baseline | Tavirel / baseline | Median of |
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Three significant digits, or whole units from 100 on.
inline std::string Figure(double value, const char* unit) {
    const double size = value < 0 ? -value : value;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f %s", size >= 100 ? 0 : size >= 10 ? 1 : size >= 1 ? 2 : 3, value, unit);
    return text;
}

// A figure beside its baseline, both in `unit`; `note` says what the baseline is.
inline void Row(const std::string& what,
                double value,
                double baseline,
                const char* unit,
                const std::string& note,
                const std::string& runs) {
    char ratio[32] = "-";
    if (baseline > 0)
        std::snprintf(ratio, sizeof ratio, "%.2fx", value / baseline);
    std::printf("| %s | %s | %s (%s) | %s | %s |\n", what.c_str(), Figure(value, unit).c_str(),
                Figure(baseline, unit).c_str(), note.c_str(), ratio, runs.c_str());
    std::fflush(stdout);
}

}  // namespace bench
