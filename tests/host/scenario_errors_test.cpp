// Bad input to the stand-in host: each is a clear message with the file and the line,
// and none crashes it.
#include "../support/test_names.h"
#include "scenario.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

const Variables variables = {
    {"components", ZARN_COMPONENTS_DIR},
    {"probe", HOST_PROBE_PATH},
    {"null_factory", NULL_FACTORY_PATH},
    {"not_a_component", NOT_A_COMPONENT_PATH},
};

// Four lines: a probe placed as "p", and a destination button as "d" in group "g". The
// first line of each case is line 5.
const std::string prelude = "module probe ${probe}\n"
                            "module ry_dest ${components}/ry_dest/ry_dest\n"
                            "place p probe\n"
                            "place d ry_dest group g destination_id=1\n";

struct BadCase {
    const char* name;
    const char* lines; // after the prelude
    ScenarioOutcome outcome;
    const char* message; // expected in the output
};

const BadCase badCases[] = {
    // Malformed lines: an error at the line, and the run ends.
    {"unknown action", "frobnicate 1", ScenarioOutcome::Error,
     "bad:5: error: unknown action \"frobnicate\""},
    {"too few words", "route 1 2", ScenarioOutcome::Error,
     "bad:5: error: usage: route <device> <destination> <source>"},
    {"too many words", "show me", ScenarioOutcome::Error, "bad:5: error: usage: show"},
    {"not a number", "router 1\nroute 1 x 3", ScenarioOutcome::Error,
     "bad:6: error: \"x\" is not a number"},
    {"number too large", "router 1\nroute 1 99999999999 3", ScenarioOutcome::Error,
     "bad:6: error: \"99999999999\" is not a number"},
    {"negative rounds", "tick -1", ScenarioOutcome::Error, "bad:5: error: a negative number"},
    {"open quote", "send p \"send=AS", ScenarioOutcome::Error,
     "bad:5: error: the quote opened at column 8 is not closed"},
    {"unknown escape", "send p \"\\q\"", ScenarioOutcome::Error,
     "bad:5: error: unknown escape \\q"},
    {"unknown variable", "send p ${nope}", ScenarioOutcome::Error,
     "bad:5: error: unknown variable ${nope}"},
    {"stray place word", "place q probe sideways", ScenarioOutcome::Error,
     "bad:5: error: \"sideways\" is neither group <g>, path <p> nor <key>=<value>"},
    {"bad expect", "expect timer p 1 sideways", ScenarioOutcome::Error, "bad:5: error: usage:"},
    {"an error ends the run", "frobnicate\nexpect reply never-checked", ScenarioOutcome::Error,
     "bad:5: error: unknown action"},
    // Things that cannot be done.
    {"unknown instance", "send ghost index=1", ScenarioOutcome::Error,
     "bad:5: error: no instance \"ghost\" is placed"},
    {"unknown instance in expect", "expect property ghost Button text x", ScenarioOutcome::Error,
     "bad:5: error: no instance \"ghost\" is placed"},
    {"unknown group", "broadcast nobody index=1", ScenarioOutcome::Error,
     "bad:5: error: no group \"nobody\""},
    {"undefined router", "route 5 1 1", ScenarioOutcome::Error,
     "bad:5: error: no router 5 is defined"},
    {"instance placed twice", "place p probe", ScenarioOutcome::Error,
     "bad:5: error: an instance \"p\" is placed already"},
    {"module not loaded", "place q nothing", ScenarioOutcome::Error,
     "bad:5: error: no module is loaded as \"nothing\""},
    {"missing module file", "module m /nonexistent/m.so", ScenarioOutcome::Error,
     "bad:5: error: cannot load \"/nonexistent/m.so\""},
    {"not a component", "module m ${not_a_component}", ScenarioOutcome::Error,
     "is not a component: it has no load_zarn_client_script"},
    {"factory gives nothing", "module m ${null_factory}\nplace q m", ScenarioOutcome::Error,
     "bad:6: error: the factory of \""},
    // A component breaking the host's rules: a failure, and the run goes on.
    {"reply kept", "send p \"keep=TG '1' 'Button' 'text'\"\nshow", ScenarioOutcome::Failed,
     "p: the reply to \"TG '1' 'Button' 'text'\" never came back"},
    {"reply given back twice", "entry 1 1 1 x\nsend p \"twice=RN 1 1 1\"", ScenarioOutcome::Failed,
     "p: gave back a pointer that the host never handed it"},
    {"host's reply given back", "send p \"back=PS '2' '${components}/ry_dest/ry_dest.zarn_ui'\"",
     ScenarioOutcome::Failed, "p: gave back a reply that the host keeps"},
    {"pointer never handed out", "send p bogus", ScenarioOutcome::Failed,
     "p: gave back a pointer that the host never handed it"},
    {"a failed expect", "expect property d Button text nonsense\nexpect reply also-wrong",
     ScenarioOutcome::Failed, "bad:5: expect failed: d Button text is \"\", not nonsense"},
    // Odd commands from a component: warnings, never a crash.
    {"TP on an unknown control", "send p \"send=TP 'text=x' '1' 'Nothing'\"",
     ScenarioOutcome::Passed, "warning: p: TP for unknown control \"Nothing\" on panel \"1\""},
    {"TP on an unknown panel", "send p \"send=TP 'text=x' '7' 'Button'\"", ScenarioOutcome::Passed,
     "warning: p: TP for unknown panel \"7\""},
    {"malformed command", "send p \"send=TP broken\"", ScenarioOutcome::Passed,
     "warning: p: TP wants its fields in single quotes: TP broken"},
    {"unknown command", "send p \"send=ZZ 1\"", ScenarioOutcome::Passed,
     "warning: p: unknown command \"ZZ\": ZZ 1"},
    {"huge poll", "router 1\nsend p \"send=RP 1 1 2000000000\"", ScenarioOutcome::Passed,
     "warning: p: RP of more than 1024 destinations"},
    {"backwards range", "router 1\nsend p \"send=RR 1 5 4\"", ScenarioOutcome::Passed,
     "warning: p: RR with its first destination after its last"},
    {"registration on no router", "send p \"send=RR 9 1 1\"", ScenarioOutcome::Passed,
     "warning: p: RR on device 9, which is no router of this studio"},
};

