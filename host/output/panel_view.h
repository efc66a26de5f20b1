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

struct PanelView {
    std::vector<InstanceView> instances;
};

// Draws every instance as a small box: the first control as the button with its text as
// the caption and its other properties beside it, then each further control (the
// tallies) on a line of its own. The selected instance is marked with a *.
std::string drawPanel(const PanelView& view);
// The same as one JSON object: {"type":"panel","instances":[{"instance", "group",
// "selected", "panel", "controls":[{"id", "properties":{...}}]}]}.
nlohmann::ordered_json panelJson(const PanelView& view);
