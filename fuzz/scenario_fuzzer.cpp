// libFuzzer: the scenario reader and everything a scenario file can make zarn-host do
// (tokens, variables, continuation lines, every action and expect), against a studio whose
// "module" lines all place the destination button linked into this program, and whose
// ticks are short. Loading module files and long ticks are all that stay outside.
//
// Checked: nothing crashes or leaks (the sanitizers), and every line of a JSON transcript
// is one object.
#include "fuzz_check.h"

#include "scenario.h"
#include "transcript.h"

#include <zarn_script_helper/zarn_client_callback.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

extern "C" zarn_client_callback* load_zarn_client_script(zarn_client_callback* host,
                                                         const char* text);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the transcript's form and the order of deliveries.
    const bool json = (data[0] & 1) != 0;
    const bool nested = (data[0] & 2) != 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::ostringstream out;
    Transcript transcript(out, json ? Transcript::Format::Json : Transcript::Format::Text, false);
    ScenarioSettings settings(Variables{{"components", RY_DEST_SOURCE_DIR},
                                        {"probe", RY_DEST_SOURCE_DIR "/ry_dest"},
                                        {"probe_dir", RY_DEST_SOURCE_DIR}},
                              nested ? DeliveryOrder::Nested : DeliveryOrder::Queued);
    settings.maxTickRounds = 16;
    settings.moduleAt = [](const std::string&) {
        return std::make_unique<ComponentModule>("linked ry_dest", &load_zarn_client_script);
    };
    // The layout lies beside the source of the component, so "place" shows it.
    runScenarioText(text, "fuzz", RY_DEST_SOURCE_DIR, transcript, settings);
    if (json) {
        std::istringstream lines(out.str());
        std::string line;
        while (std::getline(lines, line)) {
            FUZZ_CHECK(!line.empty() && line.front() == '{' && line.back() == '}',
                       "every line of a JSON transcript is one object");
        }
    }
    return 0;
}
