// Router links: routers of the studio that are real routers, reached over their own
// protocols (Videohub, SW-P-08). The studio knows them only through these two interfaces;
// the links themselves, with their sockets, are in host/routers/.
//
// Numbers here count from 1, as everywhere in zarn-host: destination 1 is the first, and
// SW-P-08 matrix 1 level 1 the first matrix and level. The links turn them into the
// protocols' own numbers.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <string>

struct RouterLinkSpec {
    std::string protocol; // "videohub" or "swp08"
    std::string host;
    unsigned short port = 0;
    int matrix = 1; // swp08
    int level = 1;  // swp08

    // "videohub 127.0.0.1:9990", "swp08 127.0.0.1:8910 matrix 1 level 1"
    std::string describe() const {
        std::string text = protocol + " " + host + ":" + std::to_string(port);
        if (protocol == "swp08") {
            text += " matrix " + std::to_string(matrix) + " level " + std::to_string(level);
        }
        return text;
    }
};

// Where a link is: connecting (the first time), up (the router's whole state read), or
// away (it went, or could not be made, and is being tried again).
struct LinkStatus {
    enum class State { None, Connecting, Up, Away };
    State state = State::None;
    std::string why; // away: the reason

    // "up", "connecting", "away: <why>"; "" for no link.
    std::string text() const {
        switch (state) {
        case State::None:
            return "";
        case State::Connecting:
            return "connecting";
        case State::Up:
            return "up";
        case State::Away:
            return "away: " + why;
        }
        return "";
    }
};

// What the links tell the studio, on the studio's thread.
class RouterLinkEvents {
public:
    virtual ~RouterLinkEvents() = default;
    // The link is up and the router's whole state read: what it is, in words.
    virtual void linkUp(int device, const std::string& what) = 0;
    // The link went, or could not be made; it is retried.
    virtual void linkAway(int device, const std::string& why) = 0;
    // What the router says: its source names, and where its destinations are routed
    // (destination to source). The studio takes what changed.
    virtual void reportedNames(int device, const std::map<int, std::string>& names) = 0;
    virtual void reportedRoutes(int device, const std::map<int, int>& routes) = 0;
    // Something the router sent that the link could not use (a NAK, a malformed frame,
    // a route beyond the router's size), with the bytes seen.
    virtual void linkProblem(int device, const std::string& what) = 0;
};

// The links of one studio.
class RouterLinks {
public:
    virtual ~RouterLinks() = default;
    // Links `device` to the router `spec` names and starts connecting; gives why it cannot,
    // or "".
    virtual std::string link(int device, const RouterLinkSpec& spec) = 0;
    virtual bool linked(int device) const = 0;
    virtual LinkStatus status(int device) const = 0;
    // "videohub 127.0.0.1:9990"; "" for a device without a link.
    virtual std::string describe(int device) const = 0;
    // Asks the router to route; the route changes when the router reports it. Gives why
    // the take cannot be sent (the link is away, a number beyond the router's size), or "".
    virtual std::string take(int device, int destination, int source) = 0;
    // Lets the links work for up to `timeout`, until `done()` holds; gives done(). Only
    // where nothing else runs the links (a scenario on its own thread).
    virtual bool pump(std::chrono::milliseconds timeout, const std::function<bool()>& done) = 0;
    // Closes every link for good.
    virtual void stop() = 0;
};
