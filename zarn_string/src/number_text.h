// Reading and writing the signed 32-bit numbers of zarn_string.
#pragma once

#include <cstddef>

namespace zarn_number {

// The value of the decimal digits [first, last) with `negative` applied, into `value`.
// False, and `value` untouched, when the range is empty, holds a non-digit, or the
// number does not fit into a signed 32-bit int.
bool readDigits(const char* first, const char* last, bool negative, int& value) noexcept;

// The number of characters the largest int needs in any base from 2, with its sign.
constexpr std::size_t maxIntChars = 33;
// The same in base 10: "-2147483648".
constexpr std::size_t maxDecimalChars = 11;

// Writes `value` in `base` into `out` (which has room for maxIntChars) and gives the
// number of characters written; no terminating zero. A base outside 2 to 36 writes
// decimal.
std::size_t writeInt(int value, int base, char* out) noexcept;

// The same in base 10 (room for maxDecimalChars), the usual case, without a division by
// a base only known at run time.
std::size_t writeDecimal(int value, char* out) noexcept;

} // namespace zarn_number
