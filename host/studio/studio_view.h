// A read-only view of a studio, for what scenarios check and what the panel shows: the
// instances and what they sent in the current action, their controls, registrations and
// timers, and the panel view.
#pragma once

#include "panel_view.h"
#include "studio_state.h"

#include <string>
#include <vector>

class StudioView {
public:
    explicit StudioView(const StudioState& studio) : studio_(studio) {}

    bool placed(const std::string& instance) const;
    bool hasGroup(const std::string& group) const;
    // An instance of that name was placed, whether it lives or not.
    bool known(const std::string& instance) const;
    // The commands the newest instance of that name sent in the current action, also when
    // the action destroyed it: its last words were sent then.
    std::vector<std::string> sentDuringAction(const std::string& instance) const;
    // The names of the instances the host called in the current action, in the order of
    // the first call into each.
    std::vector<std::string> calledDuringAction() const;
    // The control on any panel the live instance shows, or null.
    const Control* control(const std::string& instance, const std::string& control) const;
    std::vector<DestinationRange> registrations(const std::string& instance, int device) const;
    bool timerRunning(const std::string& instance, int id) const;
    // Every live instance, with its first panel and whether its group has it selected.
    PanelView panel() const;

private:
    const StudioState& studio_;
};
