// Fault: allocates for every revertive and never frees it.
#include "faulty.h"

#include <cstring>

class leaks_on_revertive : public faulty_component {
public:
    using faulty_component::faulty_component;

protected:
    int onRevertive(const RevertiveRecordView& revertive) override {
        char* copy = new char[256];
        std::strncpy(copy, revertive.text().data(), 255);
        copy[255] = '\0';
        lost_ = copy; // the last one only, and that one overwritten by the next
        return 0;
    }

private:
    volatile char* lost_ = nullptr;
};

FAULTY_COMPONENT_FACTORY(leaks_on_revertive)
