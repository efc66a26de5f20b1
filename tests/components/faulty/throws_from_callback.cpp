// Fault: lets an exception out of callback for every parent command.
#include "faulty.h"

#include <stdexcept>

class throws_from_callback : public faulty_component {
public:
    using faulty_component::faulty_component;

    void* callback(void* data, int kind) override {
        if (kind == zarn_kind_parent_command) {
            throw std::runtime_error("thrown on purpose");
        }
        return faulty_component::callback(data, kind);
    }
};

FAULTY_COMPONENT_FACTORY(throws_from_callback)
