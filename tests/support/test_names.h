// Readable names for the rows of parameterised tests.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

// A test name made of the letters and digits of `text`, anything else as '_'.
inline std::string testName(const std::string& text) {
    std::string name;
    for (char ch : text) {
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    }
    return name;
}

// Names each row of a parameterised test after its `name` member.
struct NameOfCase {
    template <typename Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        return testName(info.param.name);
    }
};
