#include "json.h"

#include <gtest/gtest.h>

namespace {

TEST(Json, LinesAreAlwaysValid) {
    struct Case {
        std::string text;
        const char* json;
    };
    const Case cases[] = {
        {"plain", "\"plain\""},
        {"q\"b\\", "\"q\\\"b\\\\\""},
        {"a\nb\tc\rd", "\"a\\nb\\tc\\rd\""},
        {std::string("\x01\x1f", 2), "\"\\u0001\\u001f\""},
        {"Kamera \xc3\x9c", "\"Kamera \xc3\x9c\""}, // valid UTF-8 passes
        {"\xe2\x82\xac", "\"\xe2\x82\xac\""},       // three bytes
        {"a\xff"
         "b",
         "\"a\xef\xbf\xbd"
         "b\""},                                                      // not UTF-8: U+FFFD
        {"\xc3", "\"\xef\xbf\xbd\""},                                 // cut short
        {"\xed\xa0\x80", "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""}, // a surrogate
    };
    for (const Case& c : cases) {
        EXPECT_EQ(jsonLine(c.text), c.json) << c.text;
    }
}

TEST(Json, ObjectsKeepTheOrderOfTheirKeys) {
    EXPECT_EQ(jsonLine({{"type", "x"}, {"a", 1}, {"b", true}}),
              "{\"type\":\"x\",\"a\":1,\"b\":true}");
}

} // namespace
