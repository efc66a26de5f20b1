// The string library on arbitrary bytes: numbers against a plain reference, split, arg,
// and a list cut and joined back.
#include "fuzz_check.h"

#include <zarn_string/zarn_stringlist.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

namespace {

// The value of digits [first, last) with a sign, or nothing outside the int range.
bool reference(const std::string& digits, bool negative, long long& value) {
    value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > 1LL + INT_MAX) {
            return false;
        }
    }
    value = negative ? -value : value;
    return value >= INT_MIN && value <= INT_MAX;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int referenceToInt(const std::string& text) {
    std::size_t start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (start == text.size()) {
        return 0;
    }
    for (std::size_t i = start; i < text.size(); ++i) {
        if (!isDigit(text[i])) {
            return 0;
        }
    }
    long long value = 0;
    return reference(text.substr(start), start == 1 && text[0] == '-', value)
               ? static_cast<int>(value)
               : 0;
}

int referenceFirstInt(const std::string& text) {
    std::size_t first = 0;
    while (first < text.size() && !isDigit(text[first])) {
        ++first;
    }
    std::size_t last = first;
    while (last < text.size() && isDigit(text[last])) {
        ++last;
    }
    if (first == last) {
        return 0;
    }
    long long value = 0;
    const bool negative = first > 0 && text[first - 1] == '-';
    return reference(text.substr(first, last - first), negative, value) ? static_cast<int>(value)
                                                                        : 0;
}

std::size_t lowestMarkerCount(const std::string& text, char& lowest) {
    lowest = 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && isDigit(text[i + 1])) {
            if (lowest == 0 || text[i + 1] < lowest) {
                lowest = text[i + 1];
                count = 1;
            } else if (text[i + 1] == lowest) {
                ++count;
            }
            ++i;
        }
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char separator = static_cast<char>(data[0] == 0 ? ',' : data[0]);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string text = bytes.c_str();
    const std::size_t half = text.size() / 2;
    const zarn_string whole(text.c_str());
    FUZZ_CHECK(whole.length() == text.size(), "length");

    FUZZ_CHECK(whole.toInt() == referenceToInt(text), "toInt");
    FUZZ_CHECK(whole.firstInt() == referenceFirstInt(text), "firstInt");
    const int number = whole.toInt();
    FUZZ_CHECK((whole == number) == (text == std::to_string(number)), "== with an int");
    FUZZ_CHECK(zarn_string(number, 0, 0, 10) == number, "an int written and compared");

    zarn_string left("x");
    zarn_string right("y");
    const int position = whole.split(separator, left, right);
    const std::size_t found = text.find(separator);
    if (found == std::string::npos) {
        FUZZ_CHECK(position == -1 && left == whole && right.length() == 0, "split without");
    } else {
        FUZZ_CHECK(position == static_cast<int>(found), "split position");
        FUZZ_CHECK(std::string(left) + separator + std::string(right) == text, "split parts");
    }

    // The first half as a format, the second as its argument.
    const std::string format = text.substr(0, half);
    const std::string argument = text.substr(half);
    char lowest = 0;
    const std::size_t markers = lowestMarkerCount(format, lowest);
    const zarn_string filled = zarn_string(format.c_str()).arg(argument.c_str());
    FUZZ_CHECK(filled.length() == format.size() - 2 * markers + markers * argument.size(),
               "arg replaces each lowest marker");
    if (markers == 0) {
        FUZZ_CHECK(std::string(filled) == format, "arg without a marker");
    }
    (void)zarn_string(format.c_str())
        .arg(number, separator, static_cast<unsigned>(half % 64), static_cast<int>(data[0] % 40));

    const zarn_stringlist list(whole, separator);
    FUZZ_CHECK(std::string(list.toString(separator)) == text, "a list cut and joined back");
    std::size_t items = 0;
    for (const zarn_string& item : list) {
        FUZZ_CHECK(std::string(item).find(separator) == std::string::npos, "items hold no cut");
        ++items;
    }
    FUZZ_CHECK(items == list.count(), "iteration visits every item");
    const auto separators =
        static_cast<std::size_t>(std::count(text.begin(), text.end(), separator));
    FUZZ_CHECK(text.empty() ? items == 0 : items == 1 + separators,
               "one item more than separators");
    return 0;
}
