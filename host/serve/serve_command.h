// zarn-host serve [SCENARIO]: runs a studio (the built-in demo when no scenario is given;
// the scenario's actions first, its expects checked and reported) and serves it to
// browsers until stopped with Ctrl-C or SIGTERM, which stops cleanly: every component
// destroyed and every reply accounted for.
//
// The studio keeps to one thread of its own; the network's thread hands it the pages'
// actions in a queue and sends out what they changed, so that nothing calls a component
// from two threads.
#pragma once

#include "scenario.h"

#include <ostream>
#include <string>

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
};

// Gives the exit status: 0 after a clean stop, 1 when the scenario failed (served all the
// same), 2 when the scenario could not run or the address cannot be listened on.
int runServe(const ServeOptions& options, const char* demoScenario, std::ostream& out,
             std::ostream& errors);
