// A component's usual life as a host lives it, from the boundary alone, for the tests of
// zarn-host check: the parent's descriptive and generic commands, every property that
// "return=all" names set to new values, an event on every control its layout shows, a
// revertive for every destination it registered for, and an answer for one it did not.
#pragma once

#include "check_session.h"

#include <string>
#include <vector>

struct WorkoutTexts {
    // The length of the values and revertive texts it sends (long ones find texts cut short).
    std::size_t length = 6;
};

void workout(CheckSession& session, int instance, const WorkoutTexts& texts = {});

// The keys of a reply of lines "key=value": "a=1\nb=2" gives {"a", "b"}.
std::vector<std::string> propertyKeys(const std::string& reply);

// The folder of the module at `path`, the usual instance path: its layout lies there.
std::string moduleFolder(const std::string& path);
