// The browser panel's side of zarn-host serve without a network: the socket messages it
// reads (and refuses), and the studio bridge, action in, changes out.
#include "../support/test_names.h"
#include "protocol.h"
#include "scenario.h"
#include "studio_bridge.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using json = nlohmann::ordered_json;

struct MessageCase {
    const char* name;
    std::string text;
    const char* error; // the start of the refusal; nullptr: it is read
};

const MessageCase messageCases[] = {
    {"press", R"({"type":"press","instance":"dest12","control":"Button"})", nullptr},
    {"release", R"({"type":"release","instance":"d","control":"Button","extra":1})", nullptr},
    {"route", R"({"type":"route","device":0,"destination":1,"source":2147483647})", nullptr},
    {"name", R"({"type":"name","device":1,"source":3,"name":"CAM 3"})", nullptr},
    {"ping", R"({"type":"ping"})", nullptr},
    {"not json", "nonsense", "not a JSON object"},
    {"an array", "[1,2]", "not a JSON object"},
    {"no type", R"({"instance":"d"})", "\"type\" wants a text"},
    {"a number for type", R"({"type":3})", "\"type\" wants a text"},
    {"unknown type", R"({"type":"load","path":"/etc/passwd"})", "unknown type \"load\""},
    {"missing instance", R"({"type":"press","control":"Button"})",
     "press: \"instance\" wants a text"},
    {"empty control", R"({"type":"press","instance":"d","control":""})",
     "press: \"control\" wants a text of 1 to 1024 bytes"},
    {"long name",
     R"({"type":"name","device":1,"source":1,"name":")" + std::string(1025, 'x') + "\"}",
     "name: \"name\" wants a text of 1 to 1024 bytes"},
    {"destination 0", R"({"type":"route","device":1,"destination":0,"source":1})",
     "route: \"destination\" wants a number from 1"},
    {"negative device", R"({"type":"route","device":-1,"destination":1,"source":1})",
     "route: \"device\" wants a number from 0"},
    {"beyond int", R"({"type":"route","device":1,"destination":2147483648,"source":1})",
     "route: \"destination\" wants a number from 1 to 2147483647"},
    {"huge", R"({"type":"route","device":1,"destination":18446744073709551615,"source":1})",
     "route: \"destination\" wants a number"},
    {"a fraction", R"({"type":"route","device":1.5,"destination":1,"source":1})",
     "route: \"device\" wants a whole number"},
    {"a text for a number", R"({"type":"route","device":"1","destination":1,"source":1})",
     "route: \"device\" wants a whole number"},
    {"oversized", R"({"type":"ping","pad":")" + std::string(70 * 1024, 'x') + "\"}",
     "a message of more than 65536 bytes"},
};

class ServeMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(ServeMessages, AreReadOrRefusedWithAReason) {
    const MessageCase& c = GetParam();
    const ParsedClientMessage parsed = parseClientMessage(c.text);
    if (c.error == nullptr) {
        EXPECT_TRUE(parsed.action) << parsed.error;
    } else {
        EXPECT_FALSE(parsed.action);
        EXPECT_EQ(parsed.error.rfind(c.error, 0), 0u) << parsed.error;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ServeMessages, testing::ValuesIn(messageCases), NameOfCase());

TEST(ServeMessages, CarryTheirFields) {
    const ParsedClientMessage route =
        parseClientMessage(R"({"type":"route","device":2,"destination":33,"source":5})");
    ASSERT_TRUE(route.action);
    EXPECT_EQ(route.action->kind, ClientAction::Kind::Route);
    EXPECT_EQ(route.action->device, 2);
    EXPECT_EQ(route.action->destination, 33);
    EXPECT_EQ(route.action->source, 5);
    EXPECT_EQ(errorMessage("why", std::string(300, 'x'))["message"].get<std::string>().size(),
              200u);
}

// The demo, run as zarn-host serve runs it, watched by a bridge.
class Bridge : public testing::Test {
protected:
    void SetUp() override {
        std::ifstream file(DEMO_SCENARIO_PATH);
        std::ostringstream text;
        text << file.rdbuf();
        demo = text.str();
        ScenarioRunner runner(studio, transcript,
                              ScenarioSettings(Variables{{"components", ZARN_COMPONENTS_DIR}}));
        ASSERT_TRUE(runner.run(demo, "demo", "."));
        bridge.takeChanges();
    }

    // The changes of `kind` in the last takeChanges.
    std::vector<json> changes(const json& message, const std::string& kind) {
        std::vector<json> found;
        if (message.contains("changes")) {
            for (const json& change : message["changes"]) {
                if (change["change"] == kind) {
                    found.push_back(change);
                }
            }
        }
        return found;
    }

