#include "host_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CommandCase {
    const char* text;
    std::vector<std::string> fields;
    std::vector<int> numbers;
    bool add;
};

TEST(HostCommandText, ReadsEveryCommandTheBaseSends) {
    const CommandCase cases[] = {
        {"TP 'text=CAM 1' '1' 'Vid'", {"text=CAM 1", "1", "Vid"}, {}, false},
        // Quotes and separators inside the free field (the value) stay in it.
        {"TP 'stylesheet=a' 'b'=c' '1' 'Button'",
         {"stylesheet=a' 'b'=c", "1", "Button"},
         {},
         false},
        {"TP '=' '' ''", {"=", "", ""}, {}, false},
        {"TG '1' 'alm_3' 'value'", {"1", "alm_3", "value"}, {}, false},
        {"PS '1' 'p/ry_dest.zarn_ui'", {"1", "p/ry_dest.zarn_ui"}, {}, false},
        {"PS '1' 'f' 'extra'", {"1", "f", "extra"}, {}, false},
        {"HN 'select=12'", {"select=12"}, {}, false},
        {"HN 'a' 'b'", {"a' 'b"}, {}, false},
        // A free field in the middle takes every piece that is not the others'.
        {"TG '1' 'c' 'a' 'b' 'value'", {"1", "c", "a' 'b' 'value"}, {}, false},
        {"PS '1' 'a' 'b' 'c' 'd' 'x'", {"1", "a' 'b' 'c' 'd", "x"}, {}, false},
        {"XI '1' 'a' 'b' 'c'", {"1", "a' 'b' 'c"}, {}, false},
        {"RR +2 007 33", {}, {2, 7, 33}, false},
        {"XI '1' 'alm_'", {"1", "alm_"}, {}, false},
        {"RN 7 1 12", {}, {7, 1, 12}, false},
        {"RR 2 33 33", {}, {2, 33, 33}, false},
        {"RR -2147483648 -2147483648 -2147483648 'ADD'",
         {},
         {-2147483647 - 1, -2147483647 - 1, -2147483647 - 1},
         true},
        {"RU -1", {}, {-1}, false},
        {"RP 1 17 17", {}, {1, 17, 17}, false},
        {"ET 0", {}, {0}, false},
        {"AS", {}, {}, false},
    };
    for (const CommandCase& c : cases) {
        const ParsedHostCommand parsed = parseHostCommand(c.text);
        ASSERT_TRUE(parsed.command) << c.text << ": " << parsed.error;
        const HostCommand& command = *parsed.command;
        EXPECT_EQ(command.word, std::string(c.text).substr(0, 2));
        const std::vector<std::string> fields(command.fields.begin(),
                                              command.fields.begin() + command.fieldCount);
        EXPECT_EQ(fields, c.fields) << c.text;
        const std::vector<int> numbers(command.numbers.begin(),
                                       command.numbers.begin() + command.numberCount);
        EXPECT_EQ(numbers, c.numbers) << c.text;
        EXPECT_EQ(command.add, c.add) << c.text;
    }
}

TEST(HostCommandText, RefusesWhatIsNoCommand) {
    for (const char* text : {"",
                             "XX 1",
                             "TP",
                             "TP 'a' '1'",
                             "TP a b c",
                             "TG '1' 'c'",
                             "HN select",
                             "RN 7 1",
                             "RN 7 1 x",
                             "RN 7 1 12 13",
                             "RU",
                             "RU 99999999999",
                             "ET 1.5",
                             "AS 1",
                             "RR 1 2 3 ADD",
                             "RP 1 2 3 'ADD'",
                             "tp 'a=b' '1' 'c'",
                             "RR 1  2 3",
                             "RU 1 ",
                             "RU  1",
                             "RU -",
                             "TP 'a=b' '1' 'c",
                             "TP'a=b' '1' 'c'",
                             "RR 1 2 3 4"}) {
        const ParsedHostCommand parsed = parseHostCommand(text);
        EXPECT_FALSE(parsed.command) << text;
        EXPECT_FALSE(parsed.error.empty()) << text;
    }
}

} // namespace
