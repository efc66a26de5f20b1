// Bad input to the stand-in host: each is a clear message with the file and the line,
// and none crashes it.
#include "../support/test_names.h"
#include "scenario.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Layout files that no host can show, written once for the whole table.
std::string hostileLayouts() {
    static const std::string folder = [] {
        const std::string path = testing::TempDir() + "zarn_hostile_layouts";
        std::filesystem::create_directories(path);
        const std::pair<const char*, const char*> files[] = {
            {"duplicate.zarn_ui", "Button text=a\nButton text=b\n"},
            {"syntax.zarn_ui", "# fine\nButton text\n"},
            {"quote.zarn_ui", "Button text=\"open\n"},
        };
        for (const auto& [name, text] : files) {
            std::ofstream(path + "/" + name) << text;
        }
        return path;
    }();
    return folder;
}

const Variables variables = {
    {"components", ZARN_COMPONENTS_DIR}, {"probe", HOST_PROBE_PATH},
    {"null_factory", NULL_FACTORY_PATH}, {"not_a_component", NOT_A_COMPONENT_PATH},
    {"layouts", hostileLayouts()},
};

// Four lines: a probe placed as "p", and a destination button as "d" in group "g". The
// first line of each case is line 5; the scenario's folder is the one of hostileLayouts().
const std::string prelude = "module probe ${probe}\n"
                            "module ry_dest ${components}/ry_dest/ry_dest\n"
                            "place p probe\n"
                            "place d ry_dest group g destination_id=1\n";

