#include "layout.h"
#include "panels.h"

#include <gtest/gtest.h>

namespace {

TEST(Layout, ReadsControlsAndTheirProperties) {
    const Layout layout = parseLayout("# comment\n"
                                      "Button text=\"Dest 1\" statesheet=\"\"\n"
                                      "\n"
                                      "   Vid text=x=y   # tally\n"
                                      "Aud\n");
    ASSERT_EQ(layout.error, "");
    ASSERT_EQ(layout.controls.size(), 3u);
    EXPECT_EQ(layout.controls[0].id, "Button");
    EXPECT_EQ(*layout.controls[0].find("text"), "Dest 1");
    EXPECT_EQ(*layout.controls[0].find("statesheet"), "");
    EXPECT_EQ(*layout.controls[1].find("text"), "x=y");
    EXPECT_TRUE(layout.controls[2].properties().empty());
}

TEST(Layout, RefusesBrokenLinesWithTheirNumber) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"Button\nButton\n", "line 2: the control \"Button\" is there already"},
        {"Button text\n", "line 1: \"text\" is no property=value"},
        {"Button =x\n", "line 1: \"=x\" is no property=value"},
        {"a=b\n", "line 1: a line starts with the control's id"},
        {"\nButton text=\"open\n", "line 2: the quote opened"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseLayout(c.text).error.rfind(c.error, 0), 0u)
            << c.text << " gave: " << parseLayout(c.text).error;
    }
    EXPECT_NE(loadLayout("/nonexistent/layout.zarn_ui").error, "");
}

TEST(Panels, AnswerTheControlCommands) {
    Panels panels;
    panels.show("1", parseLayout("Button text=A\nalm_1 value=1\nalm_2\nLabel\n").controls);
    std::string reply;
    EXPECT_EQ(panels.set("1", "Button", "statesheet", "on"), Panels::Found::Yes);
    EXPECT_EQ(panels.set("2", "Button", "text", "x"), Panels::Found::NoPanel);
    EXPECT_EQ(panels.set("1", "Nothing", "text", "x"), Panels::Found::NoControl);
    EXPECT_EQ(panels.get("1", "Button", "all", reply), Panels::Found::Yes);
    EXPECT_EQ(reply, "text=A\nstatesheet=on");
    EXPECT_EQ(panels.get("1", "alm_2", "value", reply), Panels::Found::Yes);
    EXPECT_EQ(reply, "value=");
    EXPECT_EQ(panels.list("1", "alm_", reply), Panels::Found::Yes);
    EXPECT_EQ(reply, "alm_1,alm_2");
    EXPECT_EQ(panels.list("3", "", reply), Panels::Found::NoPanel);
    // Showing the panel again starts it afresh.
    panels.show("1", parseLayout("Button text=B\n").controls);
    EXPECT_EQ(*panels.control("Button")->find("text"), "B");
    EXPECT_EQ(panels.control("alm_1"), nullptr);
}

} // namespace
