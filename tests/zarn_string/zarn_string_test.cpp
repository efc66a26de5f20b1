#include <zarn_string/zarn_string.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct NumberCase {
    const char* text;
    int toInt;
    int firstInt;
};

// The decimal readings side by side: toInt wants the whole text to be one number,
// firstInt takes the first number it finds.
const NumberCase numberCases[] = {
    {"", 0, 0},
    {"0", 0, 0},
    {"12", 12, 12},
    {"012", 12, 12},
    {"-3", -3, -3},
    {"+7", 7, 7},
    {"-", 0, 0},
    {"+", 0, 0},
    {"12a", 0, 12},
    {" 12", 0, 12},
    {"12 ", 0, 12},
    {"0x1F", 0, 0},
    {"17,33", 0, 17},
    {"VID 4", 0, 4},
    {"x-5", 0, -5},
    {"- 5", 0, 5},
    {"--5", 0, -5},
    {"abc", 0, 0},
    {"2147483647", 2147483647, 2147483647},
    {"-2147483648", -2147483647 - 1, -2147483647 - 1},
    // Outside the 32-bit range: the "not set" value, never an overflow.
    {"2147483648", 0, 0},
    {"-2147483649", 0, 0},
    {"99999999999999999999999", 0, 0},
    {"a99999999999 7", 0, 0},
    {"00000000000000000000042", 42, 42},
};

TEST(ZarnStringNumbers, ToIntAndFirstInt) {
    for (const NumberCase& c : numberCases) {
        const zarn_string text(c.text);
        EXPECT_EQ(text.toInt(), c.toInt) << "toInt of \"" << c.text << "\"";
        EXPECT_EQ(text.firstInt(), c.firstInt) << "firstInt of \"" << c.text << "\"";
    }
}

TEST(ZarnStringNumbers, IntConstructorAndComparison) {
    struct Case {
        int value;
        char fill;
        unsigned width;
        int base;
        const char* text;
    };
    const Case cases[] = {
        {1, 0, 0, 10, "1"},
        {4, 0, 0, 10, "4"},
        {0, 0, 0, 10, "0"},
        {-42, 0, 0, 10, "-42"},
        {2147483647, 0, 0, 10, "2147483647"},
        {-2147483647 - 1, 0, 0, 10, "-2147483648"},
        {7, '0', 3, 10, "007"},
        {7, 0, 3, 10, "  7"},
        {255, 0, 0, 16, "ff"},
        {71, 0, 0, 36, "1z"},
        {-35, 0, 0, 36, "-z"},
        {5, 0, 0, 2, "101"},
        {12, 0, 0, 99, "12"},
        {123, '0', 2, 10, "123"},
    };
    for (const Case& c : cases) {
        const zarn_string text(c.value, c.fill, c.width, c.base);
        EXPECT_STREQ(text, c.text) << c.value;
        if (c.fill == 0 && c.width == 0 && c.base == 10) {
            EXPECT_TRUE(text == c.value) << c.text;
        }
    }
    // == with an int wants the plain decimal form, nothing else.
    EXPECT_TRUE(zarn_string("1") == 1);
    EXPECT_FALSE(zarn_string("01") == 1);
    EXPECT_FALSE(zarn_string("+1") == 1);
    EXPECT_FALSE(zarn_string(" 1") == 1);
    EXPECT_FALSE(zarn_string("") == 0);
    EXPECT_FALSE(zarn_string("-0") == 0);
    EXPECT_TRUE(zarn_string("2") != 1);
}

TEST(ZarnStringArg, ReplacesTheLowestMarkerStillPresent) {
    struct Case {
        const char* format;
        const char* argument;
        const char* result;
    };
    const Case cases[] = {
        {"%1=%2", "key", "key=%2"},
        {"%2 %1", "a", "%2 a"},
        {"%1 and %1", "x", "x and x"},
        {"no marker", "a", "no marker"},
        {"", "a", ""},
        {"%", "a", "%"},
        {"100%", "a", "100%"},
        {"%%1", "a", "%a"},
        {"%12", "a", "a2"},
        {"%0 %1", "z", "z %1"},
        {"%9%3%5", "-", "%9-%5"},
        // The argument goes in as it is and is not searched for markers.
        {"%1 %2", "%2", "%2 %2"},
        {"%1", "", ""},
        {"a%1b", "it's", "ait'sb"},
    };
    for (const Case& c : cases) {
        const zarn_string format(c.format);
        EXPECT_STREQ(format.arg(c.argument), c.result) << c.format << " with " << c.argument;
        EXPECT_STREQ(format.arg(zarn_string(c.argument)), c.result) << c.format;
        EXPECT_STREQ(format, c.format) << "arg changed its string";
    }
    EXPECT_STREQ(zarn_string("RN %1 %2 %3").arg(7).arg(1).arg(-12), "RN 7 1 -12");
    EXPECT_STREQ(zarn_string("%1").arg(5, '0', 4, 10), "0005");
    EXPECT_STREQ(zarn_string("%1").arg(static_cast<const char*>(nullptr)), "");
}

