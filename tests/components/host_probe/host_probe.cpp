// host_probe: a component for testing hosts. It does what its parent tells it and tells
// its parent what it hears, so that a scenario can drive any host command and see every
// message a host delivers.
//
// Parent commands:
//   send=<command>   sends <command>; gives a reply of TG, XI or RN back, and answers its
//                    parent with the host's reply ("(null)" for none)
// and the breaches a host must report:
//   keep=<command>   sends <command> and keeps its reply
//   back=<command>   sends <command> and gives its reply back whatever the command
//   twice=<command>  sends <command> and gives its reply back twice
//   bogus            gives back a pointer the host never handed out
//   stop=<id>        stops a timer ("ET <id>")
// Notifications to the parent ("HN"):
//   rev=<device>,<index>,<text>   for each revertive
//   tick=<id>                     for each timer tick (the timer is not stopped)
//   event=<panel>,<control>,<command>,<value>   for each control event
#include <zarn_script_helper/zarn_script_helper.h>

#include <string>

namespace {

bool isReadingCommand(const std::string& text) {
    return text.rfind("TG ", 0) == 0 || text.rfind("XI ", 0) == 0 || text.rfind("RN ", 0) == 0;
}

class host_probe : public zarn_script_helper {
public:
    host_probe(zarn_client_callback* host, const char* text) : zarn_script_helper(host, text) {
        panelShow(zarn_string(1, 0, 0, 10), "host_probe.zarn_ui", "");
    }

protected:
    void onControlEvent(const ControlEventView& event) override {
        hostNotify(zarn_string("event=%1,%2,%3,%4")
                       .arg(event.panel())
                       .arg(event.control())
                       .arg(event.eventCommand())
                       .arg(event.eventValue()));
    }

    int onRevertive(const RevertiveRecordView& revertive) override {
        hostNotify(zarn_string("rev=%1,%2,%3")
                       .arg(revertive.device())
                       .arg(revertive.index())
                       .arg(revertive.text()));
        return 0;
    }

    zarn_string onParentCommand(const ParsedCommandView& command) override {
        const zarn_string key = command.command();
        const std::string value = command.value().data();
        if (key == "stop") {
            timerStop(command.value().toInt());
            return zarn_string();
        }
        if (key == "bogus") {
            host->callback(notHandedOut_, zarn_kind_give_back);
            return zarn_string();
        }
        if (host == nullptr ||
            (key != "send" && key != "keep" && key != "back" && key != "twice")) {
            return zarn_string();
        }
        void* reply = host->callback(const_cast<char*>(value.c_str()), zarn_kind_host_command);
        const zarn_string answer = reply != nullptr ? static_cast<const char*>(reply) : "(null)";
        const int giveBacks = key == "keep"                              ? 0
                              : key == "twice"                           ? 2
                              : key == "back" || isReadingCommand(value) ? 1
                                                                         : 0;
        for (int i = 0; i < giveBacks && reply != nullptr; ++i) {
            host->callback(reply, zarn_kind_give_back);
        }
        return answer;
    }

    void onTimer(int timerId) override { hostNotify(zarn_string("tick=%1").arg(timerId)); }

private:
    char notHandedOut_[4] = "abc";
};

} // namespace

ZARN_COMPONENT_EXPORT zarn_client_callback* load_zarn_client_script(zarn_client_callback* host,
                                                                    const char* text) {
    return zarn_script_helper::create<host_probe>(host, text);
}
