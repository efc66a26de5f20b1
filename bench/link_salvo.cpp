// A salvo that comes over the routers' own protocols: a router side (a studio whose video
// router is served over Videohub and whose audio router over SW-P-08) and a host side (a
// studio with N destination buttons whose routers are linked to those), in one process
// and on one io_context, over 127.0.0.1. The router side re-routes every video and every
// audio destination once, nine times over; each salvo is timed from its first take to the
// last tally on the host side. Prints one row; nothing here asserts a figure.
//
//   zarn_link_salvo <buttons> [--header]
#include "asio_router_links.h"
#include "scenario.h"
#include "studio.h"
#include "swp08_server.h"
#include "transcript.h"
#include "videohub_server.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace net = boost::asio;

namespace {

constexpr int sources = 32;

std::string hostScenario(int buttons, unsigned short videohub, unsigned short swp08) {
    std::ostringstream text;
    text << "module ry_dest " << RY_DEST_MODULE_PATH << "\n"
         << "router 1 Video videohub 127.0.0.1:" << videohub << "\n"
         << "router 2 Audio swp08 127.0.0.1:" << swp08 << "\n";
    for (int d = 1; d <= buttons; ++d) {
        text << "entry 8 1 " << d << " \"" << d << "," << d << "\"\n"
             << "place dest" << d << " ry_dest destination_id=" << d
             << " package_xpts_id=8 video_matrix_id=1 audio_matrix_id=2\n";
    }
    return text.str();
}

} // namespace

int main(int argc, char** argv) {
    const int buttons = argc >= 2 ? std::atoi(argv[1]) : 0;
    if (buttons <= 0) {
        std::fprintf(stderr, "usage: zarn_link_salvo <buttons> [--header]\n");
        return 2;
    }
    if (argc >= 3 && std::strcmp(argv[2], "--header") == 0) {
        std::printf("%8s  %12s  %10s  %14s\n", "buttons", "routes", "salvo s", "µs/route");
    }
    std::ostringstream discarded;
    Transcript transcript(discarded, Transcript::Format::Text, true);
    net::io_context io;

    // The router side.
    Studio routers(transcript);
    for (int device = 1; device <= 2; ++device) {
        routers.defineRouter(device, device == 1 ? "Video" : "Audio");
        for (int s = 1; s <= sources; ++s) {
            routers.nameSource(device, s, (device == 1 ? "CAM " : "MIC ") + std::to_string(s));
        }
        for (int d = 1; d <= buttons; ++d) {
            routers.route(device, d, 1 + d % sources);
        }
    }
    const net::ip::tcp::endpoint loopback(net::ip::make_address("127.0.0.1"), 0);
    VideohubServer video(io, routers, 1, loopback);
    Swp08Server audio(io, routers, 2, loopback);

    // The host side.
    Studio host(transcript);
    ScenarioSettings settings{Variables{}};
    settings.routerLinks = [&io](RouterLinkEvents& events) {
        return std::make_unique<AsioRouterLinks>(io, events);
    };
    ScenarioRunner runner(host, transcript, settings);
    if (!runner.run(hostScenario(buttons, video.port(), audio.port()), "host", ".") ||
        transcript.failures() != 0) {
        std::fprintf(stderr, "the host side failed:\n%s", discarded.str().c_str());
        return 1;
    }

    std::vector<double> times;
    for (int round = 1; round <= 9; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int d = 1; d <= buttons; ++d) {
            routers.route(1, d, 1 + (d + round) % sources);
            routers.route(2, d, 1 + (d + round) % sources);
        }
        const int last = 1 + (buttons + round) % sources;
        const bool arrived = host.links()->pump(std::chrono::seconds(60), [&] {
            return host.routers().routed(1, buttons) == last &&
                   host.routers().routed(2, buttons) == last;
        });
        if (!arrived) {
            std::fprintf(stderr, "salvo %d did not arrive:\n%s", round, discarded.str().c_str());
            return 1;
        }
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const int routes = 2 * buttons;
    std::printf("%8d  %12d  %10.3f  %14.2f\n", buttons, routes, median, median * 1e6 / routes);
    video.stop();
    audio.stop();
    return 0;
}
