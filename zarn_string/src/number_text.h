// Reading and writing the signed 32-bit numbers of zarn_string.
#pragma once

#include <cstddef>
#include <string>

namespace zarn_number {

// The value of the decimal digits [first, last) with `negative` applied, into `value`.
// False, and `value` untouched, when the range is empty, holds a non-digit, or the
// number does not fit into a signed 32-bit int.
bool readDigits(const char* first, const char* last, bool negative, int& value) noexcept;

// The number of characters the largest int needs in any base from 2, with its sign.
constexpr std::size_t maxIntChars = 33;

// Writes `value` in `base` into `out` (which has room for maxIntChars) and gives the
// number of characters written; no terminating zero. A base outside 2 to 36 writes
// decimal.
std::size_t writeInt(int value, int base, char* out) noexcept;

// `value` as the int constructor of zarn_string writes it: base, then left padding with
// `fill` (a blank when fill is 0) up to `width`.
void appendInt(std::string& text, int value, char fill, unsigned width, int base);

} // namespace zarn_number
