#include "number_text.h"

#include <cstdint>
#include <limits>
#include <type_traits>

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

namespace {

// The magnitude as unsigned: -2147483648 has no positive int.
std::uint32_t magnitudeOf(int value) noexcept {
    return value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
}

// Writes the sign and the digits of a number. With a constant base the compiler divides by
// multiplying, which is why decimal has an instance of its own.
template <typename Base> std::size_t writeNumber(int value, Base base, char* out) noexcept {
    static constexpr char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uint32_t magnitude = magnitudeOf(value);
    char reversed[maxIntChars];
    std::size_t count = 0;
    do {
        reversed[count++] = digits[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);
    std::size_t written = 0;
    if (value < 0) {
        out[written++] = '-';
    }
    while (count != 0) {
        out[written++] = reversed[--count];
    }
    return written;
}

} // namespace

std::size_t writeDecimal(int value, char* out) noexcept {
    return writeNumber(value, std::integral_constant<std::uint32_t, 10>{}, out);
}

std::size_t writeInt(int value, int base, char* out) noexcept {
    if (base < 2 || base > 36 || base == 10) {
        return writeDecimal(value, out);
    }
    return writeNumber(value, static_cast<std::uint32_t>(base), out);
}

} // namespace zarn_number
