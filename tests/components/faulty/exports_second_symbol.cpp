// Fault: exports a second symbol beside its factory (built without the export map).
#include "faulty.h"

class exports_second_symbol : public faulty_component {
public:
    using faulty_component::faulty_component;
};

FAULTY_COMPONENT_FACTORY(exports_second_symbol)

ZARN_COMPONENT_EXPORT int zarn_faulty_extra_symbol() {
    return 42;
}
