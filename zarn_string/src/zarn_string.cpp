#include <zarn_string/zarn_string.h>

#include "number_text.h"

#include <climits>

namespace {

const char* orEmpty(const char* text) noexcept {
    return text != nullptr ? text : "";
}

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}
bool isSign(char c) noexcept {
    return c == '-' || c == '+';
}

unsigned clampedLength(std::size_t length) noexcept {
    return length < UINT_MAX ? static_cast<unsigned>(length) : UINT_MAX - 1;
}

} // namespace

void zarn_string::assignLong(const char* text, std::size_t length) {
    const unsigned size = clampedLength(length);
    data_ = new char[size + 1];
    capacity_ = size;
    std::memcpy(data_, text, size);
    data_[size] = '\0';
    length_ = size;
}

void zarn_string::assignNumber(int value, char fill, unsigned width, int base) {
    length_ = 0;
    local_[0] = '\0';
    if (width == 0 && base == 10) {
        // The usual case: the digits go straight into the inline storage.
        static_assert(zarn_number::maxDecimalChars <= localCapacity);
        length_ = static_cast<unsigned>(zarn_number::writeDecimal(value, local_));
        local_[length_] = '\0';
        return;
    }
    char digits[zarn_number::maxIntChars];
    const std::size_t count = zarn_number::writeInt(value, base, digits);
    if (width > count) {
        reserve(width);
        const unsigned padding = width - static_cast<unsigned>(count);
        std::memset(data_, fill == 0 ? ' ' : fill, padding);
        length_ = padding;
    }
    append(digits, static_cast<unsigned>(count));
}

zarn_string::zarn_string(zarn_string&& other) noexcept
    : data_(local_), length_(other.length_), capacity_(localCapacity) {
    if (other.isLocal()) {
        std::memcpy(local_, other.local_, other.length_ + 1);
        other.clear();
    } else {
        takeStorage(other);
    }
}

void zarn_string::takeStorage(zarn_string& other) noexcept {
    data_ = other.data_;
    capacity_ = other.capacity_;
    length_ = other.length_;
    other.data_ = other.local_;
    other.capacity_ = localCapacity;
    other.clear();
}

void zarn_string::clear() noexcept {
    length_ = 0;
    data_[0] = '\0';
}

void zarn_string::anchor() {}

void zarn_string::replace(const char* text, std::size_t length) {
    const unsigned size = clampedLength(length);
    if (size <= capacity_) {
        // memmove: the new text may be a part of this one.
        std::memmove(data_, text, size);
        data_[size] = '\0';
        length_ = size;
        return;
    }
    char* grown = new char[size + 1];
    std::memcpy(grown, text, size);
    grown[size] = '\0';
    if (!isLocal()) {
        delete[] data_;
    }
    data_ = grown;
    capacity_ = size;
    length_ = size;
}

zarn_string& zarn_string::operator=(const zarn_string& other) {
    if (this != &other) {
        replace(other.data_, other.length_);
    }
    return *this;
}

zarn_string& zarn_string::operator=(zarn_string&& other) noexcept {
    if (this == &other) {
        return *this;
    }
    if (other.isLocal() || other.length_ <= capacity_) {
        // Fits here already: copying keeps this string's own storage.
        std::memcpy(data_, other.data_, other.length_ + 1);
        length_ = other.length_;
        other.clear();
        return *this;
    }
    if (!isLocal()) {
        delete[] data_;
    }
    takeStorage(other);
    return *this;
}

zarn_string& zarn_string::operator=(const char* text) {
    const char* value = orEmpty(text);
    replace(value, std::strlen(value));
    return *this;
}

zarn_string& zarn_string::operator+=(const char* text) {
    const char* value = orEmpty(text);
    return append(value, clampedLength(std::strlen(value)));
}

zarn_string& zarn_string::append(const char* text, unsigned length) {
    if (text == nullptr || length == 0) {
        return *this;
    }
    const unsigned size = clampedLength(static_cast<std::size_t>(length_) + length);
    if (size > capacity_) {
        // Grow by at least half again, so that appending in a loop stays linear.
        const unsigned grown = size > capacity_ + capacity_ / 2 ? size : capacity_ + capacity_ / 2;
        char* storage = new char[grown + 1];
        std::memcpy(storage, data_, length_);
        // `text` may lie in the old storage: it is copied before that is freed.
        std::memcpy(storage + length_, text, size - length_);
        if (!isLocal()) {
            delete[] data_;
        }
        data_ = storage;
        capacity_ = grown;
    } else {
        std::memcpy(data_ + length_, text, size - length_);
    }
    length_ = size;
    data_[length_] = '\0';
    return *this;
}