TEST(ZarnStringSplit, CutsAtTheFirstSeparator) {
    struct Case {
        const char* text;
        char separator;
        const char* left;
        const char* right;
        int result;
    };
    const Case cases[] = {
        {"17,33", ',', "17", "33", 2},
        {"17", ',', "17", "", -1},
        {",33", ',', "", "33", 0},
        {"17,", ',', "17", "", 2},
        {"", ',', "", "", -1},
        {"a,b,c", ',', "a", "b,c", 1},
        {"value=3=4", '=', "value", "3=4", 5},
    };
    for (const Case& c : cases) {
        zarn_string left("old left");
        zarn_string right("old right");
        EXPECT_EQ(zarn_string(c.text).split(c.separator, left, right), c.result) << c.text;
        EXPECT_STREQ(left, c.left) << c.text;
        EXPECT_STREQ(right, c.right) << c.text;
    }
}

TEST(ZarnStringSplit, IntoItself) {
    zarn_string text("17,33");
    zarn_string right;
    text.split(',', text, right);
    EXPECT_STREQ(text, "17");
    EXPECT_STREQ(right, "33");

    zarn_string whole("abc");
    zarn_string left;
    whole.split(',', left, whole);
    EXPECT_STREQ(left, "abc");
    EXPECT_STREQ(whole, "");
}

TEST(ZarnStringValue, CopiesAreIndependentAndConcatenationJoins) {
    zarn_string original("TP '");
    zarn_string copy(original);
    copy += "text";
    EXPECT_STREQ(original, "TP '");
    EXPECT_STREQ(copy, "TP 'text");

    zarn_string assigned;
    assigned = copy;
    assigned = "other";
    EXPECT_STREQ(copy, "TP 'text");

    const zarn_string joined = zarn_string("RU ") + "7" + zarn_string("|") + zarn_string("x");
    EXPECT_STREQ(joined, "RU 7|x");
    EXPECT_STREQ("<" + zarn_string("a"), "<a");
    EXPECT_EQ(joined.length(), 6u);

    // A long text, past any inline storage.
    const std::string longText(1000, 'x');
    zarn_string big(longText.c_str());
    big += big;
    EXPECT_EQ(big.length(), 2000u);

    EXPECT_STREQ(zarn_string(static_cast<const char*>(nullptr)), "");
    zarn_string reset("x");
    reset = static_cast<const char*>(nullptr);
    EXPECT_TRUE(reset.isEmpty());
}

TEST(ZarnStringValue, ComparisonIsExactAndCaseSensitive) {
    const zarn_string text("return");
    EXPECT_TRUE(text == "return");
    EXPECT_TRUE("return" == text);
    EXPECT_FALSE(text == "Return");
    EXPECT_FALSE(text == "return ");
    EXPECT_TRUE(text != zarn_string("retur"));
    EXPECT_TRUE(text == zarn_string("return"));
    EXPECT_FALSE(zarn_string("") == "x");
    EXPECT_TRUE(zarn_string("") == static_cast<const char*>(nullptr));
}

} // namespace

namespace {

// Texts either side of the inline storage (23 characters), where a string moves between
// its own storage and the heap.
TEST(ZarnStringStorage, CopiesMovesAndAppendsAcrossTheInlineLimit) {
    for (const std::size_t length : {0u, 1u, 7u, 8u, 15u, 16u, 22u, 23u, 24u, 31u, 32u, 100u}) {
        const std::string text(length, 'a');
        std::string expected = text;
        for (std::size_t i = 0; i < length; ++i) {
            expected[i] = static_cast<char>('a' + i % 26);
        }
        const zarn_string original(expected.c_str());
        ASSERT_EQ(original.length(), length);
        ASSERT_STREQ(original, expected.c_str());

        zarn_string copy(original);
        zarn_string moved(std::move(copy));
        EXPECT_STREQ(moved, expected.c_str()) << length;
        EXPECT_EQ(copy.length(), 0u) << "a moved-from string is empty";
        copy = "reused";
        EXPECT_STREQ(copy, "reused");

        zarn_string target("a longer text than the inline storage holds");
        target = std::move(moved);
        EXPECT_STREQ(target, expected.c_str()) << length;
        EXPECT_EQ(moved.length(), 0u) << "a string moved from by assignment is empty";
        zarn_string small("s");
        zarn_string source(expected.c_str());
        small = std::move(source);
        EXPECT_STREQ(small, expected.c_str()) << length;
        EXPECT_STREQ(source, "") << "moved into a string with less room, at " << length;
        const zarn_string& same = target;
        target = same; // self-assignment keeps the text
        EXPECT_STREQ(target, expected.c_str()) << length;

        zarn_string doubled(original);
        doubled += doubled; // appending a string to itself
        EXPECT_EQ(std::string(doubled), expected + expected) << length;
        zarn_string grown;
        for (char c : expected) {
            grown.append(&c, 1);
        }
        EXPECT_STREQ(grown, expected.c_str()) << length;
        if (length > 1) {
            zarn_string tail(original);
            tail = tail.data() + 1; // assigning a part of itself
            EXPECT_STREQ(tail, expected.c_str() + 1) << length;
        }
    }
}

TEST(ZarnStringStorage, WideNumbersAndReserve) {
    EXPECT_STREQ(zarn_string(-5, '*', 30, 10), (std::string(28, '*') + "-5").c_str());
    EXPECT_STREQ(zarn_string(-2147483647 - 1, 0, 0, 2), "-10000000000000000000000000000000");
    zarn_string reserved("abc");
    reserved.reserve(1000);
    EXPECT_STREQ(reserved, "abc");
    reserved.reserve(2);
    EXPECT_STREQ(reserved, "abc");
}

} // namespace
