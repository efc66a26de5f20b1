// What zarn-host check writes: a line for each test (PASS, FAIL, CRASH, TIMEOUT, SKIP, its
// time and its reason), a summary "N passed, N failed" and a final SUCCESS or FAILURE;
// with --json one JSON object a line instead; with --junit FILE the same as JUnit XML,
// which CI systems read.
#pragma once

#include "test_process.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class CheckReport {
public:
    CheckReport(std::ostream& out, bool json) : out_(out), json_(json) {}

    // A module's run begins: its path, the seed and the level.
    void begin(const std::string& module, std::uint64_t seed, int level);
    // A module that could not be checked at all.
    void unusable(const std::string& module, const std::string& why);
    void test(const std::string& module, const std::string& name, std::uint64_t seed,
              const TestResult& result);
    // The summary and the verdict; gives the exit status: 0 when every test that ran
    // passed, 1 when one did not, 2 when a module could not be checked or no test ran.
    int finish();
    // The report as JUnit XML into `path`; false when it cannot be written.
    bool writeJunit(const std::string& path) const;

private:
    struct Entry {
        std::string module;
        std::string name;
        std::uint64_t seed;
        TestResult result;
    };
    std::ostream& out_;
    bool json_;
    std::vector<Entry> entries_;
    int unusable_ = 0;
    std::string repeatWith_; // the options that reproduce the first failure
};
