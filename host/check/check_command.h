// zarn-host check MODULE...: loads each module, plays a hostile but legal host against it,
// one test a child process, and reports every breach of the host contract with a way to
// repeat it. It works from the boundary alone: a component's own protocol comes in
// through scenario files (--scenario), checked under the same rules.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct CheckOptions {
    std::vector<std::string> modules;
    int level = 5;                     // 1 to 10: tests of this level and below run
    std::optional<std::uint64_t> seed; // unset: a new one, printed
    int repeat = 1;                    // each test this often, seeds counting up
    std::string only;                  // a regex: only the tests it finds
    std::string skip;                  // a regex: none of the tests it finds
    int timeoutMilliseconds = 10000;   // for one test (long tests get a multiple)
    bool json = false;
    std::string junit;                  // a file for the JUnit report, if any
    bool inProcess = false;             // every test in this process, for debuggers
    std::vector<std::string> scenarios; // files whose steps are tests too
};

// Runs the check; gives the exit status: 0 when every test that ran passed, 1 when one
// did not, 2 when a module is missing or does not load, or no test ran.
int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& errors);
