// Fault: reads a database entry and never gives the reply back.
#include "faulty.h"

class never_gives_back : public faulty_component {
public:
    never_gives_back(zarn_client_callback* host, const char* text) : faulty_component(host, text) {
        if (host != nullptr) {
            kept_ = host->callback(const_cast<char*>("RN 1 1 1"), zarn_kind_host_command);
        }
    }

private:
    void* kept_ = nullptr;
};

FAULTY_COMPONENT_FACTORY(never_gives_back)
