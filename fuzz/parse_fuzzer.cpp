// The parent command parse on arbitrary text: the record always reads back as the text
// it was made from, and every pointer stays in the record's own copy or on the shared
// empty text.
#include "fuzz_check.h"

#include <zarn_script_helper/parsed_command.h>

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // A parent text ends at its first zero byte.
    const std::string text = bytes.c_str();
    const OwnedParsedCommand record(bytes.c_str());
    const ParsedCommand& parsed = record.record();

    FUZZ_CHECK(parsed.subPartCount >= 0 && parsed.subPartCount <= ParsedCommand::maxSubParts,
               "sub-part count in range");
    FUZZ_CHECK((parsed.buffer == nullptr) == text.empty(), "a copy exactly for a non-empty text");
    const char* begin = parsed.buffer;
    const char* end = begin != nullptr ? begin + text.size() + 1 : nullptr;
    const auto owned = [&](const char* p) {
        return p == parsedCommandEmptyText() || (begin != nullptr && p >= begin && p < end);
    };
    FUZZ_CHECK(owned(parsed.command) && owned(parsed.value), "command and value owned");
    for (const char* part : parsed.subParts) {
        FUZZ_CHECK(owned(part), "every sub-part owned");
    }

    // command, then "." and each sub-part, then "=" and the value: the text again.
    std::string rebuilt = parsed.command;
    FUZZ_CHECK(rebuilt.find_first_of(".=") == std::string::npos, "command holds no separator");
    for (int i = 0; i < parsed.subPartCount; ++i) {
        const std::string part = parsed.subParts[i];
        const bool last = i == ParsedCommand::maxSubParts - 1;
        FUZZ_CHECK(last || part.find_first_of(".=") == std::string::npos,
                   "only the 32nd sub-part may hold separators");
        rebuilt += "." + part;
    }
    FUZZ_CHECK(parsed.hasValue || *parsed.value == '\0', "no value without an =");
    if (parsed.hasValue) {
        rebuilt += "=" + std::string(parsed.value);
    }
    FUZZ_CHECK(rebuilt == text, "the record reads back as its text");
    return 0;
}
