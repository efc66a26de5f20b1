#include <zarn_string/zarn_string.h>

#include "number_text.h"

#include <cstring>

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

} // namespace

zarn_string::zarn_string() noexcept = default;

zarn_string::zarn_string(const char* text) : text_(orEmpty(text)) {}

zarn_string::zarn_string(const char* text, unsigned length)
    : text_(text != nullptr ? text : "", text != nullptr ? length : 0) {}

zarn_string::zarn_string(int value, char fill, unsigned width, int base) {
    zarn_number::appendInt(text_, value, fill, width, base);
}

zarn_string::zarn_string(const zarn_string& other) = default;
zarn_string::zarn_string(zarn_string&& other) noexcept = default;
zarn_string::~zarn_string() = default;

zarn_string& zarn_string::operator=(const zarn_string& other) = default;
zarn_string& zarn_string::operator=(zarn_string&& other) noexcept = default;

zarn_string& zarn_string::operator=(const char* text) {
    text_.assign(orEmpty(text));
    return *this;
}

zarn_string& zarn_string::operator+=(const zarn_string& other) {
    text_.append(other.text_);
    return *this;
}

zarn_string& zarn_string::operator+=(const char* text) {
    text_.append(orEmpty(text));
    return *this;
}

zarn_string& zarn_string::append(const char* text, unsigned length) {
    if (text != nullptr) {
        text_.append(text, length);
    }
    return *this;
}

void zarn_string::reserve(unsigned length) {
    if (length > text_.capacity()) {
        text_.reserve(length);
    }
}

bool zarn_string::operator==(const zarn_string& other) const noexcept {
    return text_ == other.text_;
}

bool zarn_string::operator==(const char* text) const noexcept {
    return text_.compare(orEmpty(text)) == 0;
}

bool zarn_string::operator!=(const zarn_string& other) const noexcept {
    return !(*this == other);
}
bool zarn_string::operator!=(const char* text) const noexcept {
    return !(*this == text);
}

bool zarn_string::operator==(int value) const noexcept {
    char buffer[zarn_number::maxIntChars];
    const std::size_t count = zarn_number::writeInt(value, 10, buffer);
    return text_.size() == count && std::memcmp(text_.data(), buffer, count) == 0;
}

bool zarn_string::operator!=(int value) const noexcept {
    return !(*this == value);
}

zarn_string::operator const char*() const noexcept {
    return text_.c_str();
}
const char* zarn_string::data() const noexcept {
    return text_.c_str();
}
unsigned zarn_string::length() const noexcept {
    return static_cast<unsigned>(text_.size());
}
bool zarn_string::isEmpty() const noexcept {
    return text_.empty();
}

int zarn_string::toInt() const noexcept {
    const char* first = text_.data();
    const char* last = first + text_.size();
    bool negative = false;
    if (first != last && isSign(*first)) {
        negative = *first == '-';
        ++first;
    }
    int value = 0;
    return zarn_number::readDigits(first, last, negative, value) ? value : 0;
}

int zarn_string::firstInt() const noexcept {
    const char* begin = text_.data();
    const char* end = begin + text_.size();
    const char* first = begin;
    while (first != end && !isDigit(*first)) {
        ++first;
    }
    const char* last = first;
    while (last != end && isDigit(*last)) {
        ++last;
    }
    const bool negative = first != begin && first[-1] == '-';
    int value = 0;
    return zarn_number::readDigits(first, last, negative, value) ? value : 0;
}

zarn_string zarn_string::arg(int value, char fill, unsigned width, int base) const {
    // A decimal int fits the string's inline storage: no allocation for the number.
    std::string number;
    zarn_number::appendInt(number, value, fill, width, base);
    return arg(number.data(), static_cast<unsigned>(number.size()));
}

zarn_string zarn_string::arg(const char* text) const {
    const char* value = orEmpty(text);
    return arg(value, static_cast<unsigned>(std::strlen(value)));
}

zarn_string zarn_string::arg(const zarn_string& text) const {
    return arg(text.text_.data(), static_cast<unsigned>(text.text_.size()));
}

zarn_string zarn_string::arg(const char* text, unsigned length) const {
    // Find the lowest marker digit and how often it stands in the text.
    char lowest = 0;
    std::size_t occurrences = 0;
    const std::size_t size = text_.size();
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (text_[i] != '%' || !isDigit(text_[i + 1])) {
            continue;
        }
        const char digit = text_[i + 1];
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
    result.text_.reserve(size - 2 * occurrences + occurrences * length);
    std::size_t copied = 0;
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (text_[i] != '%' || !isDigit(text_[i + 1])) {
            continue;
        }
        if (text_[i + 1] == lowest) {
            result.text_.append(text_, copied, i - copied);
            result.text_.append(text, length);
            copied = i + 2;
        }
        ++i;
    }
    result.text_.append(text_, copied, std::string::npos);
    return result;
}

int zarn_string::split(char separator, zarn_string& left, zarn_string& right) const {
    const std::size_t position = text_.find(separator);
    if (position == std::string::npos) {
        // Assign right first: left may be this string, and right may be too.
        std::string whole = text_;
        right.text_.clear();
        left.text_ = std::move(whole);
        return -1;
    }
    std::string before = text_.substr(0, position);
    std::string after = text_.substr(position + 1);
    left.text_ = std::move(before);
    right.text_ = std::move(after);
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
    return text != nullptr ? static_cast<unsigned>(std::strlen(text)) : 0;
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
