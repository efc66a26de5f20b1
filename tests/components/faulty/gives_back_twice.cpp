// Fault: gives the reply of a database entry back twice.
#include "faulty.h"

class gives_back_twice : public faulty_component {
public:
    gives_back_twice(zarn_client_callback* host, const char* text) : faulty_component(host, text) {
        if (host != nullptr) {
            void* reply = host->callback(const_cast<char*>("RN 1 1 1"), zarn_kind_host_command);
            host->callback(reply, zarn_kind_give_back);
            host->callback(reply, zarn_kind_give_back);
        }
    }
};

FAULTY_COMPONENT_FACTORY(gives_back_twice)
