// Cutting one line of a scenario or layout file into words.
//
// Words are separated by blanks or tabs. Double quotes group a part of a word, blanks
// included: key="on air" is the one word key=on air, and "" is an empty word. Inside
// quotes \" is a quote, \\ a backslash, \n a line feed and \t a tab. A # outside quotes
// at the start of a word starts a comment, which runs to the end of the line. A line that
// holds a NUL byte is no line of words.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Tokens {
    std::vector<std::string> words;
    std::string error; // not empty when the line could not be cut
};

Tokens tokenize(const std::string& line);

// `text` in the form tokenize reads back as one word: quoted when it must be.
std::string quoteWord(const std::string& text);

// The whole of `text` as a signed 32-bit decimal number, or nothing: an optional sign and
// one or more digits, nothing else ("+7", "-12", "007"; not "", " 1", "1.5", "0x10").
std::optional<int> parseInt(std::string_view text);
