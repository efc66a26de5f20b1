// Copying a few bytes without a call: the many short texts of a host command are copied
// with constant-sized moves that the compiler turns into plain loads and stores.
#pragma once

#include <cstddef>
#include <cstring>

namespace zarn_short_copy {

// The longest copy that copy() does inline; longer ones go to memcpy.
constexpr std::size_t inlineLimit = 31;

// Copies N bytes in pieces of 16, 8, 4, 2 and 1 bytes, as the bits of N say. The pieces
// never overlap, so that a copy of a copy reads back exactly what the first one stored,
// piece for piece, and the processor hands the data straight on.
template <std::size_t N> inline void copyFixed(char* to, const char* from) noexcept {
    std::size_t at = 0;
    if constexpr ((N & 16) != 0) {
        std::memcpy(to, from, 16);
        at += 16;
    }
    if constexpr ((N & 8) != 0) {
        std::memcpy(to + at, from + at, 8);
        at += 8;
    }
    if constexpr ((N & 4) != 0) {
        std::memcpy(to + at, from + at, 4);
        at += 4;
    }
    if constexpr ((N & 2) != 0) {
        std::memcpy(to + at, from + at, 2);
        at += 2;
    }
    if constexpr ((N & 1) != 0) {
        to[at] = from[at];
    }
    (void)at;
}

// Copies `length` bytes: one jump to the fixed copy of that length, or memcpy past
// inlineLimit.
inline void copy(char* to, const char* from, std::size_t length) noexcept {
#define ZARN_SHORT_COPY_CASE(n)                                                                    \
    case n:                                                                                        \
        copyFixed<n>(to, from);                                                                    \
        return;
    // clang-format off
    switch (length) {
        ZARN_SHORT_COPY_CASE(0)  ZARN_SHORT_COPY_CASE(1)  ZARN_SHORT_COPY_CASE(2)
        ZARN_SHORT_COPY_CASE(3)  ZARN_SHORT_COPY_CASE(4)  ZARN_SHORT_COPY_CASE(5)
        ZARN_SHORT_COPY_CASE(6)  ZARN_SHORT_COPY_CASE(7)  ZARN_SHORT_COPY_CASE(8)
        ZARN_SHORT_COPY_CASE(9)  ZARN_SHORT_COPY_CASE(10) ZARN_SHORT_COPY_CASE(11)
        ZARN_SHORT_COPY_CASE(12) ZARN_SHORT_COPY_CASE(13) ZARN_SHORT_COPY_CASE(14)
        ZARN_SHORT_COPY_CASE(15) ZARN_SHORT_COPY_CASE(16) ZARN_SHORT_COPY_CASE(17)
        ZARN_SHORT_COPY_CASE(18) ZARN_SHORT_COPY_CASE(19) ZARN_SHORT_COPY_CASE(20)
        ZARN_SHORT_COPY_CASE(21) ZARN_SHORT_COPY_CASE(22) ZARN_SHORT_COPY_CASE(23)
        ZARN_SHORT_COPY_CASE(24) ZARN_SHORT_COPY_CASE(25) ZARN_SHORT_COPY_CASE(26)
        ZARN_SHORT_COPY_CASE(27) ZARN_SHORT_COPY_CASE(28) ZARN_SHORT_COPY_CASE(29)
        ZARN_SHORT_COPY_CASE(30) ZARN_SHORT_COPY_CASE(31)
    default:
        std::memcpy(to, from, length);
    }
    // clang-format on
#undef ZARN_SHORT_COPY_CASE
}

} // namespace zarn_short_copy
