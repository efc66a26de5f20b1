#include "../support/test_names.h"
#include <zarn_script_helper/parsed_command.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string fullStops(int count, const std::string& tail) {
    std::string text = "key";
    for (int i = 1; i <= count; ++i) {
        text += "." + std::to_string(i);
    }
    return text + tail;
}

std::vector<std::string> numbered(int count) {
    std::vector<std::string> parts;
    for (int i = 1; i <= count; ++i) {
        parts.push_back(std::to_string(i));
    }
    return parts;
}

struct ParseCase {
    std::string name;
    std::optional<std::string> text; // nullopt: a null text
    std::string command;
    std::vector<std::string> subParts;
    std::string value;
    bool hasValue;
};

std::vector<ParseCase> parseCases() {
    std::vector<std::string> thirtyThree = numbered(31);
    thirtyThree.push_back("32.33=9");
    std::vector<std::string> thirtyTwoWithValue = numbered(31);
    thirtyTwoWithValue.push_back("32=v");
    return {
        {"key and value", "destination_id=12", "destination_id", {}, "12", true},
        {"sub-parts and a value with a full stop", "name.a.b=1.5", "name", {"a", "b"}, "1.5", true},
        {"starts with =", "=rest", "", {}, "rest", true},
        {"no separator", "destination_id", "destination_id", {}, "", false},
        {"ends in a full stop", "key.a.", "key", {"a", ""}, "", false},
        {"further = belong to the value", "k=a=b.c", "k", {}, "a=b.c", true},
        {"empty value", "k=", "k", {}, "", true},
        {"only a full stop", ".", "", {""}, "", false},
        {"empty text", "", "", {}, "", false},
        {"null text", std::nullopt, "", {}, "", false},
        {"31 full stops then a value", fullStops(31, "=v"), "key", numbered(31), "v", true},
        // The 32nd full stop sets the last sub-part and ends the scan: its "=" is no value.
        {"32 full stops then =", fullStops(32, "=v"), "key", thirtyTwoWithValue, "", false},
        {"33 full stops", fullStops(33, "=9"), "key", thirtyThree, "", false},
    };
}

class ParsedCommandParse : public testing::TestWithParam<ParseCase> {};

TEST_P(ParsedCommandParse, SplitsInPlace) {
    const ParseCase& c = GetParam();
    const OwnedParsedCommand owned(c.text ? c.text->c_str() : nullptr);
    const ParsedCommand& parsed = owned.record();

    EXPECT_STREQ(parsed.command, c.command.c_str());
    ASSERT_EQ(parsed.subPartCount, static_cast<int>(c.subParts.size()));
    for (std::size_t i = 0; i < c.subParts.size(); ++i) {
        EXPECT_STREQ(parsed.subParts[i], c.subParts[i].c_str()) << "sub-part " << i;
    }
    EXPECT_STREQ(parsed.value, c.value.c_str());
    EXPECT_EQ(parsed.hasValue, c.hasValue);

    // Every text points into the record's own copy or at the one shared empty text.
    const bool empty = !c.text || c.text->empty();
    EXPECT_EQ(parsed.buffer == nullptr, empty);
    const char* begin = parsed.buffer;
    const char* end = empty ? nullptr : parsed.buffer + c.text->size() + 1;
    auto ownedOrShared = [&](const char* p) {
        return p == parsedCommandEmptyText() || (begin != nullptr && p >= begin && p < end);
    };
    EXPECT_TRUE(ownedOrShared(parsed.command));
    EXPECT_TRUE(ownedOrShared(parsed.value));
    for (const char* part : parsed.subParts) {
        EXPECT_TRUE(ownedOrShared(part));
    }
    for (int i = parsed.subPartCount; i < ParsedCommand::maxSubParts; ++i) {
        EXPECT_EQ(parsed.subParts[i], parsedCommandEmptyText()) << "unset sub-part " << i;
    }
    if (c.text && !c.text->empty()) {
        EXPECT_NE(parsed.buffer, c.text->c_str()) << "the record must parse its own copy";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ParsedCommandParse, testing::ValuesIn(parseCases()), NameOfCase());

TEST(ParsedCommand, LeavesTheCallersTextAlone) {
    const char text[] = "a.b=c";
    const OwnedParsedCommand parsed(text);
    EXPECT_STREQ(text, "a.b=c");
    EXPECT_STREQ(parsed.record().command, "a");
}

TEST(ParsedCommand, ClearedRecordIsEmpty) {
    ParsedCommand parsed;
    clearParsedCommand(parsed);
    EXPECT_EQ(parsed.command, parsedCommandEmptyText());
    EXPECT_EQ(parsed.value, parsedCommandEmptyText());
    EXPECT_EQ(parsed.subPartCount, 0);
    EXPECT_FALSE(parsed.hasValue);
    EXPECT_EQ(parsed.buffer, nullptr);
}

} // namespace
