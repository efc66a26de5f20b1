// The whole destination button through its factory and callback: an arbitrary sequence of
// messages of every kind, out-of-range kinds among them, with arbitrary texts and records,
// against a host that answers reading commands with arbitrary replies.
//
// After each message: every reply of a reading command has come back exactly once, no
// pointer came back that the host did not hand out, and the component's properties read
// back as a model of them says ("return=all", "return=destination_id").
#include "fuzz_check.h"

#include <zarn_script_helper/record_builders.h>
#include <zarn_script_helper/zarn_client_callback.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

extern "C" zarn_client_callback* load_zarn_client_script(zarn_client_callback* host,
                                                         const char* text);

namespace {

bool isReadingCommand(const char* text) {
    return std::strncmp(text, "TG ", 3) == 0 || std::strncmp(text, "XI ", 3) == 0 ||
           std::strncmp(text, "RN ", 3) == 0;
}

class FuzzHost : public zarn_client_callback {
public:
    explicit FuzzHost(FuzzedDataProvider& input) : input_(input) {}
    ~FuzzHost() override {
        for (auto& [reply, text] : out_) {
            delete[] static_cast<char*>(reply);
        }
    }

    void* callback(void* data, int kind) override {
        if (kind == zarn_kind_host_command) {
            FUZZ_CHECK(data != nullptr, "a command text");
            const char* text = static_cast<const char*>(data);
            if (isReadingCommand(text)) {
                if (input_.ConsumeBool()) {
                    return nullptr;
                }
                const std::string reply = input_.ConsumeRandomLengthString(48);
                char* array = new char[reply.size() + 1];
                std::memcpy(array, reply.c_str(), reply.size() + 1);
                out_[array] = reply;
                return array;
            }
            // A reply the host keeps; the component must not give it back.
            return input_.ConsumeBool() ? kept_ : nullptr;
        }
        FUZZ_CHECK(kind == zarn_kind_give_back, "a component sends only kinds 0 and 5");
        if (data != nullptr) {
            const auto found = out_.find(data);
            FUZZ_CHECK(found != out_.end(), "only replies handed out come back, and once");
            delete[] static_cast<char*>(data);
            out_.erase(found);
        }
        return nullptr;
    }

    bool allBack() const { return out_.empty(); }

private:
    FuzzedDataProvider& input_;
    std::map<void*, std::string> out_;
    char kept_[8] = "kept";
};

// What the parent has set, as the component must report it.
struct Model {
    static constexpr const char* keys[] = {"destination_id",  "package_name_id", "package_xpts_id",
                                           "video_matrix_id", "audio_matrix_id", "buttonstyle",
                                           "buttonhigh",      "buttonlow",       "videotallystate",
                                           "audiotallystate"};
    std::map<std::string, std::string> texts = {{"destination_id", "0"},
                                                {"package_name_id", "0"},
                                                {"package_xpts_id", "0"},
                                                {"video_matrix_id", "0"},
                                                {"audio_matrix_id", "0"}};
    bool release = true;

    void accept(const char* text) {
        const OwnedParsedCommand owned(text);
        const ParsedCommand& parsed = owned.record();
        const std::string command = parsed.command;
        for (const char* key : keys) {
            if (command == key) {
                texts[key] = parsed.value;
            }
        }
        if (command == "buttonaction") {
            const std::string value = parsed.value;
            release = value == "release" ? true : value == "press" ? false : release;
        }
    }

    std::string all() const {
        std::string lines;
        for (const char* key : keys) {
            const auto found = texts.find(key);
            lines += std::string(key) + "=" + (found != texts.end() ? found->second : "") + "\n";
            if (std::string(key) == "audio_matrix_id") {
                lines += std::string("buttonaction=") + (release ? "release" : "press") + "\n";
            }
        }
        lines.pop_back();
        return lines;
    }
};

const char* const knownKeys[] = {
    "destination_id",  "package_name_id", "package_xpts_id", "video_matrix_id", "audio_matrix_id",
    "buttonaction",    "buttonstyle",     "buttonhigh",      "buttonlow",       "videotallystate",
    "audiotallystate", "index",           "return",          "_events",         "_commands"};

std::string parentText(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return input.ConsumeRandomLengthString(40);
    case 1: {
        const std::string key = input.PickValueInArray(knownKeys);
        return key + "=" + std::to_string(input.ConsumeIntegralInRange(-2, 40));
    }
    default: {
        const std::string key = input.PickValueInArray(knownKeys);
        return key + input.ConsumeRandomLengthString(24);
    }
    }
}

