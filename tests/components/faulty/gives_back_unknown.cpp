// Fault: gives back a pointer that the host never handed out.
#include "faulty.h"

class gives_back_unknown : public faulty_component {
public:
    gives_back_unknown(zarn_client_callback* host, const char* text)
        : faulty_component(host, text) {
        if (host != nullptr) {
            host->callback(notHandedOut_, zarn_kind_give_back);
        }
    }

private:
    char notHandedOut_[8] = "mine";
};

FAULTY_COMPONENT_FACTORY(gives_back_unknown)
