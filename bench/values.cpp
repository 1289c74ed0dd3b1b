// The calculation and the numeric parse, natively: nanoseconds per
// CalculateLimits (the texts of both results included) over the program's
// example prices, and the numeric test plus parse of long texts, per
// character, to show that it grows linearly.
//
//   bench_values RUNS
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/report.h"
#include "calculator/limit_calculation.h"
#include "forms_runtime/numeric_text.h"

namespace {

using bench::Clock;
using bench::Figure;
using bench::Median;
using bench::Ratio;
using bench::Row;

// Keeps results alive so that the compiler cannot drop the work.
volatile std::size_t g_sink = 0;

struct Example {
    const wchar_t* price;
    calculator::Band band;
};

constexpr calculator::Band k10 = calculator::Band::TenPercent;
constexpr calculator::Band k5 = calculator::Band::FivePercent;
const Example kExamples[] = {
    {L"10", k10},   {L"10", k5},        {L"3.33", k10},     {L"2.5", k5},      {L"15.5", k5},
    {L"9.9", k5},   {L"12.1", k5},      {L"0.05", k10},     {L"123456.78", k10}, {L"10000000", k10},
    {L"11", k10},   {L"9.9", k10},      {L"1.1E+07", k10},  {L"010.", k10},
};

// Time per call of one batch, in nanoseconds.
template <typename Batch>
double NanosecondsPerCall(std::size_t calls, Batch&& batch) {
    const auto begin = Clock::now();
    batch();
    return bench::SecondsSince(begin) * 1e9 / static_cast<double>(calls);
}

void Calculation(int runs) {
    constexpr int kRounds = 20000;
    constexpr std::size_t kCount = sizeof kExamples / sizeof kExamples[0];
    constexpr std::size_t kCalls = std::size_t{kRounds} * kCount;
    auto calculate = [] {
        std::size_t total = 0;
        for (int i = 0; i < kRounds; ++i) {
            for (const Example& e : kExamples) {
                const calculator::LimitResult result = calculator::CalculateLimits(e.price, e.band);
                total += result.limitUp.size() + result.limitDown.size();
            }
        }
        g_sink = g_sink + total;
    };
    // The baseline: the numeric test and parse of the same prices alone, the
    // part of the work before any arithmetic or text.
    auto parse = [] {
        double total = 0;
        for (int i = 0; i < kRounds; ++i) {
            for (const Example& e : kExamples) {
                if (forms::IsNumeric(e.price)) total += forms::ParseNumber(e.price).value_or(0.0);
            }
        }
        g_sink = g_sink + static_cast<std::size_t>(total);
    };
    calculate();  // warm-up
    parse();
    // Interleaved, so that a busy stretch of the machine hits both alike.
    std::vector<double> perCall, parseOnly;
    for (int r = 0; r < runs; ++r) {
        perCall.push_back(NanosecondsPerCall(kCalls, calculate));
        parseOnly.push_back(NanosecondsPerCall(kCalls, parse));
    }
    Row("CalculateLimits with both result texts, " + std::to_string(kCount) + " example prices (native, g++ -O2)",
        Figure(Median(perCall), "ns"), Figure(Median(parseOnly), "ns") + " (IsNumeric + ParseNumber of the price only)",
        Ratio(Median(perCall), Median(parseOnly)), std::to_string(runs) + " x " + std::to_string(kCalls));
}

// "12." and then digits up to the length: numeric, with a long fraction.
std::wstring LongNumber(std::size_t length) {
    std::wstring text = L"12.";
    text.reserve(length);
    for (std::size_t i = 0; text.size() < length; ++i) text.push_back(static_cast<wchar_t>(L'0' + (i * 7 + 3) % 10));
    return text;
}

void LongTexts(int runs) {
    constexpr std::size_t kMiB = std::size_t{1024} * 1024;
    const std::size_t kSizes[] = {kMiB, 2 * kMiB, 4 * kMiB};
    std::vector<std::wstring> texts;
    for (std::size_t size : kSizes) texts.push_back(LongNumber(size));
    auto readOnce = [](const std::wstring& text) {
        const bool numeric = forms::IsNumeric(text);
        const double value = forms::ParseNumber(text).value_or(-1.0);
        if (!numeric || value < 12.0 || value > 13.0) {
            std::fprintf(stderr, "the long number did not read as 12.x\n");
            std::exit(1);
        }
    };
    for (const auto& text : texts) readOnce(text);  // warm-up
    // Interleaved sizes, so that a busy stretch of the machine hits all
    // alike; five times the runs, as each takes milliseconds only.
    const int reads = runs * 5;
    std::vector<std::vector<double>> perChar(texts.size());
    for (int r = 0; r < reads; ++r) {
        for (std::size_t k = 0; k < texts.size(); ++k) {
            perChar[k].push_back(NanosecondsPerCall(texts[k].size(), [&] { readOnce(texts[k]); }));
        }
    }
    const double first = Median(perChar[0]);
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const double ns = Median(perChar[k]);
        const double ms = ns * static_cast<double>(texts[k].size()) / 1e6;
        Row("IsNumeric + ParseNumber of a " + std::to_string(kSizes[k] / kMiB) + " Mi-character number (12.xxx...)",
            Figure(ms, "ms") + " = " + Figure(ns, "ns/char"),
            k == 0 ? "- (the 1 Mi row is the baseline of the ns/char ratio)" : Figure(first, "ns/char") + " (1 Mi)",
            Ratio(ns, first), std::to_string(reads));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
    Calculation(runs);
    LongTexts(runs);
    return 0;
}
