// zarn_string: the text value class that every component and the host share.
//
// A zarn_string is a value: copies are independent, and every operation that gives
// a new text leaves the original unchanged. Texts are byte strings without an
// embedded zero; a null `const char*` anywhere reads as the empty text.
//
// Numbers. `toInt` and `firstInt` read signed 32-bit decimal numbers. A number that
// does not fit into 32 bits gives 0, the "not set" value, never an undefined result.
//
// Markers. `arg` replaces markers: a per cent sign followed by one digit, "%0" to "%9".
// Only one digit belongs to a marker, so "%12" is the marker "%1" followed by "2".
#pragma once

#include <zarn_string/short_copy.h>
#include <zarn_string/zarn_string_export.h>

#include <cstddef>
#include <cstring>

class ZARN_STRING_API zarn_string {
public:
    // The empty text.
    zarn_string() noexcept : data_(local_), length_(0), capacity_(localCapacity) {
        local_[0] = '\0';
    }
    // A copy of the zero-terminated `text`; null gives the empty text.
    zarn_string(const char* text) { assign(text, text != nullptr ? std::strlen(text) : 0); }
    // The first `length` bytes of `text` (which need not be zero-terminated).
    zarn_string(const char* text, unsigned length) { assign(text, text != nullptr ? length : 0); }
    // `value` written in `base` (2 to 36; any other base writes decimal), padded on the
    // left with `fill` up to `width` characters (fill 0 pads with blanks).
    // zarn_string(1, 0, 0, 10) gives "1"; zarn_string(-42, 0, 0, 10) gives "-42";
    // zarn_string(7, '0', 3, 10) gives "007"; zarn_string(255, 0, 0, 16) gives "ff".
    explicit zarn_string(int value, char fill = 0, unsigned width = 0, int base = 10)
        : data_(local_), length_(1), capacity_(localCapacity) {
        if (value >= 0 && value < 10 && width == 0 && base == 10) {
            // A single digit, such as a panel id: written here, with no call.
            local_[0] = static_cast<char>('0' + value);
            local_[1] = '\0';
        } else {
            assignNumber(value, fill, width, base);
        }
    }

    zarn_string(const zarn_string& other) { assign(other.data_, other.length_); }
    zarn_string(zarn_string&& other) noexcept;
    // Inline, so that the many short-lived strings of a call cost no call to destroy.
    virtual ~zarn_string() {
        if (!isLocal()) {
            delete[] data_;
        }
    }

    zarn_string& operator=(const zarn_string& other);
    zarn_string& operator=(zarn_string&& other) noexcept;
    zarn_string& operator=(const char* text);

    // Appends: zarn_string("TP '") += "text" gives "TP 'text".
    zarn_string& operator+=(const zarn_string& other) { return append(other.data_, other.length_); }
    zarn_string& operator+=(const char* text);
    // Appends the first `length` bytes of `text`.
    zarn_string& append(const char* text, unsigned length);
    // Makes room for `length` characters, so that appending up to that length does not
    // allocate again. Never shrinks and never changes the text.
    void reserve(unsigned length);

    // Exact, case-sensitive comparison of the characters.
    bool operator==(const zarn_string& other) const noexcept {
        return length_ == other.length_ && std::memcmp(data_, other.data_, length_) == 0;
    }
    bool operator==(const char* text) const noexcept {
        return std::strcmp(data_, text != nullptr ? text : "") == 0;
    }
    bool operator!=(const zarn_string& other) const noexcept { return !(*this == other); }
    bool operator!=(const char* text) const noexcept { return !(*this == text); }
    // True when the text is the plain decimal form of `value`: "1" == 1, but not "01",
    // "+1" or " 1".
    bool operator==(int value) const noexcept;
    bool operator!=(int value) const noexcept { return !(*this == value); }

    // The characters, zero-terminated; valid while this string lives unchanged.
    operator const char*() const noexcept { return data_; }
    const char* data() const noexcept { return data_; }
    // Number of characters, the terminating zero not counted.
    unsigned length() const noexcept { return length_; }
    bool isEmpty() const noexcept { return length_ == 0; }