    std::ostringstream out;
    Transcript transcript{out, Transcript::Format::Text, true};
    Studio studio{transcript};
    std::string demo;
    StudioBridge bridge{studio, transcript, ""};
};

TEST_F(Bridge, GivesTheWholeStateFirst) {
    const json state = bridge.state();
    EXPECT_EQ(state["type"], "state");
    ASSERT_EQ(state["instances"].size(), 4u);
    EXPECT_EQ(state["instances"][0]["instance"], "dest12");
    EXPECT_EQ(state["instances"][0]["controls"][1]["properties"]["text"], "CAM 3");
    EXPECT_EQ(state["instances"][3]["selected"], true);
    ASSERT_EQ(state["routers"].size(), 2u);
    EXPECT_EQ(state["routers"][0]["destinations"], json({17, 18, 19, 20}));
    EXPECT_FALSE(state["transcript"].empty()) << "the scenario's lines, for a late page";
}

TEST_F(Bridge, ARouteSendsItsChangeAndTheTallyNothingElse) {
    EXPECT_EQ(bridge.apply({ClientAction::Kind::Route, "", "", 1, 17, 2, ""}), "");
    const json message = bridge.takeChanges();
    EXPECT_EQ(message["type"], "changes");
    ASSERT_EQ(changes(message, "route").size(), 1u);
    const std::vector<json> properties = changes(message, "property");
    ASSERT_EQ(properties.size(), 1u);
    EXPECT_EQ(properties[0]["instance"], "dest12");
    EXPECT_EQ(properties[0]["control"], "Vid");
    EXPECT_EQ(properties[0]["value"], "CAM 2");
    EXPECT_TRUE(changes(message, "instance").empty()) << "never the whole state per change";
    EXPECT_FALSE(changes(message, "line").empty());
    EXPECT_EQ(bridge.takeChanges(), json::object()) << "nothing more changed";
}

TEST_F(Bridge, AReleaseMovesTheSelection) {
    EXPECT_EQ(bridge.apply({ClientAction::Kind::Press, "dest12", "Button", 0, 0, 0, ""}), "");
    EXPECT_TRUE(changes(bridge.takeChanges(), "selected").empty()) << "it acts on release";
    EXPECT_EQ(bridge.apply({ClientAction::Kind::Release, "dest12", "Button", 0, 0, 0, ""}), "");
    const std::vector<json> selected = changes(bridge.takeChanges(), "selected");
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_EQ(selected[0],
              json({{"change", "selected"}, {"instance", "dest12"}, {"selected", true}}));
    EXPECT_EQ(selected[1],
              json({{"change", "selected"}, {"instance", "dest15"}, {"selected", false}}));
}

TEST_F(Bridge, ARenamedSourceReachesItsTallies) {
    EXPECT_EQ(bridge.apply({ClientAction::Kind::NameSource, "", "", 1, 0, 3, "CAMERA 3"}), "");
    const json message = bridge.takeChanges();
    ASSERT_EQ(changes(message, "source").size(), 1u);
    const std::vector<json> properties = changes(message, "property");
    ASSERT_EQ(properties.size(), 1u);
    EXPECT_EQ(properties[0]["value"], "CAMERA 3");
}

TEST_F(Bridge, RefusesWhatCannotBeDoneAndChangesNothing) {
    EXPECT_EQ(bridge.apply({ClientAction::Kind::Press, "ghost", "Button", 0, 0, 0, ""}),
              "no instance \"ghost\" is placed");
    EXPECT_EQ(bridge.apply({ClientAction::Kind::Route, "", "", 9, 1, 1, ""}),
              "no router 9 is defined");
    EXPECT_EQ(bridge.apply({ClientAction::Kind::NameSource, "", "", 9, 0, 1, "x"}),
              "no router 9 is defined");
    EXPECT_EQ(bridge.takeChanges(), json::object());
}

TEST_F(Bridge, WritesTheSessionAsAScenarioThatPasses) {
    bridge.apply({ClientAction::Kind::Route, "", "", 1, 17, 2, ""});
    bridge.apply({ClientAction::Kind::Release, "dest12", "Button", 0, 0, 0, ""});
    StudioBridge withDemo(studio, transcript, demo);
    const std::string scenario = bridge.scenario();
    EXPECT_NE(scenario.find("route 1 17 2\nrelease dest12 Button\n"), std::string::npos);
    EXPECT_NE(scenario.find("expect property dest12 Vid text \"CAM 2\""), std::string::npos);
    // Replayed after the demo, it passes.
    std::ostringstream replayed;
    Transcript quiet(replayed, Transcript::Format::Text, true);
    EXPECT_EQ(runScenarioText(demo + scenario, "download", ".", quiet,
                              Variables{{"components", ZARN_COMPONENTS_DIR}}),
              ScenarioOutcome::Passed)
        << replayed.str();
}

} // namespace
