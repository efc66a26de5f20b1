#include "json.h"

#include <gtest/gtest.h>

namespace {

TEST(Json, StringsAreAlwaysValid) {
    struct Case {
        std::string text;
        const char* json;
    };
    const Case cases[] = {
        {"plain", "\"plain\""},
        {"q\"b\\", "\"q\\\"b\\\\\""},
        {"a\nb\tc\rd", "\"a\\nb\\tc\\rd\""},
        {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
        {"Kamera \xc3\x9c", "\"Kamera \xc3\x9c\""},    // valid UTF-8 passes
        {"\xe2\x82\xac", "\"\xe2\x82\xac\""},          // three bytes
        {"\xff", "\"\\u00ff\""},                       // not UTF-8
        {"\xc3", "\"\\u00c3\""},                       // cut short
        {"\xc0\xaf", "\"\\u00c0\\u00af\""},            // overlong
        {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""}, // a surrogate
    };
    for (const Case& c : cases) {
        EXPECT_EQ(jsonString(c.text), c.json);
    }
}

TEST(Json, ObjectsAndArrays) {
    EXPECT_EQ(JsonObject().add("a", 1).add("b", "x").add("c", true).addRaw("d", "[]").str(),
              "{\"a\":1,\"b\":\"x\",\"c\":true,\"d\":[]}");
    EXPECT_EQ(jsonArray({"1", "{}"}), "[1,{}]");
    EXPECT_EQ(JsonObject().str(), "{}");
}

} // namespace
