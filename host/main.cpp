// zarn-host: the stand-in panel host. Runs component modules without a studio: the
// built-in demo, or scenario files.
#include "components_folder.h"
#include "new_component.h"
#include "scenario.h"
#include "transcript.h"

#include <zarn_script_helper/debug_output.h>

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

extern const char* const demoScenario;

namespace {

struct NewComponent {
    std::string name;
    std::string folder; // empty: ./<name>
};

struct Options {
    bool json = false;
    bool quiet = false;
    bool actions = false;
    std::string components = componentsFolder({ZARN_INSTALLED_COMPONENTS, ZARN_BUILT_COMPONENTS});
    std::vector<std::string> definitions;
    DeliveryOrder delivery = DeliveryOrder::Queued;
    std::vector<std::string> scenarios;
};

const char* const exitStatuses =
    "Exit status: 0 when every scenario passed; 1 when an expect failed or a component\n"
    "broke the host's rules; 2 on an error (usage, a malformed scenario line, a module\n"
    "that does not load).";

void describeOptions(CLI::App& app, Options& options) {
    // "/path" is a path on every platform, never an option.
    app.allow_windows_style_options(false);
    app.description("Runs each scenario file in a studio of its own; with none, runs the "
                    "built-in demo.");
    app.footer(exitStatuses);
    app.add_flag("--json", options.json, "write one JSON object a line");
    app.add_flag("--quiet", options.quiet, "write only warnings and failures");
    app.add_option("--components", options.components,
                   "the folder of the built components (${components} in scenarios); "
                   "by default the one beside zarn-host")
        ->type_name("DIR");
    app.add_option("--define", options.definitions, "set the scenario variable ${NAME} to VALUE")
        ->type_name("NAME=VALUE")
        ->expected(1)
        ->allow_extra_args(false)
        ->take_all()
        ->check([](const std::string& definition) {
            const std::size_t equals = definition.find('=');
            return equals == std::string::npos || equals == 0
                       ? "--define wants NAME=VALUE, not \"" + definition + "\""
                       : std::string();
        });
    app.add_option_function<std::string>(
           "--delivery",
           [&options](const std::string& order) {
               options.delivery = order == "nested" ? DeliveryOrder::Nested : DeliveryOrder::Queued;
           },
           "when what a command sets off reaches the components: after the call (queued, the "
           "default) or inside it (nested)")
        ->type_name("queued|nested")
        ->check([](const std::string& order) {
            return order == "queued" || order == "nested"
                       ? std::string()
                       : "\"" + order + "\" is neither queued nor nested";
        });
    app.add_flag("--actions", options.actions, "list the actions of scenario files and exit");
    app.add_option("scenarios", options.scenarios, "scenario files")->type_name("SCENARIO");
}

CLI::App* describeNew(CLI::App& app, NewComponent& options) {
    CLI::App* command = app.add_subcommand(
        "new", "Writes a new component project, ready to build against the installed SDK, with "
               "a scenario that passes as it is.");
    command->add_option("name", options.name, "the component's name: a C++ identifier")->required();
    command
        ->add_option("folder", options.folder,
                     "where to write it (./NAME unless given); it "
                     "must not exist or be empty")
        ->type_name("DIR");
    command->footer("Exit status: 0 when written; 2 when nothing was written (a name that is no "
                    "identifier, a folder that is not empty or cannot be written).");
    return command;
}

int writeNew(const NewComponent& options) {
    const std::string folder = options.folder.empty() ? options.name : options.folder;
    const std::string error = writeComponentProject(options.name, folder);
    if (!error.empty()) {
        std::cerr << "zarn-host new: " << error << "; nothing was written\n";
        return 2;
    }
    std::cout << "wrote the component " << options.name << " into " << folder << "\n"
              << "build and test it with:\n"
              << "  cmake -S " << folder << " -B " << folder << "/build"
              << " -DCMAKE_PREFIX_PATH=<where the SDK is installed>\n"
              << "  cmake --build " << folder << "/build && ctest --test-dir " << folder
              << "/build\n";
    return 0;
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

int run(const Options& options) {
    Variables variables{{"components", options.components}};
    for (const std::string& definition : options.definitions) {
        const std::size_t equals = definition.find('=');
        variables[definition.substr(0, equals)] = definition.substr(equals + 1);
    }
    Transcript transcript(std::cout,
                          options.json ? Transcript::Format::Json : Transcript::Format::Text,
                          options.quiet);
    zarn_debug_capture(&captureDebugLine, &transcript);
    const ScenarioSettings settings{variables, options.delivery};
    int status = 0;
    if (options.scenarios.empty()) {
        status = exitStatus(runScenarioText(demoScenario, "demo", ".", transcript, settings));
    }
    for (const std::string& scenario : options.scenarios) {
        const int outcome = exitStatus(runScenarioFile(scenario, transcript, settings));
        status = outcome > status ? outcome : status;
    }
    zarn_debug_capture(nullptr, nullptr);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app("zarn-host: the stand-in panel host", "zarn-host");
    Options options;
    describeOptions(app, options);
    NewComponent newComponent;
    const CLI::App* create = describeNew(app, newComponent);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << (*create ? create->help() : app.help());
        return 0;
    } catch (const CLI::ParseError& error) {
        std::cerr << "zarn-host: " << error.what() << "\n(zarn-host --help lists the options)\n";
        return 2;
    }
    if (*create) {
        return writeNew(newComponent);
    }
    if (options.actions) {
        std::cout << "Actions of scenario files:\n" << scenarioActionReference();
        return 0;
    }
    return run(options);
}
