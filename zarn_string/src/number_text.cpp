#include "number_text.h"

#include <cstdint>
#include <limits>

namespace zarn_number {

bool readDigits(const char* first, const char* last, bool negative, int& value) noexcept {
    if (first == last) {
        return false;
    }
    // Accumulate the magnitude in 64 bits and stop as soon as it leaves the int range,
    // so that no digit count can overflow.
    const std::int64_t limit = negative
                                   ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                   : static_cast<std::int64_t>(std::numeric_limits<int>::max());
    std::int64_t magnitude = 0;
    for (const char* p = first; p != last; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) {
            return false;
        }
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

std::size_t writeDecimal(int value, char* out) noexcept {
    // The magnitude as unsigned: -2147483648 has no positive int.
    const bool negative = value < 0;
    std::uint32_t magnitude =
        negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    char reversed[maxDecimalChars];
    std::size_t count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::size_t written = 0;
    if (negative) {
        out[written++] = '-';
    }
    while (count != 0) {
        out[written++] = reversed[--count];
    }
    return written;
}

std::size_t writeInt(int value, int base, char* out) noexcept {
    if (base < 2 || base > 36 || base == 10) {
        return writeDecimal(value, out);
    }
    static constexpr char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    // Work on the magnitude in 64 bits: -2147483648 has no positive int.
    std::int64_t magnitude = value;
    const bool negative = magnitude < 0;
    if (negative) {
        magnitude = -magnitude;
    }
    char reversed[maxIntChars];
    std::size_t count = 0;
    do {
        reversed[count++] = digits[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);
    std::size_t written = 0;
    if (negative) {
        out[written++] = '-';
    }
    while (count != 0) {
        out[written++] = reversed[--count];
    }
    return written;
}

} // namespace zarn_number
