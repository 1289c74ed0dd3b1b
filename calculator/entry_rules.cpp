#include "calculator/entry_rules.h"

#include "numbers/numeric_text.h"

namespace calculator {

std::int16_t FilterPriceKey(std::int16_t code) {
    constexpr std::int16_t kBackspace = 8;
    const bool accepted = code == kBackspace || code == '.' || (code >= '0' && code <= '9');
    return accepted ? code : std::int16_t{0};
}

bool GuardEmptiesBox(std::wstring_view text) {
    return !numbers::IsNumeric(text);
}

}  // namespace calculator
