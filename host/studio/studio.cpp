#include "studio.h"

#include <zarn_script_helper/record_builders.h>

#include <cstdint>

namespace {

// A poll of more destinations than this is cut to this many, with a warning.
constexpr long long maxPolledDestinations = 1024;
// Deliveries one action may set off before the host calls it a loop.
constexpr int maxDeliveriesPerAction = 100000;

std::string describeRevertive(int device, int index, const std::string& text) {
    return "device " + std::to_string(device) + " index " + std::to_string(index) + ": " + text;
}

} // namespace

// The host object of one instance: what the instance's component calls.
class Studio::InstanceHost : public zarn_client_callback {
public:
    InstanceHost(Studio& studio, int instance) : studio_(studio), instance_(instance) {}
    void* callback(void* data, int kind) override {
        return studio_.fromComponent(instance_, data, kind);
    }

private:
    Studio& studio_;
    int instance_;
};

struct Studio::Instance {
    int id;
    std::string name;
    std::string group;
    std::unique_ptr<InstanceHost> host; // outlives the component
    zarn_client_callback* component = nullptr;
    bool alive = true;
    Panels panels;
    // The key=value properties the parent has sent it, last value per key.
    std::map<std::string, std::string> properties;
    std::vector<std::string> sentDuringAction;
};

Studio::Studio(Transcript& transcript)
    : transcript_(transcript), shownReply_(ledger_.keep("shown")) {}

Studio::~Studio() {
    finish();
}

std::string Studio::loadModule(const std::string& name, const std::string& path) {
    auto module = std::make_unique<ComponentModule>(path);
    if (!module->loaded()) {
        return module->error();
    }
    transcript_.note("loaded module " + name + " from " + path);
    modules_[name] = std::move(module);
    return "";
}

std::string Studio::place(const std::string& name, const std::string& moduleName,
                          const std::string& path, const std::string& group) {
    const auto module = modules_.find(moduleName);
    if (module == modules_.end()) {
        return "no module is loaded as \"" + moduleName + "\"";
    }
    if (find(name) != nullptr) {
        return "an instance \"" + name + "\" is placed already";
    }
    const int id = static_cast<int>(instances_.size());
    instances_.push_back(std::make_unique<Instance>());
    Instance& instance = *instances_.back();
    instance.id = id;
    instance.name = name;
    instance.group = group;
    instance.host = std::make_unique<InstanceHost>(*this, id);
    transcript_.note("placing " + name + " (" + moduleName + ", path \"" + path + "\")");
    try {
        instance.component = module->second->create(instance.host.get(), path.c_str());
    } catch (...) {
        transcript_.failure(name, "the factory let an exception out");
    }
    if (instance.component == nullptr) {
        instance.alive = false;
        return "the factory of \"" + module->second->path() + "\" gave no component";
    }
    if (!group.empty()) {
        groups_.join(group, id);
    }
    drain();
    return "";
}

