// libFuzzer: the messages a browser page sends zarn-host serve. Whatever the bytes, the
// reader gives an action or a reason; an action's numbers and texts are in their ranges,
// and the error message built for a refused one is valid JSON.
#include "fuzz_check.h"

#include "json.h"
#include "protocol.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ParsedClientMessage parsed = parseClientMessage(text);
    FUZZ_CHECK(parsed.action.has_value() != !parsed.error.empty(), "an action or a reason");
    if (parsed.action) {
        const ClientAction& action = *parsed.action;
        FUZZ_CHECK(action.device >= 0 && action.source >= 0 && action.destination >= 0,
                   "numbers in range");
        FUZZ_CHECK(action.instance.size() <= maxClientText &&
                       action.control.size() <= maxClientText &&
                       action.name.size() <= maxClientText,
                   "texts in range");
        return 0;
    }
    const std::string line = jsonLine(errorMessage(parsed.error, text));
    FUZZ_CHECK(!nlohmann::json::parse(line, nullptr, false).is_discarded(),
               "the error message is valid JSON");
    return 0;
}
