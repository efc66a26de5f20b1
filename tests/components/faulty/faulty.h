// The faulty components that prove zarn-host check: each breaks the host contract in one
// way and is otherwise a plain component (it shows no panel and answers nothing), so that
// the validator must find that one fault and no other.
#pragma once

#include <zarn_script_helper/zarn_script_helper.h>

class faulty_component : public zarn_script_helper {
public:
    using zarn_script_helper::zarn_script_helper;

protected:
    void onControlEvent(const ControlEventView&) override {}
    int onRevertive(const RevertiveRecordView&) override { return 0; }
    zarn_string onParentCommand(const ParsedCommandView&) override { return zarn_string(); }
    void onTimer(int timerId) override { timerStop(timerId); }
};

// The factory of the faulty component `Type`.
#define FAULTY_COMPONENT_FACTORY(Type)                                                             \
    ZARN_COMPONENT_EXPORT zarn_client_callback* load_zarn_client_script(                           \
        zarn_client_callback* host, const char* text) {                                            \
        return zarn_script_helper::create<Type>(host, text);                                       \
    }
