// zarn-host: the stand-in panel host. Runs component modules without a studio: the
// built-in demo, or scenario files.
#include "scenario.h"
#include "transcript.h"

#include <zarn_script_helper/debug_output.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

extern const char* const demoScenario;

namespace {

const char* const usage =
    "usage: zarn-host [--json] [--quiet] [--components DIR] [--define NAME=VALUE]... "
    "[SCENARIO]...\n"
    "\n"
    "Runs each scenario file in a studio of its own; with none, runs the built-in demo.\n"
    "  --json            write one JSON object a line\n"
    "  --quiet           write only warnings and failures\n"
    "  --components DIR  the folder of the built components (${components} in scenarios)\n"
    "  --define N=V      set the scenario variable ${N} to V\n"
    "Exit status: 0 when every scenario passed; 1 when an expect failed or a component\n"
    "broke the host's rules; 2 on an error (usage, a malformed scenario line, a module\n"
    "that does not load).\n";

struct Options {
    bool json = false;
    bool quiet = false;
    Variables variables{{"components", ZARN_COMPONENTS_DIR}};
    std::vector<std::string> scenarios;
};

// Fills `options`; gives the error, or "-" after --help.
std::string parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            return "-";
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--components" && hasValue) {
            options.variables["components"] = argv[++i];
        } else if (arg == "--define" && hasValue) {
            const std::string definition = argv[++i];
            const std::size_t equals = definition.find('=');
            if (equals == std::string::npos || equals == 0) {
                return "--define wants NAME=VALUE, not \"" + definition + "\"";
            }
            options.variables[definition.substr(0, equals)] = definition.substr(equals + 1);
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option \"" + arg + "\"";
        } else {
            options.scenarios.push_back(arg);
        }
    }
    return "";
}

int exitStatus(ScenarioOutcome outcome) {
    switch (outcome) {
    case ScenarioOutcome::Passed:
        return 0;
    case ScenarioOutcome::Failed:
        return 1;
    case ScenarioOutcome::Error:
        return 2;
    }
    return 2;
}

void captureDebugLine(void* transcript, const char* line) {
    static_cast<Transcript*>(transcript)->debug(line);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    const std::string error = parseOptions(argc, argv, options);
    if (error == "-") {
        std::cout << usage;
        return 0;
    }
    if (!error.empty()) {
        std::cerr << "zarn-host: " << error << "\n" << usage;
        return 2;
    }
    Transcript transcript(std::cout,
                          options.json ? Transcript::Format::Json : Transcript::Format::Text,
                          options.quiet);
    zarn_debug_capture(&captureDebugLine, &transcript);
    int status = 0;
    if (options.scenarios.empty()) {
        status =
            exitStatus(runScenarioText(demoScenario, "demo", ".", transcript, options.variables));
    }
    for (const std::string& scenario : options.scenarios) {
        const int outcome = exitStatus(runScenarioFile(scenario, transcript, options.variables));
        status = outcome > status ? outcome : status;
    }
    zarn_debug_capture(nullptr, nullptr);
    return status;
}
