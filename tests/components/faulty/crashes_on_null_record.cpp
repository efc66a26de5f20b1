// Fault: reads a revertive record without looking whether there is one.
#include "faulty.h"

class crashes_on_null_record : public faulty_component {
public:
    using faulty_component::faulty_component;

    void* callback(void* data, int kind) override {
        if (kind == zarn_kind_revertive) {
            const volatile int device = static_cast<const RevertiveRecord*>(data)->device;
            (void)device;
        }
        return faulty_component::callback(data, kind);
    }
};

FAULTY_COMPONENT_FACTORY(crashes_on_null_record)
