// Runs one operation of the tally path N times, for counting instructions with
// valgrind --tool=cachegrind, which counts the same on a noisy machine as on a quiet one.
// bench/count_instructions runs it twice (N and 2N) and divides the difference by N, so
// that the setup cancels out.
//
//   zarn_tally_ops matching|not-matching|baseline <N>
#include "bench_setup.h"

#include <zarn_script_helper/record_builders.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The same "TP" text a matching revertive sends, built by hand on the stack and sent to
// the same host: the practical limit of the tally path.
[[gnu::noinline]] void baseline(zarn_client_callback* host, const RevertiveRecord* record) {
    if (record->device == 2 && record->index == 33) {
        char text[256];
        const std::size_t length = std::strlen(record->text);
        std::memcpy(text, "TP 'text=", 9);
        std::memcpy(text + 9, record->text, length);
        std::memcpy(text + 9 + length, "' '1' 'Aud'", 12);
        host->callback(text, zarn_kind_host_command);
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string operation = argc == 3 ? argv[1] : "";
    const long count = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 0;
    if ((operation != "matching" && operation != "not-matching" && operation != "baseline") ||
        count <= 0) {
        std::fprintf(stderr, "usage: zarn_tally_ops matching|not-matching|baseline <N>\n");
        return 2;
    }
    if (!benchModule().loaded()) {
        std::fprintf(stderr, "%s\n", benchModule().error().c_str());
        return 1;
    }
    BenchHost host;
    Component component = configured(host, 12, 17, 33);
    OwnedRevertive revertive(2, operation == "not-matching" ? 34 : 33, "MIC 4");
    RevertiveRecord* record = revertive.record();
    zarn_client_callback* target = &host;
    const bool byHand = operation == "baseline";
    const long before = host.commands;
    for (long i = 0; i < count; ++i) {
        if (byHand) {
            baseline(target, record);
        } else {
            component->callback(record, zarn_kind_revertive);
        }
    }
    const long sent = host.commands - before;
    const long expected = operation == "not-matching" ? 0 : count;
    if (sent != expected ||
        (expected != 0 && std::strcmp(host.last(), "TP 'text=MIC 4' '1' 'Aud'") != 0)) {
        std::fprintf(stderr, "zarn_tally_ops: %s sent %ld commands, not %ld\n", operation.c_str(),
                     sent, expected);
        return 1;
    }
    return 0;
}