    // The value of a text that is an optional sign ('+' or '-') and one or more decimal
    // digits, nothing else: "12" gives 12, "-3" gives -3, "+7" gives 7. Any other text
    // gives 0: the empty text, "12a", " 12", "0x1F", "-", and any number outside the
    // signed 32-bit range ("2147483648").
    int toInt() const noexcept;
    // The value of the first decimal number in the text, with a '+' or '-' directly in
    // front of its first digit taken as its sign: "17,33" gives 17, "VID 4" gives 4,
    // "x-5" gives -5, "- 5" gives 5. 0 when the text holds no digit, or when that first
    // number lies outside the signed 32-bit range (the text is not searched further).
    int firstInt() const noexcept;

    // A new string in which every occurrence of the lowest-numbered marker still present
    // is replaced by the argument; without a marker, an unchanged copy. The argument is
    // inserted as it is and never searched for markers itself.
    // zarn_string("%1=%2").arg("key") gives "key=%2"; .arg("key").arg(3) gives "key=3";
    // zarn_string("%2 %1").arg("a") gives "%2 a"; zarn_string("no marker").arg(1) gives
    // "no marker". The int form writes the number as the int constructor does.
    zarn_string arg(int value, char fill = 0, unsigned width = 0, int base = 10) const;
    zarn_string arg(const char* text) const;
    zarn_string arg(const zarn_string& text) const;

    // Cuts the text at its first `separator`: `left` receives the text before it and
    // `right` the text after it, and the result is the separator's position (0-based).
    // Without a separator, `left` receives the whole text, `right` the empty text, and
    // the result is -1. "17,33" at ',' gives "17" and "33", result 2; "17" gives "17"
    // and "", result -1. `left` and `right` may be this string itself.
    int split(char separator, zarn_string& left, zarn_string& right) const;

private:
    // Texts up to this length live in the string itself, with no heap allocation.
    static constexpr unsigned localCapacity = 23;
    static_assert(localCapacity <= zarn_short_copy::inlineLimit);

    // Sets the text of a string under construction.
    void assign(const char* text, std::size_t length) {
        if (length <= localCapacity) {
            data_ = local_;
            capacity_ = localCapacity;
            zarn_short_copy::copy(local_, text, length);
            local_[length] = '\0';
            length_ = static_cast<unsigned>(length);
        } else {
            assignLong(text, length);
        }
    }
    // The class's one out-of-line virtual function: it keeps the vtable and type
    // information in the library, where they belong, although the destructor is inline.
    virtual void anchor();
    void assignLong(const char* text, std::size_t length);
    void assignNumber(int value, char fill, unsigned width, int base);
    // Takes over the heap storage of `other`, which is left empty.
    void takeStorage(zarn_string& other) noexcept;
    void clear() noexcept;
    void replace(const char* text, std::size_t length);
    zarn_string arg(const char* text, unsigned length) const;
    bool isLocal() const noexcept { return data_ == local_; }

    char* data_; // local_, or an array of capacity_ + 1 chars on the heap
    unsigned length_;
    unsigned capacity_; // characters that fit without allocating again
    char local_[localCapacity + 1];
};

// Concatenation: zarn_string("RU ") + "7" gives "RU 7".
ZARN_STRING_API zarn_string operator+(const zarn_string& left, const zarn_string& right);
ZARN_STRING_API zarn_string operator+(const zarn_string& left, const char* right);
ZARN_STRING_API zarn_string operator+(const char* left, const zarn_string& right);
// Without these, `text + 1` or `"x" == text` would silently work on the character
// pointer that a zarn_string converts to.
zarn_string operator+(const zarn_string& left, int right) = delete;
ZARN_STRING_API bool operator==(const char* left, const zarn_string& right) noexcept;
ZARN_STRING_API bool operator!=(const char* left, const zarn_string& right) noexcept;
