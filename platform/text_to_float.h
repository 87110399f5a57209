#pragma once

#include <cstdint>
#include <string_view>

namespace quorvin {

// The number at the start of a control's text, as a float. Full-width forms count as their
// ASCII twins and leading blanks are skipped; then the longest decimal prefix (sign, digits
// with at most one point, optional exponent) is read. Text without such a prefix gives 0;
// hex, "inf" and "nan" are not numbers here. The prefix is rounded to the nearest double,
// then that to the nearest float, so the result is what a decimal-to-double reader followed
// by a float cast would give. Independent of the C locale and of the code page.
float TextToFloat(std::u16string_view text);

// The value truncated toward zero. Out of range values saturate and NaN gives 0.
std::int32_t TruncateToInt(double value);

}  // namespace quorvin
