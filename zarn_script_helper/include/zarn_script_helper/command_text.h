// The one joiner of the base: every host command text and every debug line is joined from
// pieces here, in one pass, and nothing inserted is ever scanned again.
//
// A piece is one of
//   - a literal of the command's syntax, such as "TP '": its length is known when the
//     code is compiled, so its copy is a few plain stores;
//   - a text: anything with data() and length(), such as a zarn_string or the RecordText
//     of a revertive, copied as it is (nothing is escaped);
//   - an int, written in signed decimal: -2147483648 is 11 characters.
// A joined text of up to 255 characters lives on the stack, so the usual command costs no
// heap allocation; a longer one is allocated once.
//
//   sendCommand(host, "RR ", 2, " ", 33, " ", 33) sends "RR 2 33 33".
//   fillMarkers("%1=%2", {"a%2", "b"}) gives "a%2=b": the "%2" inserted is not replaced.
#pragma once

#include <zarn_script_helper/zarn_client_callback.h>
#include <zarn_string/short_copy.h>
#include <zarn_string/zarn_string.h>

#include <cstddef>
#include <cstring>
#include <type_traits>

// The joiner is inlined into every command of the tally path: its literal pieces then
// become plain stores of constants.
#if defined(__GNUC__)
#define ZARN_JOIN_INLINE inline __attribute__((always_inline))
#else
#define ZARN_JOIN_INLINE inline
#endif

namespace command_text {

// A piece whose characters lie elsewhere.
struct Span {
    const char* data;
    std::size_t length;
};

// A literal piece: its length is a constant.
template <std::size_t N> struct Literal {
    const char* data;
    static constexpr std::size_t length = N - 1;
};

// An int piece, written in signed decimal.
struct Decimal {
    explicit Decimal(int value) noexcept {
        // The magnitude as unsigned: -2147483648 has no positive int.
        unsigned magnitude =
            value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
        char reversed[10];
        std::size_t count = 0;
        do {
            reversed[count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        length = 0;
        if (value < 0) {
            digits[length++] = '-';
        }
        while (count != 0) {
            digits[length++] = reversed[--count];
        }
    }
    char digits[11];
    std::size_t length;
};

template <std::size_t N> constexpr Literal<N> piece(const char (&literal)[N]) noexcept {
    return {literal};
}
template <typename Text>
auto piece(const Text& text) noexcept -> decltype(Span{text.data(), text.length()}) {
    return {text.data(), text.length()};
}
inline Decimal piece(int value) noexcept {
    return Decimal(value);
}
// A bool or a char would otherwise pass for an int.
void piece(bool) = delete;
void piece(char) = delete;

inline char* put(char* at, const Span& text) noexcept {
    zarn_short_copy::copy(at, text.data, text.length);
    return at + text.length;
}
template <std::size_t N> char* put(char* at, const Literal<N>& literal) noexcept {
    std::memcpy(at, literal.data, N - 1);
    return at + N - 1;
}
inline char* put(char* at, const Decimal& number) noexcept {
    std::memcpy(at, number.digits, number.length);
    return at + number.length;
}

// The pieces joined into one zero-terminated text, which lives as long as this object.
class Joined {
public:
    template <typename... Parts>
    ZARN_JOIN_INLINE explicit Joined(const Parts&... parts) : text_(onStack_) {
        const std::size_t length = (std::size_t{0} + ... + parts.length);
        if (length >= sizeof onStack_) {
            onHeap_ = new char[length + 1];
            text_ = onHeap_;
        }
        char* at = text_;
        ((at = put(at, parts)), ...);
        *at = '\0';
        length_ = length;
    }
    ~Joined() { delete[] onHeap_; }
    Joined(const Joined&) = delete;
    Joined& operator=(const Joined&) = delete;

    char* text() noexcept { return text_; }
    std::size_t length() const noexcept { return length_; }

private:
    char onStack_[256];
    char* onHeap_ = nullptr;
    char* text_;
    std::size_t length_ = 0;
};

// `format` with the texts of `arguments` put in place of its markers ("%0" to "%9") in
// one pass: the lowest marker digit present takes arguments[0] at each place it stands,
// the next lowest arguments[1], and so on; markers beyond `count` stay as they are.
// Texts put in are never searched for markers themselves.
zarn_string fillMarkers(const zarn_string& format, const zarn_string* const* arguments,
                        std::size_t count);

} // namespace command_text

// Sends the pieces joined, with kind 0, to `host`; gives the host's reply.
template <typename... Pieces>
ZARN_JOIN_INLINE void* sendCommand(zarn_client_callback& host, const Pieces&... pieces) {
    command_text::Joined text(command_text::piece(pieces)...);
    return host.callback(text.text(), zarn_kind_host_command);
}