void zarn_string::reserve(unsigned length) {
    if (length <= capacity_) {
        return;
    }
    char* storage = new char[length + 1];
    std::memcpy(storage, data_, length_ + 1);
    if (!isLocal()) {
        delete[] data_;
    }
    data_ = storage;
    capacity_ = length;
}

bool zarn_string::operator==(int value) const noexcept {
    char buffer[zarn_number::maxDecimalChars];
    const std::size_t count = zarn_number::writeDecimal(value, buffer);
    return length_ == count && std::memcmp(data_, buffer, count) == 0;
}

int zarn_string::toInt() const noexcept {
    const char* first = data_;
    const char* last = data_ + length_;
    bool negative = false;
    if (first != last && isSign(*first)) {
        negative = *first == '-';
        ++first;
    }
    int value = 0;
    return zarn_number::readDigits(first, last, negative, value) ? value : 0;
}

int zarn_string::firstInt() const noexcept {
    const char* end = data_ + length_;
    const char* first = data_;
    while (first != end && !isDigit(*first)) {
        ++first;
    }
    const char* last = first;
    while (last != end && isDigit(*last)) {
        ++last;
    }
    const bool negative = first != data_ && first[-1] == '-';
    int value = 0;
    return zarn_number::readDigits(first, last, negative, value) ? value : 0;
}

zarn_string zarn_string::arg(int value, char fill, unsigned width, int base) const {
    const zarn_string number(value, fill, width, base);
    return arg(number.data_, number.length_);
}

zarn_string zarn_string::arg(const char* text) const {
    const char* value = orEmpty(text);
    return arg(value, clampedLength(std::strlen(value)));
}

zarn_string zarn_string::arg(const zarn_string& text) const {
    return arg(text.data_, text.length_);
}

zarn_string zarn_string::arg(const char* text, unsigned length) const {
    // Find the lowest marker digit and how often it stands in the text.
    char lowest = 0;
    unsigned occurrences = 0;
    for (unsigned i = 0; i + 1 < length_; ++i) {
        if (data_[i] != '%' || !isDigit(data_[i + 1])) {
            continue;
        }
        const char digit = data_[i + 1];
        if (lowest == 0 || digit < lowest) {
            lowest = digit;
            occurrences = 1;
        } else if (digit == lowest) {
            ++occurrences;
        }
        ++i;
    }
    if (occurrences == 0) {
        return *this;
    }
    // Build the result in one allocation at the most.
    zarn_string result;
    result.reserve(clampedLength(static_cast<std::size_t>(length_) - 2 * occurrences +
                                 static_cast<std::size_t>(occurrences) * length));
    unsigned copied = 0;
    for (unsigned i = 0; i + 1 < length_; ++i) {
        if (data_[i] != '%' || !isDigit(data_[i + 1])) {
            continue;
        }
        if (data_[i + 1] == lowest) {
            result.append(data_ + copied, i - copied);
            result.append(text, length);
            copied = i + 2;
        }
        ++i;
    }
    result.append(data_ + copied, length_ - copied);
    return result;
}

int zarn_string::split(char separator, zarn_string& left, zarn_string& right) const {
    const void* found = std::memchr(data_, separator, length_);
    if (found == nullptr) {
        // Copy first: left or right may be this string.
        zarn_string whole(*this);
        right = "";
        left = static_cast<zarn_string&&>(whole);
        return -1;
    }
    const auto position = static_cast<unsigned>(static_cast<const char*>(found) - data_);
    zarn_string before(data_, position);
    zarn_string after(data_ + position + 1, length_ - position - 1);
    left = static_cast<zarn_string&&>(before);
    right = static_cast<zarn_string&&>(after);
    return static_cast<int>(position);
}

namespace {

// The two texts joined, in one allocation at the most.
zarn_string joined(const char* left, unsigned leftLength, const char* right, unsigned rightLength) {
    zarn_string result;
    result.reserve(leftLength + rightLength);
    result.append(left, leftLength);
    result.append(right, rightLength);
    return result;
}

unsigned lengthOf(const char* text) noexcept {
    return text != nullptr ? clampedLength(std::strlen(text)) : 0;
}

} // namespace

zarn_string operator+(const zarn_string& left, const zarn_string& right) {
    return joined(left.data(), left.length(), right.data(), right.length());
}

zarn_string operator+(const zarn_string& left, const char* right) {
    return joined(left.data(), left.length(), right, lengthOf(right));
}

zarn_string operator+(const char* left, const zarn_string& right) {
    return joined(left, lengthOf(left), right.data(), right.length());
}

bool operator==(const char* left, const zarn_string& right) noexcept {
    return right == left;
}
bool operator!=(const char* left, const zarn_string& right) noexcept {
    return right != left;
}
