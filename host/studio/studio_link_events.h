// What the router links tell a studio, turned into its routes, names and transcript: a
// link's report changes only what differs from what the studio holds, so that a link that
// comes back and reads the router's whole state again sends a revertive for each
// destination that changed while it was away, and for no other.
#pragma once

#include "router_links.h"

#include <map>
#include <string>

class Studio;

class StudioLinkEvents : public RouterLinkEvents {
public:
    explicit StudioLinkEvents(Studio& studio) : studio_(studio) {}

    void linkUp(int device, const std::string& what) override;
    void linkAway(int device, const std::string& why) override;
    void reportedNames(int device, const std::map<int, std::string>& names) override;
    void reportedRoutes(int device, const std::map<int, int>& routes) override;
    void linkProblem(int device, const std::string& what) override;

private:
    // "router 1 (videohub 127.0.0.1:9990)"
    std::string where(int device) const;

    Studio& studio_;
};
