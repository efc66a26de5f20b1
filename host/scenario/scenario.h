// Scenario files: what the stand-in host does, one action a line.
//
//   # comments run from # to the end of the line; words with blanks go in "double quotes";
//   # a line that ends in \ goes on on the next
//   place dest12 ry_dest group studio destination_id=12
//   expect property dest12 Button statesheet on
//
// The actions, each with its usage and what it does, are the tables at the top of
// scenario.cpp (`zarn-host --actions` prints them); every usage message comes from there.
//
// ${name} in a word stands for a variable: ${scenario} is the scenario's folder,
// ${components} the folder of the built components, and --define name=value adds more.
// Relative module paths are taken from the scenario's folder.
//
// A failed expect is reported with file and line and the run goes on; a malformed line,
// or an action that cannot be done (an unknown instance, a module that does not load),
// is an error with file and line that ends the run. A router link that cannot be made
// fails the run and ends it.
//
// Linked routers deliver only while the scenario waits for them: a "router" line with a
// link waits until the router's whole state is read, "route" on a linked router until
// the router confirms the take, and "await" until what it checks holds.
#pragma once

#include "router_links.h"
#include "studio.h"
#include "transcript.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using Variables = std::map<std::string, std::string>;

// How a scenario runs: its variables, the order of the studio's deliveries, how many
// rounds one tick may ask for, and where the modules come from.
struct ScenarioSettings {
    ScenarioSettings(Variables values, DeliveryOrder order = DeliveryOrder::Queued)
        : variables(std::move(values)), delivery(order) {}
    Variables variables;
    DeliveryOrder delivery;
    int maxTickRounds = 1000000;
    // Given the path of a "module" line, the module to use; unset: the file at the path.
    // A fuzzer, which loads no file, hands out a component linked into it.
    std::function<std::unique_ptr<ComponentModule>(const std::string& path)> moduleAt;
    // Makes the links of routers that are real routers, which tell `events` what they
    // hear; unset: a zarn-host without router links, where a link is an error.
    std::function<std::unique_ptr<RouterLinks>(RouterLinkEvents& events)> routerLinks;
    // How long "await" and a take on a linked router wait unless told.
    std::chrono::milliseconds linkWait{5000};
};

enum class ScenarioOutcome { Passed, Failed, Error };

class ScenarioRunner {
public:
    ScenarioRunner(Studio& studio, Transcript& transcript, ScenarioSettings settings);
    // Closes the router links it made.
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

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
        const char* description;
        std::string (ScenarioRunner::*run)(const Words& words);
    };
    static const Action actions[];
    // The forms of "expect": its second word and its word count, the action's name and
    // the form's word included.
    struct ExpectForm {
        const char* kind;
        std::size_t minWords;
        std::size_t maxWords;
        bool aboutAnInstance; // its third word names an instance
        const char* usage;
        const char* description;
        std::string (ScenarioRunner::*check)(const Words& words);
    };
    static const ExpectForm expectForms[];
    friend std::string scenarioActionReference();

    // `word` with its variables put in; sets `error` for an unknown one.
    std::string expand(const std::string& word, std::string& error) const;

    std::string module(const Words& w);
    std::string router(const Words& w);
    std::string link(int device, const Words& w, std::size_t at);
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
    std::string await(const Words& w);
    std::string expectProperty(const Words& w);
    std::string expectReply(const Words& w);
    std::string expectSent(const Words& w);
    std::string expectRegistered(const Words& w);
    std::string expectTimer(const Words& w);
    std::string expectStream(const Words& w);
    std::string expectCalled(const Words& w);
    std::string expectLink(const Words& w);
    static std::string expectUsage();
    // "usage: " and the usage of the action named so.
    static std::string actionUsage(const std::string& name);
    static const ExpectForm* expectFormNamed(const std::string& kind);

    // Runs one line (its continuations joined); gives the error, if any.
    std::string runLine(const std::string& line);
    std::string needInstance(const std::string& name) const;
    std::string number(const std::string& word, int& value) const;
    // A number that counts from `least`; `what` names it in the error ("destination").
    std::string count(const std::string& word, int least, const char* what, int& value) const;
    // Reports a check that failed; while an await looks, keeps it in awaited_ instead.
    void expectation(bool held, const std::string& what);
    bool linked(int device) const { return links_ != nullptr && links_->linked(device); }

    Studio& studio_;
    Transcript& transcript_;
    Variables variables_;
    ScenarioSettings settings_;
    std::map<std::string, std::string> modulePaths_;
    std::string folder_;
    std::string where_;
    std::optional<std::string> lastReply_;
    std::unique_ptr<RouterLinks> links_;
    bool awaiting_ = false;
    std::optional<std::string> awaited_; // the failure of the check an await repeats
    bool stopped_ = false;               // a failure that ends the run
};

// Every action and every form of expect, a line each with its usage and what it does.
std::string scenarioActionReference();

// Runs one scenario file in a studio of its own, with the studio's closing checks.
ScenarioOutcome runScenarioFile(const std::string& path, Transcript& transcript,
                                const ScenarioSettings& settings);
// Runs a scenario text the same way; `name` names it in messages.
ScenarioOutcome runScenarioText(const std::string& text, const std::string& name,
                                const std::string& folder, Transcript& transcript,
                                const ScenarioSettings& settings);
