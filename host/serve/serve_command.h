// zarn-host serve [SCENARIO]: runs a studio (the built-in demo when no scenario is given;
// the scenario's actions first, its expects checked and reported) and serves it to
// browsers until stopped with Ctrl-C or SIGTERM, which stops cleanly: every component
// destroyed and every reply accounted for. Its routers may be real routers' (--router),
// and its routers may be served to control software over the routers' own protocols
// (--videohub, --swp08).
//
// zarn-host router-sim [SCENARIO] is the same without the browsers: a studio whose
// routers are served over the routers' protocols, a router simulator.
//
// The studio keeps to one thread of its own (studio_thread.h), so that nothing calls a
// component from two threads.
#pragma once

#include "router_side.h"
#include "scenario.h"

#include <ostream>
#include <string>
#include <vector>

struct ServeOptions {
    std::string scenario; // empty: the built-in demo
    // Where to listen, "host:port"; a host other than the loopback wants a token, which
    // is made up and printed. Port 0 lets the system pick one, which is printed.
    std::string listen = "127.0.0.1:8080";
    bool listenGiven = false; // --listen was on the command line
    // Come up (the scenario run, the socket open, the address printed), then stop.
    bool openOnly = false;
    bool quiet = false;
    Variables variables;
    // Serve browsers (serve), or only the router side (router-sim).
    bool web = true;
    // Router lines run after the scenario: "1 Hub videohub 10.0.0.5:9990".
    std::vector<std::string> routerLinks;
    std::vector<RouterSideSpec> routerSide;
};

// Gives the exit status: 0 after a clean stop, 1 when the scenario failed (served all the
// same), 2 when the scenario could not run or an address cannot be listened on.
int runServe(const ServeOptions& options, const char* demoScenario, std::ostream& out,
             std::ostream& errors);
