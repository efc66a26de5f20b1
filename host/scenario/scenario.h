// Scenario files: what the stand-in host does, one action a line.
//
//   # comments run from # to the end of the line; words with blanks go in "double quotes";
//   # a line that ends in \ goes on on the next
//   module  <name> <path>                  load a component module ("ry_dest.so"; without
//                                          an extension the platform's is added)
//   router  <device> [<name>]              a router device of the studio
//   source  <device> <source> <name>       the name of one of its sources
//   route   <device> <destination> <source>   a crosspoint change, heard by every
//                                          instance registered for the destination
//   entry   <device> <database> <index> <text>   a database entry, read with "RN"
//   place   <instance> <module> [group <g>] [path <p>] [<key>=<value> ...]
//                                          place an instance (its path defaults to the
//                                          module's folder) and send it each property
//   send    <instance> <text>              a parent command; its reply is printed
//   query   <instance> <what>              sends "return=<what>" and prints the reply
//   broadcast <group> <text>               a parent command to every button of a group
//   press   <instance> [<control>]         operator events on a control ("Button"
//   release <instance> [<control>]         unless named): "button=pressed"/"released"
//   event   <instance> <control> <text>    any other control event
//   timer   <instance> <id>                start a timer for the instance
//   tick    [<rounds>]                     deliver rounds of ticks (1 unless given)
//   destroy <instance>
//   show                                   print the panel view
//   expect property <instance> <control> <property> <value>
//   expect reply <text>                    the reply of the last send or query ("" none)
//   expect sent <instance> <command>       the instance sent this in the last action
//   expect not-sent <instance> <command>   ... and this it did not
//   expect registered <instance> <device> <ranges>   such as "33-33,40-41", or ""
//   expect timer <instance> <id> running|stopped
//
// ${name} in a word stands for a variable: ${scenario} is the scenario's folder,
// ${components} the folder of the built components, and --define name=value adds more.
// Relative module paths are taken from the scenario's folder.
//
// A failed expect is reported with file and line and the run goes on; a malformed line,
// or an action that cannot be done (an unknown instance, a module that does not load),
// is an error with file and line that ends the run.
#pragma once

#include "studio.h"
#include "transcript.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

using Variables = std::map<std::string, std::string>;

enum class ScenarioOutcome { Passed, Failed, Error };

class ScenarioRunner {
public:
    ScenarioRunner(Studio& studio, Transcript& transcript, Variables variables);

    // Runs `text`; `name` names it in messages, `folder` is where relative paths start.
    // False when an error ended the run.
    bool run(const std::string& text, const std::string& name, const std::string& folder);

private:
    using Words = std::vector<std::string>;
    struct Action {
        const char* name;
        bool echoed; // shown in the transcript as a step
        std::size_t minWords;
        std::size_t maxWords; // counting the action's own name
        const char* usage;
        std::string (ScenarioRunner::*run)(const Words& words);
    };
    static const Action actions[];

    // `word` with its variables put in; sets `error` for an unknown one.
    std::string expand(const std::string& word, std::string& error) const;

    std::string module(const Words& w);
    std::string router(const Words& w);
    std::string source(const Words& w);
    std::string route(const Words& w);
    std::string entry(const Words& w);
    std::string place(const Words& w);
    std::string send(const Words& w);
    std::string query(const Words& w);
    std::string broadcast(const Words& w);
    std::string press(const Words& w);
    std::string release(const Words& w);
    std::string event(const Words& w);
    std::string timer(const Words& w);
    std::string tick(const Words& w);
    std::string destroy(const Words& w);
    std::string show(const Words& w);
    std::string expect(const Words& w);

    std::string needInstance(const std::string& name) const;
    std::string number(const std::string& word, int& value) const;
    void expectation(bool held, const std::string& what);

    Studio& studio_;
    Transcript& transcript_;
    Variables variables_;
    std::map<std::string, std::string> modulePaths_;
    std::string folder_;
    std::string where_;
    std::optional<std::string> lastReply_;
};

// Runs one scenario file in a studio of its own, with the studio's closing checks.
ScenarioOutcome runScenarioFile(const std::string& path, Transcript& transcript,
                                const Variables& variables);
// Runs a scenario text the same way; `name` names it in messages.
ScenarioOutcome runScenarioText(const std::string& text, const std::string& name,
                                const std::string& folder, Transcript& transcript,
                                const Variables& variables);
