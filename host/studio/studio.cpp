#include "studio.h"

#include "studio_link_events.h"

#include "host_command_interpreter.h"

#include <zarn_script_helper/record_builders.h>

#include <cstdint>

namespace {

// Deliveries one action may set off before the host calls it a loop.
constexpr int maxDeliveriesPerAction = 100000;
// Nested deliveries go no deeper than this; deeper ones wait their turn in the queue.
constexpr int maxNesting = 64;

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

Studio::Studio(Transcript& transcript, DeliveryOrder order)
    : state_(transcript), order_(order), linkEvents_(std::make_unique<StudioLinkEvents>(*this)) {}

Studio::~Studio() {
    finish();
}

RouterLinkEvents& Studio::linkEvents() {
    return *linkEvents_;
}

std::string Studio::loadModule(const std::string& name, const std::string& path) {
    if (state_.modules.count(name) != 0) {
        return "a module is loaded as \"" + name + "\" already";
    }
    return addModule(name, std::make_unique<ComponentModule>(path));
}

std::string Studio::addModule(const std::string& name, std::unique_ptr<ComponentModule> module) {
    if (state_.modules.count(name) != 0) {
        return "a module is loaded as \"" + name + "\" already";
    }
    if (!module->loaded()) {
        return module->error();
    }
    state_.transcript.note("loaded module " + name + " from " + module->path());
    state_.modules[name] = std::move(module);
    return "";
}

std::string Studio::place(const std::string& name, const std::string& moduleName,
                          const std::string& path, const std::string& group) {
    const auto module = state_.modules.find(moduleName);
    if (module == state_.modules.end()) {
        return "no module is loaded as \"" + moduleName + "\"";
    }
    if (state_.instances.find(name) != nullptr) {
        return "an instance \"" + name + "\" is placed already";
    }
    if (path.find("' '") != std::string::npos) {
        return "the path \"" + path + "\" holds ' ', which a PS command cannot carry";
    }
    Instance& instance = state_.instances.add(name, moduleName, group);
    instance.host = std::make_unique<InstanceHost>(*this, instance.id);
    state_.transcript.note("placing " + name + " (" + moduleName + ", path \"" + path + "\")");
    try {
        ++depth_;
        instance.component = module->second->create(instance.host.get(), path.c_str());
        --depth_;
    } catch (...) {
        --depth_;
        state_.transcript.failure(name, "the factory let an exception out");
    }
    state_.instances.called(instance);
    if (instance.component == nullptr) {
        state_.instances.retire(instance);
        return "the factory of \"" + module->second->path() + "\" gave no component";
    }
    if (!group.empty()) {
        state_.groups.join(group, instance.id);
    }
    state_.notify([&](StudioObserver& observer) { observer.instanceChanged(instance.id); });
    drain();
    return "";
}

std::optional<std::string> Studio::send(const std::string& name, const std::string& text) {
    Instance* instance = state_.instances.find(name);
    if (instance == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> reply = parentCommand(*instance, text);
    drain();
    return reply;
}

void Studio::broadcast(const std::string& group, const std::string& text) {
    postToGroup(state_, group, text);
    drain();
}

void Studio::controlEvent(const std::string& name, const std::string& control,
                          const std::string& eventText) {
    Instance* instance = state_.instances.find(name);
    if (instance == nullptr) {
        return;
    }
    const std::string panel =
        instance->panels.all().empty() ? "1" : instance->panels.all().front().id;
    state_.transcript.toComponent(instance->name, zarn_kind_control_event,
                                  "panel " + panel + " control " + control + ": " + eventText);
    OwnedControlEvent event(panel, control, eventText);
    call(*instance, event.record(), zarn_kind_control_event);
    drain();
}

void Studio::defineRouter(int device, const std::string& name) {
    state_.routers.define(device, name);
    state_.notify([&](StudioObserver& observer) { observer.routerChanged(device); });
}

void Studio::nameSource(int device, int source, const std::string& name) {
    Routers& routers = state_.routers;
    routers.nameSource(device, source, name);
    state_.notify([&](StudioObserver& observer) { observer.sourceNamed(device, source, name); });
    // Every destination routed to the source shows its new name.
    for (int destination : routers.destinationsOf(device, source)) {
        for (int id : routers.registeredFor(device, destination)) {
            postRevertive(state_, id, device, destination, name);
        }
    }
    drain();
}

std::string Studio::route(int device, int destination, int source) {
    RouterLinks* links = state_.links;
    if (links != nullptr && links->linked(device)) {
        const std::string error = links->take(device, destination, source);
        if (error.empty()) {
            state_.transcript.note("take: " + state_.routers.name(device) + " (device " +
                                   std::to_string(device) + ") destination " +
                                   std::to_string(destination) + " <- source " +
                                   std::to_string(source) + ", sent to " + links->describe(device));
        }
        return error;
    }
    routed(device, destination, source);
    return "";
}

void Studio::routed(int device, int destination, int source) {
    Routers& routers = state_.routers;
    routers.route(device, destination, source);
    state_.notify([&](StudioObserver& observer) { observer.routed(device, destination, source); });
    const std::string text = routers.revertiveText(device, destination);
    if (state_.transcript.shows()) {
        state_.transcript.note("route: " + routers.name(device) + " (device " +
                               std::to_string(device) + ") destination " +
                               std::to_string(destination) + " <- source " +
                               std::to_string(source) + " " + text);
    }
    for (int id : routers.registeredFor(device, destination)) {
        postRevertive(state_, id, device, destination, text);
    }
    drain();
}

void Studio::startTimer(const std::string& name, int id) {
    if (const Instance* instance = state_.instances.find(name)) {
        state_.timers.start(instance->id, id);
        state_.transcript.note("timer " + std::to_string(id) + " of " + name + " started");
    }
}

void Studio::tick(int rounds) {
    for (int round = 0; round < rounds && state_.timers.any(); ++round) {
        const std::vector<Timers::Timer> running = state_.timers.all();
        for (const Timers::Timer& timer : running) {
            Instance* instance = state_.instances.alive(timer.instance);
            if (instance == nullptr || !state_.timers.running(timer.instance, timer.id)) {
                continue;
            }
            state_.transcript.toComponent(instance->name, zarn_kind_timer,
                                          std::to_string(timer.id));
            call(*instance, reinterpret_cast<void*>(static_cast<std::intptr_t>(timer.id)),
                 zarn_kind_timer);
            drain();
        }
    }
}

void Studio::destroy(const std::string& name) {
    if (Instance* instance = state_.instances.find(name)) {
        destroy(*instance);
    }
}

void Studio::destroy(Instance& instance) {
    state_.transcript.note("destroying " + instance.name);
    state_.instances.called(instance);
    // Its host object takes the "AS" of the component's destruction.
    try {
        ++depth_;
        delete instance.component;
        --depth_;
    } catch (...) {
        --depth_;
        state_.transcript.failure(instance.name, "its destructor let an exception out");
    }
    instance.component = nullptr;
    state_.instances.retire(instance);
    for (const std::string& command : state_.ledger.collectOutstanding(instance.id)) {
        state_.transcript.failure(instance.name,
                                  "the reply to \"" + command + "\" never came back");
    }
    state_.routers.unregisterAll(instance.id);
    state_.timers.stopAll(instance.id);
    state_.groups.leave(instance.group, instance.id);
    state_.notify([&](StudioObserver& observer) { observer.instanceGone(instance.id); });
}

void Studio::finish() {
    for (const auto& instance : state_.instances.all()) {
        if (instance->alive) {
            destroy(*instance);
        }
    }
    state_.deliveries.clear();
}

std::string Studio::takeError() {
    std::string error;
    error.swap(state_.error);
    return error;
}

void* Studio::fromComponent(int id, void* data, int kind) {
    Instance& instance = state_.instances.at(id);
    Transcript& transcript = state_.transcript;
    if (kind == zarn_kind_host_command) {
        if (data == nullptr) {
            transcript.warning(instance.name, "sent a null command text");
            return nullptr;
        }
        const std::size_t waiting = state_.deliveries.size();
        void* reply = interpretCommand(state_, instance, static_cast<const char*>(data));
        if (order_ == DeliveryOrder::Nested && depth_ <= maxNesting) {
            // What this command set off goes out now, inside the component's call.
            std::deque<Delivery> setOff(state_.deliveries.begin() + waiting,
                                        state_.deliveries.end());
            state_.deliveries.resize(waiting);
            deliver(setOff);
        }
        return reply;
    }
    if (kind == zarn_kind_give_back) {
        takeBack(state_, instance, data);
        return nullptr;
    }
    transcript.failure(instance.name, "sent kind " + std::to_string(kind) +
                                          ", which a component never sends to its host");
    return nullptr;
}

std::optional<std::string> Studio::parentCommand(Instance& instance, const std::string& text) {
    state_.transcript.toComponent(instance.name, zarn_kind_parent_command, text);
    const std::size_t equals = text.find('=');
    if (equals != std::string::npos) {
        instance.properties[text.substr(0, equals)] = text.substr(equals + 1);
        if (!instance.group.empty()) {
            state_.notify(
                [&](StudioObserver& observer) { observer.selectionChanged(instance.group); });
        }
    }
    void* reply = call(instance, const_cast<char*>(text.c_str()), zarn_kind_parent_command);
    if (reply == nullptr) {
        return std::nullopt;
    }
    std::string copy(static_cast<const char*>(reply));
    state_.transcript.reply(instance.name, copy);
    state_.transcript.toComponent(instance.name, zarn_kind_give_back, "its reply");
    call(instance, reply, zarn_kind_give_back);
    return copy;
}

void Studio::revertive(Instance& instance, int device, int index, const std::string& text) {
    if (state_.transcript.shows()) {
        state_.transcript.toComponent(instance.name, zarn_kind_revertive,
                                      describeRevertive(device, index, text));
    }
    OwnedRevertive record(device, index, text);
    call(instance, record.record(), zarn_kind_revertive);
}

void* Studio::call(Instance& instance, void* data, int kind) {
    state_.instances.called(instance);
    ++depth_;
    void* result = nullptr;
    try {
        result = instance.component->callback(data, kind);
    } catch (...) {
        state_.transcript.failure(instance.name, "let an exception out of callback (kind " +
                                                     std::to_string(kind) + ")");
    }
    --depth_;
    return result;
}

void Studio::drain() {
    deliver(state_.deliveries);
    if (depth_ == 0) {
        // The action is over: the next one starts counting afresh.
        delivered_ = 0;
    }
}

void Studio::deliver(std::deque<Delivery>& deliveries) {
    while (!deliveries.empty()) {
        if (++delivered_ > maxDeliveriesPerAction) {
            state_.transcript.failure("", "more than " + std::to_string(maxDeliveriesPerAction) +
                                              " deliveries from one action: the rest are dropped");
            deliveries.clear();
            state_.deliveries.clear();
            return;
        }
        const Delivery next = deliveries.front();
        deliveries.pop_front();
        Instance* instance = state_.instances.alive(next.instance);
        if (instance == nullptr) {
            continue;
        }
        if (next.kind == Delivery::Kind::Revertive) {
            revertive(*instance, next.device, next.index, next.text);
        } else {
            parentCommand(*instance, next.text);
        }
    }
}
