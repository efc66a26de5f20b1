// Builds the text of one host command without touching the heap for the usual short
// commands: the pieces are copied into an inline buffer, and only a command longer than
// that buffer moves to a heap string.
#pragma once

#include <zarn_string/zarn_string.h>

#include <cstddef>
#include <cstring>
#include <string>

class CommandText {
public:
    CommandText() noexcept { inline_[0] = '\0'; }
    CommandText(const CommandText&) = delete;
    CommandText& operator=(const CommandText&) = delete;

    CommandText& operator<<(const zarn_string& text) { return add(text.data(), text.length()); }

    // A literal piece of the command's syntax, such as "TP '".
    template <std::size_t N> CommandText& operator<<(const char (&literal)[N]) {
        return add(literal, N - 1);
    }

    // The zero-terminated command, valid while this object lives unchanged.
    const char* text() const noexcept { return overflow_.empty() ? inline_ : overflow_.c_str(); }

private:
    static constexpr std::size_t inlineCapacity = 256;

    CommandText& add(const char* text, std::size_t length) {
        if (overflow_.empty() && size_ + length < inlineCapacity) {
            std::memcpy(inline_ + size_, text, length);
            size_ += length;
            inline_[size_] = '\0';
        } else {
            if (overflow_.empty()) {
                overflow_.reserve(2 * (size_ + length));
                overflow_.assign(inline_, size_);
            }
            overflow_.append(text, length);
        }
        return *this;
    }

    char inline_[inlineCapacity];
    std::size_t size_ = 0;
    std::string overflow_;
};
