#include "../support/debug_capture.h"
#include "../support/probe_component.h"
#include "../support/recording_host.h"
#include "../support/test_names.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using Probe = testing::NiceMock<ProbeComponent>;
using Event = RecordingHost::Event;

constexpr int intMin = std::numeric_limits<int>::min();
constexpr int intMax = std::numeric_limits<int>::max();

struct SentCase {
    const char* name;
    const char* instancePath;
    std::function<void(Probe&)> call;
    const char* sent;
};

// Each operation's exact text.
const SentCase sentCases[] = {
    {"textPut", "", [](Probe& p) { p.textPut("text", "CAM 1", "1", "Vid"); },
     "TP 'text=CAM 1' '1' 'Vid'"},
    {"textPut sends quotes and separators unescaped", "",
     [](Probe& p) { p.textPut("stylesheet", "a='b'=c.d", "1", "Button"); },
     "TP 'stylesheet=a='b'=c.d' '1' 'Button'"},
    {"textPut with empty fields", "", [](Probe& p) { p.textPut("", "", "", ""); }, "TP '=' '' ''"},
    {"textGet", "",
     [](Probe& p) {
         zarn_string result;
         p.textGet("value", "1", "alm_3", result);
     },
     "TG '1' 'alm_3' 'value'"},
    {"panelShow without a path", "", [](Probe& p) { p.panelShow("1", "ry_dest.zarn_ui", ""); },
     "PS '1' 'ry_dest.zarn_ui'"},
    {"panelShow with a path", "studio/a", [](Probe& p) { p.panelShow("1", "ry_dest.zarn_ui", ""); },
     "PS '1' 'studio/a/ry_dest.zarn_ui'"},
    {"panelShow doubles a trailing /", "studio/a/",
     [](Probe& p) { p.panelShow("1", "f.zarn_ui", ""); }, "PS '1' 'studio/a//f.zarn_ui'"},
    {"panelShow with an extra", "p", [](Probe& p) { p.panelShow("2", "f", "x y"); },
     "PS '2' 'p/f' 'x y'"},
    {"hostNotify", "", [](Probe& p) { p.hostNotify("select=12"); }, "HN 'select=12'"},
    {"controlList", "", [](Probe& p) { p.controlList("1", "alm_"); }, "XI '1' 'alm_'"},
    {"controlList puts a marker in as it is", "", [](Probe& p) { p.controlList("%2", "%1"); },
     "XI '%2' '%1'"},
    {"routerName", "",
     [](Probe& p) {
         zarn_string result;
         p.routerName(7, 1, 12, result);
     },
     "RN 7 1 12"},
    {"routerName with extreme numbers", "",
     [](Probe& p) {
         zarn_string result;
         p.routerName(intMin, 0, intMax, result);
     },
     "RN -2147483648 0 2147483647"},
    {"routerRegister", "", [](Probe& p) { p.routerRegister(2, 33, 33, false); }, "RR 2 33 33"},
    {"routerRegister with ADD", "", [](Probe& p) { p.routerRegister(2, 33, 40, true); },
     "RR 2 33 40 'ADD'"},
    {"routerRegister never cuts its text", "",
     [](Probe& p) { p.routerRegister(intMin, intMin, intMin, true); },
     "RR -2147483648 -2147483648 -2147483648 'ADD'"},
    {"routerRegister at the largest int", "",
     [](Probe& p) { p.routerRegister(intMax, intMax, intMax, true); },
     "RR 2147483647 2147483647 2147483647 'ADD'"},
    {"routerUnregister", "", [](Probe& p) { p.routerUnregister(-1); }, "RU -1"},
    {"routerPoll", "", [](Probe& p) { p.routerPoll(1, 17, 17); }, "RP 1 17 17"},
    {"routerPoll never cuts its text", "", [](Probe& p) { p.routerPoll(intMin, intMin, intMin); },
     "RP -2147483648 -2147483648 -2147483648"},
    {"timerStop", "", [](Probe& p) { p.timerStop(-3); }, "ET -3"},
    {"detachFromHost", "", [](Probe& p) { p.detachFromHost(); }, "AS"},
};

class HostCommandText : public testing::TestWithParam<SentCase> {};

TEST_P(HostCommandText, IsSentExactlyOnce) {
    const SentCase& c = GetParam();
    RecordingHost host;
    Probe probe(&host, c.instancePath);
    c.call(probe);
    EXPECT_THAT(host.commands(), ElementsAre(c.sent));
    host.clearRecord(); // the destructor's "AS" is not this case's
}

INSTANTIATE_TEST_SUITE_P(Table, HostCommandText, testing::ValuesIn(sentCases), NameOfCase());

TEST(HostCommands, NoHostSendsNothingAndGivesTheFixedResults) {
    DebugCapture debug;
    Probe probe(nullptr, "path");
    for (const SentCase& c : sentCases) {
        c.call(probe); // must not fail or touch a host
    }
    zarn_string text("kept");
    probe.textGet("value", "1", "c", text);
    EXPECT_STREQ(text, "");
    zarn_string name("kept");
    probe.routerName(1, 1, 1, name);
    EXPECT_STREQ(name, "kept");
    EXPECT_TRUE(probe.panelShow("1", "f", ""));
    EXPECT_EQ(probe.controlList("1", "alm_").count(), 0u);
    probe.debugLog("still %1", "written");
    EXPECT_THAT(debug.lines(), ElementsAre("still written"));
}

struct TextGetCase {
    const char* name;
    const char* property;
    std::optional<std::string> reply;
    const char* result;
    std::vector<std::string> debugLines;
};

const char* const mismatchLine =
    "textGet: value returned \"Value\" was not the value requested \"value\" (value returned "
    "was \"Value=3\" from control \"alm_1\", on panel \"1\")";

