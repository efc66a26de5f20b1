// Copying a few bytes without a call: the many short texts of a host command are copied
// with constant-sized moves that the compiler turns into plain loads and stores.
#pragma once

#include <cstddef>
#include <cstring>

namespace zarn_short_copy {

// The longest copy that copy() does inline; longer ones go to memcpy.
constexpr std::size_t inlineLimit = 31;

// Copies `length` bytes in pieces of 16, 8, 4, 2 and 1 bytes, as the bits of the length
// say. The pieces never overlap, so that a copy of a copy reads back exactly what the
// first one stored, piece for piece, and the processor hands the data straight on.
inline void copy(char* to, const char* from, std::size_t length) noexcept {
    if (length > inlineLimit) {
        std::memcpy(to, from, length);
        return;
    }
    std::size_t at = 0;
    if ((length & 16) != 0) {
        std::memcpy(to, from, 16);
        at = 16;
    }
    if ((length & 8) != 0) {
        std::memcpy(to + at, from + at, 8);
        at += 8;
    }
    if ((length & 4) != 0) {
        std::memcpy(to + at, from + at, 4);
        at += 4;
    }
    if ((length & 2) != 0) {
        std::memcpy(to + at, from + at, 2);
        at += 2;
    }
    if ((length & 1) != 0) {
        to[at] = from[at];
    }
}

} // namespace zarn_short_copy
