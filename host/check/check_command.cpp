#include "check_command.h"

#include "check_report.h"
#include "check_tests.h"
#include "test_process.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <regex>

namespace {

bool selected(const std::string& name, const std::optional<std::regex>& only,
              const std::optional<std::regex>& skip) {
    return (!only || std::regex_search(name, *only)) && (!skip || !std::regex_search(name, *skip));
}

std::optional<std::regex> pattern(const std::string& text) {
    return text.empty() ? std::nullopt : std::optional<std::regex>(std::regex(text));
}

} // namespace

int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& errors) {
    std::optional<std::regex> only;
    std::optional<std::regex> skip;
    try {
        only = pattern(options.only);
        skip = pattern(options.skip);
    } catch (const std::regex_error& error) {
        errors << "zarn-host check: not a regular expression: " << error.what() << "\n";
        return 2;
    }
    const std::uint64_t seed = options.seed ? *options.seed : std::random_device{}();
    std::vector<CheckTest> tests = checkTests();
    for (const std::string& scenario : options.scenarios) {
        tests.push_back(scenarioTest(scenario));
    }
    CheckReport report(out, options.json);
    for (const std::string& path : options.modules) {
        std::error_code ignored;
        if (!std::filesystem::is_regular_file(path, ignored)) {
            report.unusable(path, std::filesystem::exists(path, ignored) ? "is not a file"
                                                                         : "there is no such file");
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        const ComponentModule module(path);
        const double loading =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (!module.loaded()) {
            report.unusable(path, module.error());
            continue;
        }
        report.begin(path, seed, options.level);
        InFlight inFlight;
        for (const CheckTest& test : tests) {
            if (test.level > options.level || !selected(test.name, only, skip)) {
                continue;
            }
            for (int round = 0; round < options.repeat; ++round) {
                CheckContext context{module,  path,     seed + static_cast<std::uint64_t>(round),
                                     loading, inFlight, test.scenario};
                const TestResult result = runTest(
                    test, context, options.timeoutMilliseconds * test.timeouts, options.inProcess);
                report.test(path, test.name, context.seed, result);
            }
        }
    }
    const int status = report.finish();
    if (!options.junit.empty() && !report.writeJunit(options.junit)) {
        errors << "zarn-host check: cannot write " << options.junit << "\n";
        return 2;
    }
    return status;
}
