// Fault: builds its commands in a text too short for them, so that long ones are cut.
#include "faulty.h"

#include <cstdio>

class cut_off_command : public faulty_component {
public:
    using faulty_component::faulty_component;

protected:
    zarn_string onParentCommand(const ParsedCommandView& command) override {
        if (host != nullptr && command.command() == "label") {
            char text[48];
            std::snprintf(text, sizeof text, "TP 'text=%s' '1' 'Label'", command.value().data());
            host->callback(text, zarn_kind_host_command);
        }
        return zarn_string();
    }
};

// It answers "return=all" with its one property, so that a host that sets every property
// sets this one too.
class cut_off_with_property : public cut_off_command {
public:
    using cut_off_command::cut_off_command;

protected:
    zarn_string onParentCommand(const ParsedCommandView& command) override {
        if (command.command() == "return" && command.value() == "all") {
            return zarn_string("label=x");
        }
        return cut_off_command::onParentCommand(command);
    }
};

FAULTY_COMPONENT_FACTORY(cut_off_with_property)