struct BadCase {
    const char* name;
    std::string lines; // after the prelude
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
    {"event on a control the layout lacks", "event d Nothing button=released",
     ScenarioOutcome::Passed, "host > d           2 event      panel 1 control Nothing"},
    // Each expect can fail.
    {"expect reply fails", "query d destination_id\nexpect reply destination_id=2",
     ScenarioOutcome::Failed,
     "bad:6: expect failed: the reply is destination_id=1, not destination_id=2"},
    {"expect sent fails", "send p \"send=ET 1\"\nexpect sent p \"ET 2\"", ScenarioOutcome::Failed,
     "bad:6: expect failed: p did not send \"ET 2\"; it sent:\n    ET 1"},
    {"expect not-sent fails", "send p \"send=ET 1\"\nexpect not-sent p \"ET 1\"",
     ScenarioOutcome::Failed, "bad:6: expect failed: p sent \"ET 1\""},
    {"expect stream fails on order", "send p \"send=ET 1\"\nexpect stream p \"ET 2\" \"ET 1\"",
     ScenarioOutcome::Failed,
     "bad:6: expect failed: p sent:\n    ET 1\n  not:\n    ET 2\n    ET 1"},
    {"expect stream fails on count", "send p \"send=ET 1\"\nexpect stream p",
     ScenarioOutcome::Failed, "bad:6: expect failed: p sent:\n    ET 1\n  not: (nothing)"},
    {"expect called fails", "send p \"send=ET 1\"\nexpect called d", ScenarioOutcome::Failed,
     "bad:6: expect failed: the host called p, not d"},
    {"expect registered fails", "router 1\nsend p \"send=RR 1 3 4\"\nexpect registered p 1 3-3",
     ScenarioOutcome::Failed, "bad:7: expect failed: p is registered on device 1 for 3-4, not 3-3"},
    {"expect timer fails", "timer p 1\nexpect timer p 1 stopped", ScenarioOutcome::Failed,
     "bad:6: expect failed: timer 1 of p is running"},
    {"expect property fails on a missing property", "expect property d Button colour red",
     ScenarioOutcome::Failed, "bad:5: expect failed: d Button colour is not set, not red"},
    // Hostile files and lines: an error with the line, never a crash or a silent pass.
    {"a module name reused while its instance lives",
     "module m ${probe}\nplace x m\nmodule m ${components}/ry_dest/ry_dest\nsend x hello",
     ScenarioOutcome::Error, "bad:7: error: a module is loaded as \"m\" already"},
    {"a layout that is a folder", "send p \"send=PS '2' '/'\"", ScenarioOutcome::Error,
     "bad:5: error: p shows panel \"2\": \"/\" is a folder, not a layout"},
    {"a layout that is not there", "send p \"send=PS '2' 'missing.zarn_ui'\"",
     ScenarioOutcome::Error, "zarn_hostile_layouts/missing.zarn_ui\""},
    {"a layout with a duplicate control", "send p \"send=PS '2' '${layouts}/duplicate.zarn_ui'\"",
     ScenarioOutcome::Error, "/duplicate.zarn_ui:2: the control \"Button\" is there already"},
    {"a layout with a broken line", "send p \"send=PS '2' '${layouts}/syntax.zarn_ui'\"",
     ScenarioOutcome::Error, "/syntax.zarn_ui:2: \"text\" is no property=value"},
    {"a layout with an open quote", "send p \"send=PS '2' '${layouts}/quote.zarn_ui'\"",
     ScenarioOutcome::Error, "/quote.zarn_ui:1: the quote opened at column 13 is not closed"},
    {"an empty path reads the layout from the scenario's folder", "place q probe path \"\"",
     ScenarioOutcome::Error, "zarn_hostile_layouts/host_probe.zarn_ui\""},
    {"a path that PS cannot carry", "place q probe path \"a' 'b\"", ScenarioOutcome::Error,
     "bad:5: error: the path \"a' 'b\" holds ' ', which a PS command cannot carry"},
    {"a backslash ends the last line", "show \\", ScenarioOutcome::Error,
     "bad:5: error: the last line ends in \\, but no line follows"},
    {"line numbers go on after a continuation", "router 1 \\\n\"Video\"\nfrobnicate",
     ScenarioOutcome::Error, "bad:7: error: unknown action \"frobnicate\""},
    {"an unclosed variable", "send p ${probe", ScenarioOutcome::Error,
     "bad:5: error: the ${ in \"${probe\" is not closed"},
    {"a NUL byte", std::string("send p a\0b", 10), ScenarioOutcome::Error,
     "bad:5: error: a NUL byte at column 9"},
    {"too many rounds", "tick 1000001", ScenarioOutcome::Error,
     "bad:5: error: tick 1000001: at most 1000000 rounds"},
    {"idle rounds cost nothing", "tick 1000000\nexpect called", ScenarioOutcome::Passed, ""},
    {"a negative device", "router -1", ScenarioOutcome::Error,
     "bad:5: error: device -1: devices count from 0"},
    {"destination 0", "router 1\nroute 1 0 1", ScenarioOutcome::Error,
     "bad:6: error: destination 0: destinations count from 1"},
    {"a negative source", "router 1\nsource 1 -2 x", ScenarioOutcome::Error,
     "bad:6: error: source -2: sources count from 1"},
    {"a negative database", "entry 7 -1 1 x", ScenarioOutcome::Error,
     "bad:5: error: database -1: databases count from 0"},
    {"a negative timer", "timer p -3", ScenarioOutcome::Error,
     "bad:5: error: timer -3: timers count from 0"},
    // Router links and waiting.
    {"a link in a host without links", "router 1 videohub 127.0.0.1:9990", ScenarioOutcome::Error,
     "bad:5: error: this zarn-host is built without router links"},
    {"a link without a port", "router 1 Hub videohub 127.0.0.1", ScenarioOutcome::Error,
     "bad:5: error: a router link wants <host>:<port>, not \"127.0.0.1\""},
    {"a link to port 0", "router 1 swp08 127.0.0.1:0", ScenarioOutcome::Error,
     "bad:5: error: a router link wants <host>:<port>, not \"127.0.0.1:0\""},
    {"a link with an unknown protocol", "router 1 Hub ember 127.0.0.1:9000", ScenarioOutcome::Error,
     "bad:5: error: usage: router <device> [<name>] [videohub"},
    {"matrix 0", "router 1 swp08 127.0.0.1:8910 matrix 0 level 1", ScenarioOutcome::Error,
     "bad:5: error: matrix 0 level 1: SW-P-08 matrices and levels count from 1 to 256"},
    {"a matrix for a videohub", "router 1 videohub 127.0.0.1:9990 matrix 1 level 1",
     ScenarioOutcome::Error, "bad:5: error: usage: router"},
    {"a wait that is no number", "await timer p 1 running soon", ScenarioOutcome::Error,
     "bad:5: error: \"soon\" is not a number"},
    {"an await fails like an expect", "timer p 1\nawait timer p 1 stopped 10\nexpect reply x",
     ScenarioOutcome::Failed,
     "bad:6: await failed after 10 ms: timer 1 of p is running\nbad:7: expect failed"},
    {"an await that holds at once", "timer p 1\nawait timer p 1 running", ScenarioOutcome::Passed,
     "== await timer p 1 running"},
    {"the link of a router without one", "router 1\nexpect link 1 up", ScenarioOutcome::Error,
     "bad:6: error: router 1 has no link"},
};

class ScenarioErrors : public testing::TestWithParam<BadCase> {};

TEST_P(ScenarioErrors, AreClearAndNeverCrash) {
    const BadCase& c = GetParam();
    std::ostringstream out;
    // Not quiet: a case may look for a message of the transcript.
    Transcript transcript(out, Transcript::Format::Text, false);
    const ScenarioOutcome outcome =
        runScenarioText(prelude + c.lines + "\n", "bad", hostileLayouts(), transcript, variables);
    EXPECT_EQ(outcome, c.outcome) << out.str();
    EXPECT_NE(out.str().find(c.message), std::string::npos)
        << "expected: " << c.message << "\ngot:\n"
        << out.str();
}

INSTANTIATE_TEST_SUITE_P(Table, ScenarioErrors, testing::ValuesIn(badCases), NameOfCase());

TEST(ScenarioFiles, AFolderIsNoScenario) {
    std::ostringstream out;
    Transcript transcript(out, Transcript::Format::Text, true);
    EXPECT_EQ(runScenarioFile(testing::TempDir(), transcript, variables), ScenarioOutcome::Error);
    EXPECT_NE(out.str().find("error: a folder, not a scenario file"), std::string::npos)
        << out.str();
}

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
