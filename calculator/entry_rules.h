// The decisions of the entry filter and of the result-box guard. Portable.
#pragma once

#include <cstdint>
#include <string_view>

namespace calculator {

// The character code that reaches the price box: the code itself for
// backspace, the point and the digits, 0 (discarded) for anything else.
std::int16_t FilterPriceKey(std::int16_t code);

// Whether a result box holding this text must empty itself.
bool GuardEmptiesBox(std::wstring_view text);

}  // namespace calculator
