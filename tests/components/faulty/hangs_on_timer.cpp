// Fault: never returns from a timer tick.
#include "faulty.h"

class hangs_on_timer : public faulty_component {
public:
    using faulty_component::faulty_component;

protected:
    void onTimer(int) override {
        volatile bool forever = true;
        while (forever) {
        }
    }
};

FAULTY_COMPONENT_FACTORY(hangs_on_timer)
