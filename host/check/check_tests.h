// The tests of zarn-host check: each a short name ("replies.given_back", its group before
// the dot), a level (1 quick and certain, 5 the default: everything but long runs, 10 long
// fuzzing and the memory soak), what it checks, and its body, which runs in a child
// process of its own and gives a pass or a one-line reason.
#pragma once

#include "component_module.h"
#include "in_flight.h"

#include <cstdint>
#include <string>
#include <vector>

struct CheckContext {
    const ComponentModule& module; // loaded, with immediate binding
    std::string modulePath;
    std::uint64_t seed;
    double loadMilliseconds; // how long its first load took
    InFlight& inFlight;
    std::string scenario; // for the scenario tests: the file
};

struct TestOutcome {
    enum class Kind { Pass, Fail, Skip };
    Kind kind = Kind::Pass;
    std::string reason;

    static TestOutcome pass() { return {}; }
    static TestOutcome fail(std::string why) { return {Kind::Fail, std::move(why)}; }
    static TestOutcome skip(std::string why) { return {Kind::Skip, std::move(why)}; }
};

struct CheckTest {
    std::string name;
    int level;
    // How long it may take, as a multiple of the --timeout-ms of one test.
    int timeouts;
    std::string about;
    TestOutcome (*run)(CheckContext& context);
    std::string scenario = ""; // the scenario file of a scenario test
};

// Every test, in the order they run.
const std::vector<CheckTest>& checkTests();
// The test of one scenario file, named "scenario.<file name without extension>".
CheckTest scenarioTest(const std::string& file);

// The test bodies, by group (check_tests_*.cpp).
namespace check_tests {
TestOutcome opens(CheckContext&);
TestOutcome exportsFactory(CheckContext&);
TestOutcome exportsOnlyFactory(CheckContext&);
TestOutcome reloads(CheckContext&);
TestOutcome loadsInTime(CheckContext&);
TestOutcome nullHost(CheckContext&);
TestOutcome emptyPath(CheckContext&);
TestOutcome longPath(CheckContext&);
TestOutcome pathWithBlanks(CheckContext&);
TestOutcome sideBySide(CheckContext&);
TestOutcome detachesLast(CheckContext&);

TestOutcome givenBack(CheckContext&);
TestOutcome parentReplies(CheckContext&);
TestOutcome nullAnswers(CheckContext&);
TestOutcome emptyAnswers(CheckContext&);
TestOutcome knownCommands(CheckContext&);
TestOutcome wholeCommands(CheckContext&);
TestOutcome hostKinds(CheckContext&);
TestOutcome noExceptions(CheckContext&);
TestOutcome timerTicks(CheckContext&);
TestOutcome otherKinds(CheckContext&);
TestOutcome nullRecords(CheckContext&);
TestOutcome bigTexts(CheckContext&);
TestOutcome fullStops(CheckContext&);
TestOutcome bigNumbers(CheckContext&);
TestOutcome oddBytes(CheckContext&);

TestOutcome sameOutcomeNested(CheckContext&);
TestOutcome noHeapGrowth(CheckContext&);
TestOutcome heapSoak(CheckContext&);
TestOutcome instancesApart(CheckContext&);
TestOutcome shortFuzz(CheckContext&);
TestOutcome longFuzz(CheckContext&);
} // namespace check_tests