const TextGetCase textGetCases[] = {
    {"value of the property", "value", "value=3", "3", {}},
    {"value keeps further =", "value", "value=a=b", "a=b", {}},
    {"all gives the whole reply", "all", "value=3\nalarm=ack", "value=3\nalarm=ack", {}},
    {"all gives any reply", "all", "no equals sign", "no equals sign", {}},
    {"null reply", "value", std::nullopt, "", {}},
    {"name differing in case", "value", "Value=3", "", {mismatchLine}},
    {"reply without =", "value", "value", "", {}},
    {"reply naming nothing",
     "value",
     "=5",
     "",
     {"textGet: value returned \"\" was not the value requested \"value\" (value returned was "
      "\"=5\" from control \"alm_1\", on panel \"1\")"}},
    // What the host says goes into the line as it is: its markers are not filled.
    {"reply holding markers",
     "value",
     "%3%1=%2",
     "",
     {"textGet: value returned \"%3%1\" was not the value requested \"value\" (value "
      "returned was \"%3%1=%2\" from control \"alm_1\", on panel \"1\")"}},
};

class TextGetReply : public testing::TestWithParam<TextGetCase> {};

TEST_P(TextGetReply, IsReadAndGivenBack) {
    const TextGetCase& c = GetParam();
    RecordingHost host;
    const std::string command = std::string("TG '1' 'alm_1' '") + c.property + "'";
    host.answer(command, c.reply);
    DebugCapture debug;
    {
        Probe probe(&host, "");
        zarn_string result("old");
        probe.textGet(c.property, "1", "alm_1", result);
        EXPECT_STREQ(result, c.result);
    }
    EXPECT_EQ(debug.lines(), c.debugLines);
    if (c.reply) {
        // Copied first, given back at once, before anything else is sent.
        EXPECT_THAT(host.events(),
                    ElementsAre(Event{0, command}, Event{5, *c.reply}, Event{0, "AS"}));
    } else {
        EXPECT_THAT(host.events(), ElementsAre(Event{0, command}, Event{0, "AS"}));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, TextGetReply, testing::ValuesIn(textGetCases), NameOfCase());

TEST(HostCommands, ControlListCutsTheReplyAndGivesItBack) {
    struct Case {
        std::optional<std::string> reply;
        std::vector<std::string> items;
        bool givenBack;
    };
    const Case cases[] = {
        {"alm_1,alm_2,alm_x", {"alm_1", "alm_2", "alm_x"}, true},
        {"alm_1", {"alm_1"}, true},
        {"", {}, true},
        {std::nullopt, {}, false},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        host.answer("XI '1' 'alm_'", c.reply);
        Probe probe(&host, "");
        std::vector<std::string> items;
        for (const zarn_string& item : probe.controlList("1", "alm_")) {
            items.emplace_back(item);
        }
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(host.events().size(), c.givenBack ? 2u : 1u);
    }
}

TEST(HostCommands, RouterNameCopiesTheReplyAndGivesBackEvenNull) {
    RecordingHost host;
    host.answer("RN 7 1 12", "Studio 12");
    host.answer("RN 7 1 13", std::nullopt);
    Probe probe(&host, "");
    zarn_string name("old");
    probe.routerName(7, 1, 12, name);
    EXPECT_STREQ(name, "Studio 12");
    probe.routerName(7, 1, 13, name);
    EXPECT_STREQ(name, "Studio 12") << "a null reply leaves the result as it was";
    EXPECT_THAT(host.events(), ElementsAre(Event{0, "RN 7 1 12"}, Event{5, "Studio 12"},
                                           Event{0, "RN 7 1 13"}, Event{5, "(null)"}));
}

TEST(HostCommands, PanelShowTestsTheReplyAndKeepsItTheHosts) {
    RecordingHost host;
    host.answer("PS '1' 'shown'", "ok");
    Probe probe(&host, "");
    EXPECT_TRUE(probe.panelShow("1", "shown", ""));
    EXPECT_FALSE(probe.panelShow("1", "missing", ""));
    // No give-back: the recording host reports one on destruction.
    EXPECT_THAT(host.events(),
                ElementsAre(Event{0, "PS '1' 'shown'"}, Event{0, "PS '1' 'missing'"}));
}

TEST(HostCommands, OnlyReadingCommandsGiveTheirReplyBack) {
    RecordingHost host;
    // Every command is answered; only TG, XI and RN may give their reply back.
    for (const SentCase& c : sentCases) {
        host.answer(c.sent, "reply");
    }
    host.answer("TG '1' 'alm_3' 'value'", "value=1");
    Probe probe(&host, "");
    for (const SentCase& c : sentCases) {
        c.call(probe);
    }
    int givenBack = 0;
    for (const Event& event : host.events()) {
        givenBack += event.kind == zarn_kind_give_back;
    }
    EXPECT_EQ(givenBack, 5); // textGet, the two controlList and the two routerName calls
}

TEST(HostCommands, DebugLogFillsNineArgumentsInTurn) {
    DebugCapture debug;
    Probe probe(nullptr, "");
    probe.debugLog("%1 %2 %3 %4 %5 %6 %7 %8 %9", "a", "b", "c", "d", "e", "f", "g", "h", "i");
    probe.debugLog("%2-%1", "x", "y");
    probe.debugLog("no markers", "x");
    // A text put in is never filled itself.
    probe.debugLog("%1|%2", "%2", "y");
    probe.debugLog("%1 %1 %3", "a%3", "b", "c");
    EXPECT_THAT(debug.lines(),
                ElementsAre("a b c d e f g h i", "y-x", "no markers", "%2|y", "a%3 a%3 b"));
}

} // namespace
