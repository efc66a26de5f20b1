// Running one test of zarn-host check in a child process of its own, with a watchdog: a
// crash, an abort, a hang or an exit inside the module is that test's outcome, with the
// signal and the call into the module that was under way, and the run goes on. With
// `inProcess` (for debuggers, and where there is no fork) the test runs in this process.
#pragma once

#include "check_tests.h"

#include <string>

struct TestResult {
    enum class Kind { Pass, Fail, Crash, Timeout, Skip };
    Kind kind = Kind::Pass;
    std::string reason;
    double milliseconds = 0;
};

// Runs `test` on `context` within `timeoutMilliseconds`.
TestResult runTest(const CheckTest& test, CheckContext& context, int timeoutMilliseconds,
                   bool inProcess);

// "PASS", "FAIL", "CRASH", "TIMEOUT", "SKIP".
const char* resultName(TestResult::Kind kind);
