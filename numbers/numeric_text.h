// The numeric test and the parse: whether a text reads as a number, and its
// value. A point is the decimal separator whatever the system's locale.
// Portable: no Win32 here.
#pragma once

#include <optional>
#include <string_view>

namespace numbers {

// True when the text reads as a number (see numeric_text.cpp for the grammar).
bool IsNumeric(std::wstring_view text);

// The nearest double to the number the text writes. Empty when the text is
// not numeric or its value lies beyond the double range.
std::optional<double> ParseNumber(std::wstring_view text);

}  // namespace numbers
