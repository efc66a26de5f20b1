#include "check_tests.h"

#include "scenario.h"
#include "transcript.h"

#include <sstream>

const std::vector<CheckTest>& checkTests() {
    using namespace check_tests;
    static const std::vector<CheckTest> tests = {
        {"loading.opens", 1, 1, "the module opens with immediate binding", &opens},
        {"loading.factory", 1, 1, "it exports load_zarn_client_script", &exportsFactory},
        {"loading.exports_only_factory", 1, 1, "it exports nothing else", &exportsOnlyFactory},
        {"loading.reloads", 1, 1, "it loads, makes a component and unloads twice", &reloads},
        {"loading.time", 1, 1, "it loads within a second", &loadsInTime},
        {"creation.null_host", 1, 1, "the factory with a null host", &nullHost},
        {"creation.empty_path", 1, 1, "the factory with an empty path", &emptyPath},
        {"creation.long_path", 1, 1, "the factory with a path of 64 KiB", &longPath},
        {"creation.path_with_blanks", 1, 1, "the factory with a path holding blanks",
         &pathWithBlanks},
        {"creation.side_by_side", 1, 1, "eight instances live side by side", &sideBySide},
        {"creation.detaches_last", 1, 1,
         "destroyed at once, it sends \"AS\" last and nothing after it", &detachesLast},
        {"replies.given_back", 1, 1,
         "every reply of TG, XI and RN comes back once, nothing else comes back", &givenBack},
        {"replies.parent_replies", 1, 1, "a reply to its parent is a buffer the host gives back",
         &parentReplies},
        {"replies.null_answers", 1, 1, "it survives null replies from the host", &nullAnswers},
        {"replies.empty_answers", 1, 1, "it survives empty replies from the host", &emptyAnswers},
        {"commands.known", 2, 1, "every command it sends is one the host reads", &knownCommands},
        {"commands.whole", 2, 1, "no command is cut short when the texts are long", &wholeCommands},
        {"commands.kinds", 2, 1, "it sends the host only kinds 0 and 5", &hostKinds},
        {"calls.no_exceptions", 2, 1,
         "nothing is thrown out of the factory, callback or "
         "the destructor",
         &noExceptions},
        {"messages.timer_ticks", 2, 1, "it survives ticks of any timer id", &timerTicks},
        {"messages.other_kinds", 3, 1,
         "kinds 0, 5 (null), 6, 7 and kinds beyond: survived, and nothing sent", &otherKinds},
        {"messages.null_records", 3, 1,
         "null records and null texts in records: survived, nothing sent for a null record",
         &nullRecords},
        {"messages.big_texts", 3, 1, "texts of 1 MiB in every message", &bigTexts},
        {"messages.full_stops", 3, 1, "33 and more full stops in a parent command", &fullStops},
        {"messages.big_numbers", 3, 1, "numbers beyond int, and int's limits", &bigNumbers},
        {"messages.odd_bytes", 3, 1, "invalid UTF-8 and control characters", &oddBytes},
        {"nesting.same_outcome", 4, 1,
         "the same outcome whether what a command sets off comes inside it or after it",
         &sameOutcomeNested},
        {"memory.no_growth", 5, 2, "no heap growth over a run of messages", &noHeapGrowth},
        {"memory.instances_apart", 5, 1,
         "two instances driven apart give the outputs of one: no state outside the object",
         &instancesApart},
        {"fuzz.sequences", 5, 2, "seeded random message sequences are survived", &shortFuzz},
        {"memory.soak", 10, 12, "no heap growth over a long run", &heapSoak},
        {"fuzz.long", 10, 12, "long seeded random message sequences", &longFuzz},
    };
    return tests;
}

namespace {

TestOutcome runScenario(CheckContext& context) {
    std::ostringstream out;
    Transcript transcript(out, Transcript::Format::Text, true);
    const ScenarioOutcome outcome = runScenarioFile(
        context.scenario, transcript, ScenarioSettings(Variables{{"module", context.modulePath}}));
    if (outcome == ScenarioOutcome::Passed) {
        return TestOutcome::pass();
    }
    std::string lines = out.str();
    while (!lines.empty() && lines.back() == '\n') {
        lines.pop_back();
    }
    const std::size_t first = lines.find('\n');
    return TestOutcome::fail(first == std::string::npos ? lines : lines.substr(0, first));
}

} // namespace

CheckTest scenarioTest(const std::string& file) {
    const std::size_t slash = file.find_last_of("/\\");
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        name = name.substr(0, dot);
    }
    return {"scenario." + name, 1,   2, "the steps of " + file + ", under the host's rules",
            &runScenario,       file};
}
