#include "tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Tokens, CutsWordsAndQuotes) {
    struct Case {
        const char* line;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"route 1 17 3", {"route", "1", "17", "3"}},
        {"  \tsend  a\tb  ", {"send", "a", "b"}},
        {"source 1 1 \"CAM 1\"", {"source", "1", "1", "CAM 1"}},
        {"place d key=\"on air\" x=\"\"", {"place", "d", "key=on air", "x="}},
        {"\"\"", {""}},
        {"a \"q\\\"uote\" \"b\\\\s\" \"l\\nf\"", {"a", "q\"uote", "b\\s", "l\nf"}},
        {"# a comment", {}},
        {"send a b # and a comment", {"send", "a", "b"}},
        {"send a#b", {"send", "a#b"}},
        {"send \"#not a comment\"", {"send", "#not a comment"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        const Tokens tokens = tokenize(c.line);
        EXPECT_EQ(tokens.error, "") << c.line;
        EXPECT_EQ(tokens.words, c.words) << c.line;
        // What quoteWord writes reads back as the same word.
        for (const std::string& word : c.words) {
            const Tokens again = tokenize(quoteWord(word));
            ASSERT_EQ(again.words.size(), 1u) << word;
            EXPECT_EQ(again.words[0], word);
        }
    }
}

TEST(Tokens, ReportsBrokenQuotes) {
    for (const char* line : {"a \"open", "a \"bad \\q escape\"", "a \"trailing\\"}) {
        EXPECT_NE(tokenize(line).error, "") << line;
    }
}

TEST(Tokens, ParseIntTakesOnlyWhole32BitNumbers) {
    EXPECT_EQ(parseInt("17"), 17);
    EXPECT_EQ(parseInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(parseInt("+5"), 5);
    for (const char* text : {"", " 1", "1 ", "1x", "2147483648", "0x10", "1.0", "-"}) {
        EXPECT_EQ(parseInt(text), std::nullopt) << text;
    }
}

} // namespace
