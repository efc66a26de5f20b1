// zarn-host: the stand-in panel host. Runs component modules without a studio: the
// built-in demo, or scenario files.
#include "check_command.h"
#include "components_folder.h"
#include "new_component.h"
#include "scenario.h"
#if defined(ZARN_HAVE_SERVE)
#include "asio_router_links.h"
#include "serve_command.h"
#endif
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
    // --components and --define go after a subcommand too.
    app.fallthrough();
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

CLI::App* describeCheck(CLI::App& app, CheckOptions& options) {
    CLI::App* command = app.add_subcommand(
        "check", "Loads each component module, plays a hostile but legal host against it, one "
                 "test a child process with a watchdog, and reports every breach of the host "
                 "contract with the options that repeat it.");
    command->add_option("modules", options.modules, "component modules (.so, .dll)")
        ->required()
        ->type_name("MODULE");
    command
        ->add_option("--level", options.level,
                     "1: quick and certain (loading, creation, replies); 5, the default: "
                     "everything but long runs; 10: long fuzzing and the memory soak")
        ->check(CLI::Range(1, 10));
    command->add_option("--seed", options.seed, "the seed of the random tests (printed otherwise)");
    command
        ->add_option("--repeat", options.repeat, "run each test this often, the seed counting up")
        ->check(CLI::Range(1, 1000));
    command->add_option("--only", options.only, "only the tests whose names this finds")
        ->type_name("REGEX");
    command->add_option("--skip", options.skip, "none of the tests whose names this finds")
        ->type_name("REGEX");
    command
        ->add_option("--timeout-ms", options.timeoutMilliseconds,
                     "how long one test may take (10000 unless given; long tests a multiple)")
        ->check(CLI::Range(1, 3600000));
    command->add_flag("--json", options.json, "write one JSON object a line");
    command->add_option("--junit", options.junit, "write a JUnit report into FILE")
        ->type_name("FILE");
    command->add_flag("--in-process", options.inProcess,
                      "run every test in this process (for a debugger; a crash ends the run)");
    command
        ->add_option("--scenario", options.scenarios,
                     "a scenario file whose steps are a test too (${module} is the module)")
        ->type_name("FILE")
        ->expected(1)
        ->allow_extra_args(false)
        ->take_all();
    command->footer("Exit status: 0 when every test that ran passed; 1 when one failed, crashed "
                    "or hung; 2 when a module is missing or does not load, or no test ran.");
    return command;
}

#if defined(ZARN_HAVE_SERVE)
// What serve and router-sim share: the scenario, coming up only, quiet, and the routers.
void describeStudioServing(CLI::App& command, ServeOptions& options) {
    command.add_option("scenario", options.scenario, "a scenario to run first")
        ->type_name("SCENARIO");
    command.add_flag(
        "--open-only", options.openOnly,
        "come up (the scenario run, the sockets open, the addresses printed), then stop");
    command.add_flag("--quiet", options.quiet, "write only warnings and failures");
    command
        .add_option("--router", options.routerLinks,
                    "link a router of the studio to a real router, as the scenario line "
                    "\"router WORDS\" does, after the scenario")
        ->type_name("\"DEVICE [NAME] videohub|swp08 HOST:PORT ...\"")
        ->expected(1)
        ->allow_extra_args(false)
        ->take_all();
    for (const char* protocol : {"videohub", "swp08"}) {
        command
            .add_option_function<std::vector<std::string>>(
                std::string("--") + protocol,
                [&options, protocol](const std::vector<std::string>& texts) {
                    for (const std::string& text : texts) {
                        std::string error;
                        if (const auto spec = parseRouterSide(protocol, text, error)) {
                            options.routerSide.push_back(*spec);
                        } else {
                            throw CLI::ValidationError(error);
                        }
                    }
                },
                std::string("serve a router of the studio over ") +
                    (std::string(protocol) == "videohub" ? "the Videohub protocol" : "SW-P-08") +
                    " (on 127.0.0.1 unless an address is given; port 0: any)")
            ->type_name("DEVICE[@ADDRESS]:PORT")
            ->expected(1)
            ->allow_extra_args(false)
            ->take_all();
    }
    command.footer("Exit status: 0 after a clean stop; 1 when the scenario failed (served all "
                   "the same); 2 when it could not run or an address cannot be listened on.");
}

CLI::App* describeServe(CLI::App& app, ServeOptions& options) {
    CLI::App* command = app.add_subcommand(
        "serve", "Runs a studio (the built-in demo, or a scenario's actions first) and serves "
                 "its panels, routers and transcript to browsers until Ctrl-C or SIGTERM.");
    command
        ->add_option_function<std::string>(
            "--listen",
            [&options](const std::string& listen) {
                options.listen = listen;
                options.listenGiven = true;
            },
            "where to listen (127.0.0.1:8080 unless given; port 0: any); an address beyond "
            "this machine needs a token, which is made up and printed")
        ->type_name("HOST:PORT");
    describeStudioServing(*command, options);
    return command;
}

CLI::App* describeRouterSim(CLI::App& app, ServeOptions& options) {
    CLI::App* command = app.add_subcommand(
        "router-sim", "Runs a studio (the built-in demo, or a scenario's actions first) and "
                      "serves its routers over the routers' own protocols (--videohub, --swp08) "
                      "to control software until Ctrl-C or SIGTERM.");
    describeStudioServing(*command, options);
    return command;
}
#endif

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

// ${components} and every --define.
Variables variablesOf(const Options& options) {
    Variables variables{{"components", options.components}};
    for (const std::string& definition : options.definitions) {
        const std::size_t equals = definition.find('=');
        variables[definition.substr(0, equals)] = definition.substr(equals + 1);
    }
    return variables;
}

int run(const Options& options) {
    const Variables variables = variablesOf(options);
    Transcript transcript(std::cout,
                          options.json ? Transcript::Format::Json : Transcript::Format::Text,
                          options.quiet);
    zarn_debug_capture(&captureDebugLine, &transcript);
    ScenarioSettings settings{variables, options.delivery};
#if defined(ZARN_HAVE_SERVE)
    // Linked routers deliver while a scenario waits for them, on its own io_context.
    settings.routerLinks = [](RouterLinkEvents& events) {
        return std::make_unique<AsioRouterLinks>(events);
    };
#endif
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
    CheckOptions checkOptions;
    const CLI::App* check = describeCheck(app, checkOptions);
#if defined(ZARN_HAVE_SERVE)
    ServeOptions serveOptions;
    const CLI::App* serve = describeServe(app, serveOptions);
    ServeOptions simOptions;
    simOptions.web = false;
    const CLI::App* sim = describeRouterSim(app, simOptions);
#endif
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        const std::vector<CLI::App*> chosen = app.get_subcommands();
        std::cout << (chosen.empty() ? app.help() : chosen.front()->help());
        return 0;
    } catch (const CLI::ParseError& error) {
        std::cerr << "zarn-host: " << error.what() << "\n(zarn-host --help lists the options)\n";
        return 2;
    }
    if (*create) {
        return writeNew(newComponent);
    }
    if (*check) {
        return runCheck(checkOptions, std::cout, std::cerr);
    }
#if defined(ZARN_HAVE_SERVE)
    if (*serve || *sim) {
        ServeOptions& chosen = *serve ? serveOptions : simOptions;
        chosen.variables = variablesOf(options);
        return runServe(chosen, demoScenario, std::cout, std::cerr);
    }
#endif
    if (options.actions) {
        std::cout << "Actions of scenario files:\n" << scenarioActionReference();
        return 0;
    }
    return run(options);
}
