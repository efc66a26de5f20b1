// The panels one instance has shown, and the properties of their controls.
#pragma once

#include "layout.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A shown panel. Finding a control takes constant time however many the panel has: a
// panel with more than a few keeps an index of them.
struct Panel {
    std::string id;
    std::vector<Control> controls;
    // Control id to its position in controls, for panels of more than `scanned` controls.
    std::unordered_map<std::string, std::size_t> index;
    static constexpr std::size_t scanned = 8;

    Control* control(std::string_view controlId);
    const Control* control(std::string_view controlId) const;
    // Where the control stands; controls.size() when it is not there.
    std::size_t position(std::string_view controlId) const;
};

class Panels {
public:
    enum class Found { Yes, NoPanel, NoControl };

    // Shows `controls` as panel `id`, in place of what that panel showed before.
    void show(const std::string& id, std::vector<Control> controls);
    // Sets one property ("TP").
    Found set(std::string_view panel, std::string_view control, std::string_view property,
              std::string_view value);
    // "property=value", or every property of the control for "all", one a line ("TG").
    // A property the control does not have reads as empty.
    Found get(std::string_view panel, std::string_view control, std::string_view property,
              std::string& reply) const;
    // The ids of the panel's controls that start with `prefix`, comma-separated ("XI").
    Found list(std::string_view panel, std::string_view prefix, std::string& reply) const;

    const Control* control(std::string_view control) const; // on any panel, first shown first
    const std::vector<Panel>& all() const { return panels_; }

private:
    Panel* panel(std::string_view id);
    const Panel* panel(std::string_view id) const;

    std::vector<Panel> panels_;
};
