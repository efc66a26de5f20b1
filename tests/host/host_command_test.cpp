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
        EXPECT_EQ(parsed.command->word, std::string(c.text).substr(0, 2));
        EXPECT_EQ(parsed.command->fields, c.fields) << c.text;
        EXPECT_EQ(parsed.command->numbers, c.numbers) << c.text;
        EXPECT_EQ(parsed.command->add, c.add) << c.text;
    }
}

TEST(HostCommandText, RefusesWhatIsNoCommand) {
    for (const char* text : {"", "XX 1", "TP", "TP 'a' '1'", "TP a b c", "TG '1' 'c'", "HN select",
                             "RN 7 1", "RN 7 1 x", "RN 7 1 12 13", "RU", "RU 99999999999", "ET 1.5",
                             "AS 1", "RR 1 2 3 ADD", "RP 1 2 3 'ADD'", "tp 'a=b' '1' 'c'"}) {
        const ParsedHostCommand parsed = parseHostCommand(text);
        EXPECT_FALSE(parsed.command) << text;
        EXPECT_FALSE(parsed.error.empty()) << text;
    }
}

} // namespace