class ScenarioErrors : public testing::TestWithParam<BadCase> {};

TEST_P(ScenarioErrors, AreClearAndNeverCrash) {
    const BadCase& c = GetParam();
    std::ostringstream out;
    Transcript transcript(out, Transcript::Format::Text, true);
    const ScenarioOutcome outcome =
        runScenarioText(prelude + c.lines + "\n", "bad", ".", transcript, variables);
    EXPECT_EQ(outcome, c.outcome) << out.str();
    EXPECT_NE(out.str().find(c.message), std::string::npos)
        << "expected: " << c.message << "\ngot:\n"
        << out.str();
}

INSTANTIATE_TEST_SUITE_P(Table, ScenarioErrors, testing::ValuesIn(badCases), NameOfCase());

TEST(ScenarioFiles, AMissingFileIsAnError) {
    std::ostringstream out;
    Transcript transcript(out, Transcript::Format::Text, true);
    EXPECT_EQ(runScenarioFile("/nonexistent/x.scenario", transcript, variables),
              ScenarioOutcome::Error);
    EXPECT_NE(out.str().find("/nonexistent/x.scenario: error: cannot read"), std::string::npos);
}

TEST(ScenarioFiles, JsonOutputIsOneObjectALine) {
    std::ostringstream out;
    Transcript transcript(out, Transcript::Format::Json, false);
    runScenarioText(prelude + "show\nsend p \"send=TP 'text=\\\"q\\\"\\n' '1' 'Button'\"\n"
                              "expect property p Button text wrong\n",
                    "json", ".", transcript, variables);
    std::istringstream lines(out.str());
    std::string line;
    int count = 0;
    bool sawPanel = false;
    bool sawFailure = false;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_EQ(line.front(), '{') << line;
        EXPECT_EQ(line.back(), '}') << line;
        sawPanel = sawPanel || line.rfind("{\"type\":\"panel\"", 0) == 0;
        sawFailure = sawFailure || line.rfind("{\"type\":\"failure\",\"at\":\"json:7\"", 0) == 0;
    }
    EXPECT_GT(count, 10);
    EXPECT_TRUE(sawPanel);
    EXPECT_TRUE(sawFailure) << out.str();
}

} // namespace
