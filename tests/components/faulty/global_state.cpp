// Fault: counts in a global, so that two instances see each other's count.
#include "faulty.h"

namespace {

int answered = 0; // shared by every instance: the fault

} // namespace

class global_state : public faulty_component {
public:
    using faulty_component::faulty_component;

protected:
    zarn_string onParentCommand(const ParsedCommandView&) override {
        return zarn_string("answered=%1").arg(++answered);
    }
};

FAULTY_COMPONENT_FACTORY(global_state)
