// The call into a module that is under way, written where the parent of a test's child
// process can read it after the child crashed or hung: which message kind, and what it
// carried. Plain bytes, so that it can live in memory shared between the two.
#pragma once

#include <cstdio>
#include <cstring>

struct InFlight {
    // The message kind of the call under way (0 to 7 and beyond), or one of these.
    static constexpr int factory = -1;
    static constexpr int destructor = -2;
    static constexpr int none = -3;

    int kind = none;
    int depth = 0; // calls under way, one inside the other
    char what[240] = {};

    // A call begins; gives what was under way before, to be put back when it ends.
    InFlight enter(int callKind, const char* description) {
        const InFlight before = *this;
        kind = callKind;
        ++depth;
        std::snprintf(what, sizeof what, "%s", description);
        return before;
    }
    void leave(const InFlight& before) { *this = before; }

    // "kind 1 (a revertive of device 2, destination 33)", "the factory", ...
    void describe(char* out, std::size_t room) const {
        if (kind == factory) {
            std::snprintf(out, room, "in the factory (%s)", what);
        } else if (kind == destructor) {
            std::snprintf(out, room, "in the destructor");
        } else if (kind == none) {
            std::snprintf(out, room, "outside any call into the module");
        } else {
            std::snprintf(out, room, "in callback, kind %d (%s)", kind, what);
        }
    }
};
