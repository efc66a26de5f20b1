// A snapshot of what every placed instance shows, for drawing.
#pragma once

#include "layout.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

struct InstanceView {
    std::string name;
    std::string group;   // empty: in no group
    bool selected;       // the group's selection is this instance's destination
    std::string panelId; // the first panel it showed; empty: none
    std::vector<Control> controls;
};

// A router of the studio that is linked to a real router.
struct LinkView {
    int device;
    std::string name;
    std::string link;   // "videohub 127.0.0.1:9990"
    std::string status; // "up", "connecting", "away: <why>"
};

struct PanelView {
    std::vector<InstanceView> instances;
    std::vector<LinkView> links;
};

// Draws every instance as a small box: the first control as the button with its text as
// the caption and its other properties beside it, then each further control (the
// tallies) on a line of its own. The selected instance is marked with a *. Linked
// routers, when there are any, come first, a line each with where their link is.
std::string drawPanel(const PanelView& view);
// The same as one JSON object: {"type":"panel","instances":[{"instance", "group",
// "selected", "panel", "controls":[{"id", "properties":{...}}]}]}, and when routers are
// linked "links":[{"device", "name", "link", "status"}].
nlohmann::ordered_json panelJson(const PanelView& view);
