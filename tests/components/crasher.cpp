// crasher: a component that brings its host down on purpose, for testing what the host
// keeps of its transcript when a module crashes. It shows no panel; the parent command
// "crash" dereferences a null pointer, every other command is answered with nothing.
#include <zarn_script_helper/zarn_script_helper.h>

#include <csignal>

namespace {

class crasher : public zarn_script_helper {
public:
    using zarn_script_helper::zarn_script_helper;

protected:
    void onControlEvent(const ControlEventView&) override {}
    int onRevertive(const RevertiveRecordView&) override { return 0; }
    zarn_string onParentCommand(const ParsedCommandView& command) override {
        if (command.command() == "crash") {
            std::raise(SIGSEGV);
        }
        return zarn_string();
    }
    void onTimer(int) override {}
};

} // namespace

ZARN_COMPONENT_EXPORT zarn_client_callback* load_zarn_client_script(zarn_client_callback* host,
                                                                    const char* text) {
    return zarn_script_helper::create<crasher>(host, text);
}
