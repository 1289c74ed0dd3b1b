// The engine natively: CalculateLimits (both result texts included) over the
// program's example prices against the numeric test and parse of the same
// prices alone; and that test and parse of long numbers, per character, to
// show that its time grows linearly with the text.
//
//   bench_values RUNS
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench.h"
#include "calculator/limit_calculation.h"
#include "numbers/numeric_text.h"

namespace {

// Results land here so that the compiler cannot drop the work.
volatile double g_sink = 0;

constexpr auto k10 = calculator::Band::TenPercent;
constexpr auto k5 = calculator::Band::FivePercent;
const std::pair<const wchar_t*, calculator::Band> kExamples[] = {
    {L"10", k10}, {L"10", k5},   {L"3.33", k10},    {L"2.5", k5},        {L"15.5", k5},
    {L"9.9", k5}, {L"12.1", k5}, {L"0.05", k10},    {L"123456.78", k10}, {L"10000000", k10},
    {L"11", k10}, {L"9.9", k10}, {L"1.1E+07", k10}, {L"010.", k10}};

double ReadNumber(const std::wstring& text) {
    return numbers::IsNumeric(text) ? numbers::ParseNumber(text).value_or(0.0) : 0.0;
}

// Nanoseconds per unit of work: one call of batch does `units` of them.
template <typename Batch>
double NanosecondsPer(double units, Batch&& batch) {
    const auto begin = bench::Clock::now();
    batch();
    return bench::SecondsSince(begin) * 1e9 / units;
}

void Calculation(int runs) {
    constexpr int kRounds = 20000;
    constexpr double kCalls = double{kRounds} * std::size(kExamples);
    auto calculate = [] {
        for (int i = 0; i < kRounds; ++i) {
            for (const auto& [price, band] : kExamples) {
                const calculator::LimitResult result = calculator::CalculateLimits(price, band);
                g_sink = g_sink + static_cast<double>(result.limitUp.size() + result.limitDown.size());
            }
        }
    };
    auto parse = [] {
        for (int i = 0; i < kRounds; ++i) {
            for (const auto& example : kExamples)
                g_sink = g_sink + ReadNumber(example.first);
        }
    };
    // Interleaved, so that a busy stretch of the machine hits both alike.
    std::vector<double> calculated, parsed;
    for (int r = -1; r < runs; ++r) {  // round -1 warms up and is not kept
        const double calculation = NanosecondsPer(kCalls, calculate), parseOnly = NanosecondsPer(kCalls, parse);
        if (r >= 0)
            calculated.push_back(calculation), parsed.push_back(parseOnly);
    }
    bench::Row("CalculateLimits with both result texts, " + std::to_string(std::size(kExamples)) +
                   " example prices (native, Release)",
               bench::Median(calculated), bench::Median(parsed), "ns", "IsNumeric + ParseNumber of the price only",
               std::to_string(runs) + " x " + std::to_string(static_cast<long>(kCalls)));
}

void LongNumbers(int runs) {
    constexpr std::size_t kMi = std::size_t{1} << 20;
    std::vector<std::wstring> texts;
    for (const std::size_t size : {kMi, 2 * kMi, 4 * kMi}) {
        std::wstring text = L"12.";
        for (std::size_t i = 0; text.size() < size; ++i)
            text.push_back(static_cast<wchar_t>(L'0' + (i * 7 + 3) % 10));
        if (const double value = ReadNumber(text); value < 12 || value > 13)
            std::exit(1);  // not read as 12.x
        texts.push_back(std::move(text));
    }
    // Each read takes milliseconds only: five times the runs, interleaved.
    std::vector<std::vector<double>> perChar(texts.size());
    for (int r = 0; r < runs * 5; ++r) {
        for (std::size_t k = 0; k < texts.size(); ++k) {
            const auto& text = texts[k];
            perChar[k].push_back(
                NanosecondsPer(static_cast<double>(text.size()), [&] { g_sink = g_sink + ReadNumber(text); }));
        }
    }
    const double first = bench::Median(perChar[0]);
    for (std::size_t k = 1; k < texts.size(); ++k) {
        bench::Row("IsNumeric + ParseNumber of a " + std::to_string(texts[k].size() / kMi) +
                       " Mi-character number (12.xxx...), per character",
                   bench::Median(perChar[k]), first, "ns", "the same of 1 Mi characters", std::to_string(runs * 5));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
    Calculation(runs);
    LongNumbers(runs);
    return 0;
}