std::string ask(zarn_client_callback& component, const char* text, bool& answered) {
    void* reply = component.callback(const_cast<char*>(text), zarn_kind_parent_command);
    answered = reply != nullptr;
    if (reply == nullptr) {
        return "";
    }
    std::string copy(static_cast<const char*>(reply));
    FUZZ_CHECK(!copy.empty(), "an empty reply comes as no reply");
    component.callback(reply, zarn_kind_give_back);
    return copy;
}

void checkModel(zarn_client_callback& component, const Model& model) {
    bool answered = false;
    FUZZ_CHECK(ask(component, "return=all", answered) == model.all(), "return=all");
    FUZZ_CHECK(ask(component, "return=destination_id", answered) ==
                   "destination_id=" + model.texts.at("destination_id"),
               "return=destination_id is the last text accepted");
}

void step(FuzzedDataProvider& input, zarn_client_callback& component, Model& model) {
    char unread[4] = "xyz"; // a data word the component must not interpret
    switch (input.ConsumeIntegralInRange(0, 7)) {
    case 0: {
        OwnedRevertive revertive(input.ConsumeIntegralInRange(-1, 4),
                                 input.ConsumeIntegralInRange(-1, 40),
                                 input.ConsumeRandomLengthString(32));
        component.callback(input.ConsumeBool() ? revertive.record() : nullptr, zarn_kind_revertive);
        break;
    }
    case 1: {
        const char* panels[] = {"1", "2", "01", ""};
        const char* controls[] = {"Button", "Vid", "ActionAll", "AckAll", "button"};
        const char* events[] = {"button=pressed", "button=released", "alarm=ack", ""};
        OwnedControlEvent event(input.PickValueInArray(panels), input.PickValueInArray(controls),
                                input.ConsumeBool() ? input.PickValueInArray(events)
                                                    : input.ConsumeRandomLengthString(24));
        ControlEvent* record = event.record();
        if (input.ConsumeBool()) {
            record->panel = nullptr;
            record->event = nullptr;
        }
        component.callback(input.ConsumeBool() ? record : nullptr, zarn_kind_control_event);
        break;
    }
    case 2: {
        const std::string text = parentText(input);
        bool answered = false;
        ask(component, text.c_str(), answered);
        model.accept(text.c_str());
        break;
    }
    case 3:
        component.callback(
            reinterpret_cast<void*>(static_cast<std::intptr_t>(input.ConsumeIntegral<int>())),
            zarn_kind_timer);
        break;
    case 4:
        component.callback(unread, input.ConsumeBool() ? zarn_kind_record_message
                                                       : zarn_kind_value_message);
        break;
    case 5: {
        int kind = input.ConsumeIntegral<int>();
        if (kind >= zarn_kind_revertive && kind <= zarn_kind_value_message) {
            kind = 8;
        }
        FUZZ_CHECK(component.callback(unread, kind) == nullptr, "other kinds give null");
        break;
    }
    case 6:
        component.callback(nullptr, zarn_kind_give_back);
        component.callback(nullptr, zarn_kind_parent_command);
        break;
    default:
        checkModel(component, model);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    FuzzHost host(input);
    const std::string path = input.ConsumeRandomLengthString(16);
    zarn_client_callback* component =
        load_zarn_client_script(input.ConsumeBool() ? &host : nullptr, path.c_str());
    FUZZ_CHECK(component != nullptr, "the factory gives a component");
    Model model;
    while (input.remaining_bytes() > 0) {
        step(input, *component, model);
        FUZZ_CHECK(host.allBack(), "every reply of a reading command came back");
    }
    checkModel(*component, model);
    delete component;
    FUZZ_CHECK(host.allBack(), "every reply came back by the end");
    return 0;
}
