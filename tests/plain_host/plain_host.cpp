// A host that knows only the boundary: the interface, the records, the parse of a command
// text and the export name, all header only. It links none of the project's libraries; it
// loads a component module by the path given on the command line and checks what the
// destination button sends.
//
//   plain_host <path of ry_dest module>     exit 0 when every check holds
#include <zarn_script_helper/parsed_command.h>
#include <zarn_script_helper/records.h>
#include <zarn_script_helper/zarn_client_callback.h>

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

class PlainHost : public zarn_client_callback {
public:
    std::vector<std::string> sent;
    int failures = 0;

    void* callback(void* data, int kind) override {
        if (kind == zarn_kind_host_command) {
            sent.emplace_back(static_cast<const char*>(data));
            if (sent.back() == "RN 8 1 12") {
                return copy("17,33"); // the crosspoint entry: video 17, audio 33
            }
            return nullptr;
        }
        if (kind == zarn_kind_give_back) {
            delete[] static_cast<char*>(data);
            return nullptr;
        }
        fail("the component sent kind " + std::to_string(kind));
        return nullptr;
    }

    void expect(const std::vector<std::string>& commands, const char* what) {
        if (sent != commands) {
            std::string got;
            for (const std::string& text : sent) {
                got += "\n    " + text;
            }
            fail(std::string(what) + ": got" + got);
        }
        sent.clear();
    }

    void fail(const std::string& why) {
        std::fprintf(stderr, "plain_host: %s\n", why.c_str());
        ++failures;
    }

private:
    static char* copy(const char* text) {
        char* reply = new char[std::strlen(text) + 1];
        std::strcpy(reply, text);
        return reply;
    }
};

std::string ask(zarn_client_callback& component, const char* text) {
    void* reply = component.callback(const_cast<char*>(text), zarn_kind_parent_command);
    if (reply == nullptr) {
        return "";
    }
    std::string answer(static_cast<const char*>(reply));
    component.callback(reply, zarn_kind_give_back);
    return answer;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: plain_host <component module>\n");
        return 2;
    }
    void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::fprintf(stderr, "plain_host: %s\n", dlerror());
        return 1;
    }
    auto factory =
        reinterpret_cast<zarn_load_client_script>(dlsym(module, ZARN_LOAD_CLIENT_SCRIPT_NAME));
    if (factory == nullptr) {
        std::fprintf(stderr, "plain_host: no %s in %s\n", ZARN_LOAD_CLIENT_SCRIPT_NAME, argv[1]);
        return 1;
    }

    PlainHost host;
    zarn_client_callback* component = factory(&host, "");
    if (component == nullptr) {
        std::fprintf(stderr, "plain_host: the factory gave no component\n");
        return 1;
    }
    host.expect({"PS '1' 'ry_dest.zarn_ui'"}, "construction");

    for (const char* text :
         {"destination_id=12", "package_xpts_id=8", "video_matrix_id=1", "audio_matrix_id=2"}) {
        ask(*component, text);
    }
    host.expect({"TP 'text=' '1' 'Vid'", "TP 'text=' '1' 'Aud'", "RN 8 1 12", "RR 2 33 33",
                 "RP 2 33 33", "RR 1 17 17", "RP 1 17 17"},
                "configuration");

    // A revertive laid out by hand: the text lives in the record itself.
    alignas(RevertiveRecord) unsigned char storage[revertiveRecordSize(8)] = {};
    auto* revertive = reinterpret_cast<RevertiveRecord*>(storage);
    revertive->device = 2;
    revertive->index = 33;
    std::memcpy(revertive->text, "MIC 4 LR", 9);
    component->callback(revertive, zarn_kind_revertive);
    host.expect({"TP 'text=MIC 4 LR' '1' 'Aud'"}, "audio tally");

    // A control event, its event text parsed as the base parses a parent command.
    ParsedCommand event;
    parseCommand("button=released", event);
    ControlEvent release{0, 0, "1", "Button", &event};
    component->callback(&release, zarn_kind_control_event);
    delete[] event.buffer;
    host.expect({"TP 'statesheet=' '1' 'Button'", "HN 'select=12'"}, "release");

    component->callback(reinterpret_cast<void*>(static_cast<std::intptr_t>(5)), zarn_kind_timer);
    host.expect({"ET 5"}, "timer");

    if (ask(*component, "return=audio_id") != "audio_id=33") {
        host.fail("return=audio_id");
    }

    delete component;
    host.expect({"AS"}, "destruction");
    dlclose(module);
    if (host.failures == 0) {
        std::printf("plain_host: the module behaves as a component\n");
    }
    return host.failures == 0 ? 0 : 1;
}
