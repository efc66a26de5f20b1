// The studio at scale: the demo's structure (a name table, a crosspoint table, a video and
// an audio matrix, destination buttons in one group) with N buttons, then a salvo that
// re-routes every video and every audio destination once, fifteen times over. Prints one
// row: the time of the setup and of the median salvo, the median and the best salvo's time
// per revertive (the best is the steadier figure on a shared machine) and the peak memory
// per button. bench/load runs it for
// several sizes; nothing here asserts a figure.
//
//   zarn_studio_load <buttons> [--header]
#include "scenario.h"
#include "studio.h"
#include "transcript.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int sources = 32;

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Destination d (from 1) of the package uses video destination d and audio destination d.
std::string setupScenario(int buttons) {
    std::ostringstream text;
    text << "module ry_dest " << RY_DEST_MODULE_PATH << "\n"
         << "router 1 \"Video matrix\"\nrouter 2 \"Audio matrix\"\n";
    for (int s = 1; s <= sources; ++s) {
        text << "source 1 " << s << " \"CAM " << s << "\"\n"
             << "source 2 " << s << " \"MIC " << s << "\"\n";
    }
    for (int d = 1; d <= buttons; ++d) {
        text << "entry 7 1 " << d << " \"Dest " << d << "\"\n"
             << "entry 8 1 " << d << " \"" << d << "," << d << "\"\n"
             << "route 1 " << d << " " << 1 + d % sources << "\n"
             << "route 2 " << d << " " << 1 + d % sources << "\n";
    }
    for (int d = 1; d <= buttons; ++d) {
        text << "place dest" << d << " ry_dest group studio destination_id=" << d
             << " package_name_id=7 package_xpts_id=8 video_matrix_id=1 audio_matrix_id=2"
                " buttonhigh=selected buttonlow=idle buttonstyle=wide\n";
    }
    return text.str();
}

// Salvo `round` (from 1) moves every destination on by `round` sources.
std::string salvoScenario(int buttons, int round) {
    std::ostringstream text;
    for (int d = 1; d <= buttons; ++d) {
        text << "route 1 " << d << " " << 1 + (d + round) % sources << "\n"
             << "route 2 " << d << " " << 1 + (d + round) % sources << "\n";
    }
    // The last tally shows the salvo's last route.
    text << "expect property dest" << buttons << " Aud text \"MIC "
         << 1 + (buttons + round) % sources << "\"\n";
    return text.str();
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The salvos, each timed; a function of its own, so that a profiler can be told to count
// only them (valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*runSalvos*').
[[gnu::noinline]] bool runSalvos(ScenarioRunner& runner, const std::vector<std::string>& salvos,
                                 std::vector<double>& times) {
    for (const std::string& text : salvos) {
        const auto start = std::chrono::steady_clock::now();
        if (!runner.run(text, "salvo", ".")) {
            return false;
        }
        times.push_back(secondsSince(start));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int buttons = argc >= 2 ? std::atoi(argv[1]) : 0;
    if (buttons <= 0) {
        std::fprintf(stderr, "usage: zarn_studio_load <buttons> [--header]\n");
        return 2;
    }
    if (argc >= 3 && std::strcmp(argv[2], "--header") == 0) {
        std::printf("%8s  %10s  %10s  %12s  %14s  %12s  %12s\n", "buttons", "setup s", "salvo s",
                    "revertives", "µs/revertive", "best µs/rev", "KB/button");
    }
    const std::string setup = setupScenario(buttons);
    constexpr int salvos = 15;
    std::vector<std::string> salvo;
    for (int round = 1; round <= salvos; ++round) {
        salvo.push_back(salvoScenario(buttons, round));
    }
    std::ostringstream discarded;
    Transcript transcript(discarded, Transcript::Format::Text, true);
    const long before = peakKilobytes();
    double setupSeconds = 0;
    double salvoSeconds = 0;
    double bestSeconds = 0;
    {
        Studio studio(transcript);
        ScenarioRunner runner(studio, transcript, ScenarioSettings(Variables{}));
        auto start = std::chrono::steady_clock::now();
        if (!runner.run(setup, "setup", ".")) {
            std::fprintf(stderr, "the setup failed:\n%s", discarded.str().c_str());
            return 1;
        }
        setupSeconds = secondsSince(start);
        std::vector<double> times;
        if (!runSalvos(runner, salvo, times) || transcript.failures() != 0) {
            std::fprintf(stderr, "the salvo failed:\n%s", discarded.str().c_str());
            return 1;
        }
        std::sort(times.begin(), times.end());
        salvoSeconds = times[times.size() / 2];
        bestSeconds = times.front();
    }
    const int revertives = 2 * buttons;
    const double perButton = static_cast<double>(peakKilobytes() - before) / buttons;
    std::printf("%8d  %10.3f  %10.3f  %12d  %14.2f  %12.2f  %12.2f\n", buttons, setupSeconds,
                salvoSeconds, revertives, salvoSeconds * 1e6 / revertives,
                bestSeconds * 1e6 / revertives, perButton);
    return 0;
}