std::optional<std::string> Studio::send(const std::string& name, const std::string& text) {
    Instance* instance = find(name);
    if (instance == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> reply = parentCommand(*instance, text);
    drain();
    return reply;
}

void Studio::broadcast(const std::string& group, const std::string& text) {
    queueBroadcast(group, text);
    drain();
}

void Studio::queueBroadcast(const std::string& group, const std::string& text) {
    static const std::string index = "index=";
    if (text.compare(0, index.size(), index) == 0) {
        groups_.select(group, text.substr(index.size()));
    }
    for (int id : groups_.members(group)) {
        queue_.push_back({id, false, 0, 0, text});
    }
}

void Studio::controlEvent(const std::string& name, const std::string& control,
                          const std::string& eventText) {
    Instance* instance = find(name);
    if (instance == nullptr) {
        return;
    }
    const std::string panel =
        instance->panels.all().empty() ? "1" : instance->panels.all().front().id;
    transcript_.toComponent(instance->name, zarn_kind_control_event,
                            "panel " + panel + " control " + control + ": " + eventText);
    OwnedControlEvent event(panel, control, eventText);
    call(*instance, event.record(), zarn_kind_control_event);
    drain();
}

void Studio::route(int device, int destination, int source) {
    routers_.route(device, destination, source);
    const std::string text = routers_.revertiveText(device, destination);
    transcript_.note("route: " + routers_.name(device) + " (device " + std::to_string(device) +
                     ") destination " + std::to_string(destination) + " <- source " +
                     std::to_string(source) + " " + text);
    for (int id : routers_.registeredFor(device, destination)) {
        queue_.push_back({id, true, device, destination, text});
    }
    drain();
}

void Studio::startTimer(const std::string& name, int id) {
    if (const Instance* instance = find(name)) {
        timers_.start(instance->id, id);
        transcript_.note("timer " + std::to_string(id) + " of " + name + " started");
    }
}

void Studio::tick(int rounds) {
    for (int round = 0; round < rounds; ++round) {
        const std::vector<Timers::Timer> running = timers_.all();
        for (const Timers::Timer& timer : running) {
            Instance* instance = alive(timer.instance);
            if (instance == nullptr || !timers_.running(timer.instance, timer.id)) {
                continue;
            }
            transcript_.toComponent(instance->name, zarn_kind_timer, std::to_string(timer.id));
            call(*instance, reinterpret_cast<void*>(static_cast<std::intptr_t>(timer.id)),
                 zarn_kind_timer);
            drain();
        }
    }
}

void Studio::destroy(const std::string& name) {
    if (Instance* instance = find(name)) {
        destroy(*instance);
    }
}

void Studio::destroy(Instance& instance) {
    transcript_.note("destroying " + instance.name);
    // Its host object takes the "AS" of the component's destruction.
    try {
        delete instance.component;
    } catch (...) {
        transcript_.failure(instance.name, "its destructor let an exception out");
    }
    instance.component = nullptr;
    instance.alive = false;
    for (const std::string& command : ledger_.collectOutstanding(instance.id)) {
        transcript_.failure(instance.name, "the reply to \"" + command + "\" never came back");
    }
    routers_.unregisterAll(instance.id);
    timers_.stopAll(instance.id);
    groups_.leave(instance.id);
}

void Studio::finish() {
    for (auto& instance : instances_) {
        if (instance->alive) {
            destroy(*instance);
        }
    }
    queue_.clear();
}

void Studio::beginAction() {
    for (auto& instance : instances_) {
        instance->sentDuringAction.clear();
    }
}

bool Studio::known(const std::string& name) const {
    for (const auto& instance : instances_) {
        if (instance->name == name) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> Studio::sentDuringAction(const std::string& name) const {
    // Also of an instance the action destroyed: its last words were sent then.
    for (auto it = instances_.rbegin(); it != instances_.rend(); ++it) {
        if ((*it)->name == name) {
            return (*it)->sentDuringAction;
        }
    }
    return {};
}

const Control* Studio::control(const std::string& name, const std::string& control) const {
    const Instance* instance = find(name);
    return instance != nullptr ? instance->panels.control(control) : nullptr;
}

std::vector<DestinationRange> Studio::registrations(const std::string& name, int device) const {
    const Instance* instance = find(name);
    return instance != nullptr ? routers_.registrations(instance->id, device)
                               : std::vector<DestinationRange>{};
}

bool Studio::timerRunning(const std::string& name, int id) const {
    const Instance* instance = find(name);
    return instance != nullptr && timers_.running(instance->id, id);
}

PanelView Studio::view() const {
    PanelView view;
    for (const auto& instance : instances_) {
        if (!instance->alive) {
            continue;
        }
        InstanceView shown{instance->name, instance->group, false, "", {}};
        const std::optional<std::string> selection = groups_.selection(instance->group);
        const auto destination = instance->properties.find("destination_id");
        shown.selected = !instance->group.empty() && selection &&
                         destination != instance->properties.end() &&
                         destination->second == *selection;
        if (!instance->panels.all().empty()) {
            shown.panelId = instance->panels.all().front().id;
            shown.controls = instance->panels.all().front().controls;
        }
        view.instances.push_back(std::move(shown));
    }
    return view;
}

void* Studio::fromComponent(int id, void* data, int kind) {
    Instance& instance = *instances_.at(id);
    if (kind == zarn_kind_host_command) {
        if (data == nullptr) {
            transcript_.warning(instance.name, "sent a null command text");
            return nullptr;
        }
        return command(instance, static_cast<const char*>(data));
    }
    if (kind == zarn_kind_give_back) {
        giveBack(instance, data);
        return nullptr;
    }
    transcript_.failure(instance.name, "sent kind " + std::to_string(kind) +
                                           ", which a component never sends to its host");
    return nullptr;
}

void* Studio::command(Instance& instance, const std::string& text) {
    instance.sentDuringAction.push_back(text);
    const ParsedHostCommand parsed = parseHostCommand(text);
    if (!parsed.command) {
        transcript_.fromComponent(instance.name, zarn_kind_host_command, text);
        transcript_.warning(instance.name, parsed.error + ": " + text);
        return nullptr;
    }
    const HostCommand& command = *parsed.command;
    return command.fields.empty() ? routerCommand(instance, command)
                                  : textCommand(instance, text, command);
}

void Studio::giveBack(Instance& instance, void* reply) {
    std::string command;
    switch (ledger_.takeBack(instance.id, reply, command)) {
    case ReplyLedger::Back::Freed:
        transcript_.fromComponent(instance.name, zarn_kind_give_back, "reply to " + command);
        break;
    case ReplyLedger::Back::Null:
        transcript_.fromComponent(instance.name, zarn_kind_give_back, "null");
        break;
    case ReplyLedger::Back::Kept:
        transcript_.failure(instance.name,
                            "gave back a reply that the host keeps (replies to PS are the host's)");
        break;
    case ReplyLedger::Back::Unknown:
        transcript_.failure(instance.name,
                            "gave back a pointer that the host never handed it, or gave one "
                            "back twice");
        break;
    }
}

void* Studio::textCommand(Instance& instance, const std::string& text, const HostCommand& command) {
    const std::vector<std::string>& fields = command.fields;
    const auto missing = [&](Panels::Found found, const std::string& panel,
                             const std::string& control) {
        transcript_.warning(instance.name, command.word + " for " +
                                               (found == Panels::Found::NoPanel
                                                    ? "unknown panel \"" + panel + "\""
                                                    : "unknown control \"" + control +
                                                          "\" on panel \"" + panel + "\""));
    };
    if (command.word == "TP") {
        transcript_.fromComponent(instance.name, zarn_kind_host_command, text);
        const std::size_t equals = fields[0].find('=');
        if (equals == std::string::npos) {
            transcript_.warning(instance.name, "TP without property=value: " + text);
            return nullptr;
        }
        const Panels::Found found = instance.panels.set(
            fields[1], fields[2], fields[0].substr(0, equals), fields[0].substr(equals + 1));
        if (found != Panels::Found::Yes) {
            missing(found, fields[1], fields[2]);
        }
        return nullptr;
    }
    if (command.word == "TG" || command.word == "XI") {
        std::string reply;
        const Panels::Found found =
            command.word == "TG" ? instance.panels.get(fields[0], fields[1], fields[2], reply)
                                 : instance.panels.list(fields[0], fields[1], reply);
        if (found != Panels::Found::Yes) {
            transcript_.fromComponent(instance.name, zarn_kind_host_command, text, "no reply");
            missing(found, fields[0], command.word == "TG" ? fields[1] : "");
            return nullptr;
        }
        transcript_.fromComponent(instance.name, zarn_kind_host_command, text, "\"" + reply + "\"");
        return ledger_.handOut(instance.id, text, reply);
    }
    if (command.word == "PS") {
        const Layout layout = loadLayout(fields[1]);
        if (!layout.error.empty()) {
            transcript_.fromComponent(instance.name, zarn_kind_host_command, text, "no reply");
            transcript_.warning(instance.name,
                                "no layout for panel \"" + fields[0] + "\": " + layout.error);
            return nullptr;
        }
        transcript_.fromComponent(instance.name, zarn_kind_host_command, text,
                                  "shown, " + std::to_string(layout.controls.size()) + " controls");
        instance.panels.show(fields[0], layout.controls);
        return shownReply_;
    }
    // HN: a notification for the parent.
    transcript_.fromComponent(instance.name, zarn_kind_host_command, text);
    notified(instance, fields[0]);
    return nullptr;
}

void Studio::notified(Instance& instance, const std::string& message) {
    static const std::string select = "select=";
    if (instance.group.empty() || message.compare(0, select.size(), select) != 0) {
        return;
    }
    // The parent moves the selection: every button of the group hears the new index.
    // The selected button answers its own index with the same notification again, which
    // changes nothing and is not passed on.
    const std::string index = message.substr(select.size());
    if (groups_.selection(instance.group) == index) {
        return;
    }
    queueBroadcast(instance.group, "index=" + index);
}

void* Studio::routerCommand(Instance& instance, const HostCommand& command) {
    const std::vector<int>& n = command.numbers;
    const std::string& word = command.word;
    std::string text = word;
    for (int number : n) {
        text += " " + std::to_string(number);
    }
    if (command.add) {
        text += " 'ADD'";
    }
    if (word == "RN") {
        const std::optional<std::string> entry = databases_.get(n[0], n[1], n[2]);
        transcript_.fromComponent(instance.name, zarn_kind_host_command, text,
                                  entry ? "\"" + *entry + "\"" : "no entry");
        return entry ? ledger_.handOut(instance.id, text, *entry) : nullptr;
    }
    transcript_.fromComponent(instance.name, zarn_kind_host_command, text);
    if (word == "RR" || word == "RP") {
        if (n[1] > n[2]) {
            transcript_.warning(instance.name, word + " with its first destination after its last");
            return nullptr;
        }
        if (!routers_.defined(n[0])) {
            transcript_.warning(instance.name, word + " on device " + std::to_string(n[0]) +
                                                   ", which is no router of this studio");
            if (word == "RP") {
                return nullptr;
            }
        }
    }
    if (word == "RR") {
        routers_.registerRange(instance.id, n[0], {n[1], n[2]}, command.add);
    } else if (word == "RU") {
        routers_.unregister(instance.id, n[0]);
    } else if (word == "RP") {
        long long last = n[2];
        if (last - n[1] + 1 > maxPolledDestinations) {
            last = n[1] + maxPolledDestinations - 1;
            transcript_.warning(instance.name, "RP of more than " +
                                                   std::to_string(maxPolledDestinations) +
                                                   " destinations: only the first are answered");
        }
        for (long long destination = n[1]; destination <= last; ++destination) {
            const int index = static_cast<int>(destination);
            queue_.push_back({instance.id, true, n[0], index, routers_.revertiveText(n[0], index)});
        }
    } else if (word == "ET") {
        timers_.stop(instance.id, n[0]);
    } else if (word == "AS") {
        routers_.unregisterAll(instance.id);
        timers_.stopAll(instance.id);
    }
    return nullptr;
}

std::optional<std::string> Studio::parentCommand(Instance& instance, const std::string& text) {
    transcript_.toComponent(instance.name, zarn_kind_parent_command, text);
    const std::size_t equals = text.find('=');
    if (equals != std::string::npos) {
        instance.properties[text.substr(0, equals)] = text.substr(equals + 1);
    }
    void* reply = call(instance, const_cast<char*>(text.c_str()), zarn_kind_parent_command);
    if (reply == nullptr) {
        return std::nullopt;
    }
    std::string copy(static_cast<const char*>(reply));
    transcript_.reply(instance.name, copy);
    transcript_.toComponent(instance.name, zarn_kind_give_back, "its reply");
    call(instance, reply, zarn_kind_give_back);
    return copy;
}

void Studio::revertive(Instance& instance, int device, int index, const std::string& text) {
    transcript_.toComponent(instance.name, zarn_kind_revertive,
                            describeRevertive(device, index, text));
    OwnedRevertive record(device, index, text);
    call(instance, record.record(), zarn_kind_revertive);
}

void* Studio::call(Instance& instance, void* data, int kind) {
    try {
        return instance.component->callback(data, kind);
    } catch (...) {
        transcript_.failure(instance.name,
                            "let an exception out of callback (kind " + std::to_string(kind) + ")");
        return nullptr;
    }
}

void Studio::drain() {
    int delivered = 0;
    while (!queue_.empty()) {
        if (++delivered > maxDeliveriesPerAction) {
            transcript_.failure("", "more than " + std::to_string(maxDeliveriesPerAction) +
                                        " deliveries from one action: the rest are dropped");
            queue_.clear();
            return;
        }
        const Delivery next = queue_.front();
        queue_.pop_front();
        Instance* instance = alive(next.instance);
        if (instance == nullptr) {
            continue;
        }
        if (next.revertive) {
            revertive(*instance, next.device, next.index, next.text);
        } else {
            parentCommand(*instance, next.text);
        }
    }
}

Studio::Instance* Studio::find(const std::string& name) {
    for (auto& instance : instances_) {
        if (instance->alive && instance->name == name) {
            return instance.get();
        }
    }
    return nullptr;
}

const Studio::Instance* Studio::find(const std::string& name) const {
    for (const auto& instance : instances_) {
        if (instance->alive && instance->name == name) {
            return instance.get();
        }
    }
    return nullptr;
}

Studio::Instance* Studio::alive(int id) {
    Instance* instance = instances_.at(id).get();
    return instance->alive ? instance : nullptr;
}
