#include <zarn_string/zarn_stringlist.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> items(const zarn_stringlist& list) {
    std::vector<std::string> found;
    for (const zarn_string& item : list) {
        found.emplace_back(item);
    }
    return found;
}

TEST(ZarnStringList, CutsAtEverySeparatorAndJoinsBack) {
    struct Case {
        const char* text;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"alm_1,alm_2", {"alm_1", "alm_2"}},
        {"a,,b,", {"a", "", "b", ""}},
        {",", {"", ""}},
        {"abc", {"abc"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        const zarn_stringlist list(zarn_string(c.text), ',');
        EXPECT_EQ(items(list), c.items) << c.text;
        EXPECT_EQ(list.count(), c.items.size()) << c.text;
        EXPECT_STREQ(list.toString(','), c.text) << "cut and joined again";
    }
}

TEST(ZarnStringList, AppendsInOrderAndCopiesAreIndependent) {
    zarn_stringlist list;
    EXPECT_STREQ(list.toString('\n'), "");
    list << "destination_id=0" << zarn_string("buttonaction=release");
    zarn_stringlist copy(list);
    copy << "extra";
    EXPECT_STREQ(list.toString('\n'), "destination_id=0\nbuttonaction=release");
    EXPECT_EQ(items(copy),
              (std::vector<std::string>{"destination_id=0", "buttonaction=release", "extra"}));

    zarn_stringlistIterator it = list.begin();
    EXPECT_STREQ(*it, "destination_id=0");
    ++it;
    EXPECT_TRUE(it != list.end());
    ++it;
    EXPECT_FALSE(it != list.end());
}

} // namespace
