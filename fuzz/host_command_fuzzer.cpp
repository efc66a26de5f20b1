// libFuzzer: the host command interpreter. Each line of the input is a text a component
// sends with kind 0, to a studio with a router, a database and a shown panel; the fuzzer
// gives back what the rules say a component gives back. Checked: a quoted command reads
// back as the text it came from, only "TG", "XI" and "RN" answer with a reply of the
// ledger (given back exactly once), "PS" with the host's own, and nothing is left out.
#include "fuzz_check.h"

#include "host_command.h"
#include "host_command_interpreter.h"
#include "layout.h"
#include "studio_state.h"
#include "transcript.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

// The text of a quoted command, from its parts.
std::string quotedText(const HostCommand& command) {
    std::string text = std::string(command.word) + " '";
    for (std::size_t i = 0; i < command.fieldCount; ++i) {
        text += (i == 0 ? "" : "' '") + std::string(command.fields[i]);
    }
    return text + "'";
}

bool reads(std::string_view word) {
    return word == "TG" || word == "XI" || word == "RN";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::ostringstream out;
    Transcript transcript(out, Transcript::Format::Text, false);
    StudioState studio(transcript);
    studio.folder = RY_DEST_SOURCE_DIR;
    studio.routers.define(1, "Video");
    studio.routers.nameSource(1, 3, "CAM 3");
    studio.routers.route(1, 17, 3);
    studio.databases.set(8, 1, 12, "17,33");
    Instance& instance = studio.instances.add("p", "probe", "desk");
    studio.groups.join("desk", instance.id);
    instance.panels.show("1", parseLayout("Button text=a\nalm_1 value=1\nalm_2\n").controls);

    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    std::string text;
    while (std::getline(lines, text)) {
        const ParsedHostCommand parsed = parseHostCommand(text);
        void* reply = interpretCommand(studio, instance, text);
        studio.deliveries.clear(); // there is no component to hear them
        studio.error.clear();
        if (!parsed.command) {
            FUZZ_CHECK(reply == nullptr, "a text no host reads has no reply");
            continue;
        }
        const HostCommand& command = *parsed.command;
        if (command.quoted()) {
            FUZZ_CHECK(quotedText(command) == text, "a quoted command reads back as its text");
        }
        if (reads(command.word)) {
            if (reply != nullptr) {
                std::string answered;
                FUZZ_CHECK(studio.ledger.takeBack(instance.id, reply, answered) ==
                               ReplyLedger::Back::Freed,
                           "a reading reply comes from the ledger");
                FUZZ_CHECK(answered == text || command.word == "RN", "it answers this command");
            }
        } else {
            FUZZ_CHECK(reply == nullptr || (command.word == "PS" && reply == studio.shownReply),
                       "only PS answers with the host's own reply");
        }
    }
    FUZZ_CHECK(studio.ledger.collectOutstanding(instance.id).empty(), "nothing is left out");
    return 0;
}
