#include "check_session.h"

#include "host_command.h"
#include "layout.h"

#include <zarn_script_helper/record_builders.h>

#include <cstdint>
#include <cstring>
#include <exception>

namespace {

// Deliveries one message may set off, and how deep they may nest, before the host stops
// them: a component that answers every message with another must not take the host down.
constexpr int maxDeliveries = 10000;
constexpr int maxNesting = 32;
// A poll answers this many destinations at the most.
constexpr long long maxPolled = 64;

// The host object of one instance.
class Link : public zarn_client_callback {
public:
    Link(CheckSession& session, int instance) : session_(session), instance_(instance) {}
    void* callback(void* data, int kind) override {
        return session_.fromComponent(instance_, data, kind);
    }

private:
    CheckSession& session_;
    int instance_;
};

std::string cut(const std::string& text) {
    return text.size() <= 120
               ? text
               : text.substr(0, 120) + "... (" + std::to_string(text.size()) + " characters)";
}

} // namespace

CheckSession::CheckSession(const ComponentModule& module, InFlight& inFlight)
    : module_(module), inFlight_(inFlight) {}

CheckSession::~CheckSession() {
    destroyAll();
    for (auto& [reply, out] : out_) {
        if (givenBack_.count(reply) == 0) {
            delete[] static_cast<const char*>(reply);
        }
    }
}

int CheckSession::create(const char* path, bool withHost) {
    const int id = static_cast<int>(instances_.size());
    instances_.push_back(std::make_unique<Instance>());
    Instance& made = *instances_.back();
    if (withHost) {
        made.host = std::make_unique<Link>(*this, id);
    }
    const InFlight before = inFlight_.enter(InFlight::factory, path != nullptr ? path : "null");
    ++depth_;
    try {
        made.component = module_.create(made.host.get(), path);
    } catch (...) {
        breach("exceptions", "the factory let an exception out");
    }
    --depth_;
    inFlight_.leave(before);
    drain();
    return made.component != nullptr ? id : -1;
}

void CheckSession::destroy(int id) {
    Instance& target = instance(id);
    if (target.component == nullptr) {
        return;
    }
    const InFlight before = inFlight_.enter(InFlight::destructor, "");
    ++depth_;
    try {
        delete target.component;
    } catch (...) {
        breach("exceptions", "the destructor let an exception out");
    }
    --depth_;
    inFlight_.leave(before);
    target.component = nullptr;
    for (const std::string& command : outstanding(id)) {
        breach("replies", "the reply to \"" + cut(command) + "\" never came back");
    }
    deliveries_.clear();
}

void CheckSession::destroyAll() {
    for (std::size_t id = 0; id < instances_.size(); ++id) {
        destroy(static_cast<int>(id));
    }
}

void* CheckSession::call(int id, void* data, int kind, const std::string& what) {
    Instance& target = instance(id);
    if (target.component == nullptr) {
        return nullptr;
    }
    const InFlight before = inFlight_.enter(kind, what.c_str());
    ++depth_;
    void* result = nullptr;
    try {
        result = target.component->callback(data, kind);
    } catch (const std::exception& error) {
        breach("exceptions", "callback let an exception out (kind " + std::to_string(kind) + ", " +
                                 cut(what) + "): " + error.what());
    } catch (...) {
        breach("exceptions", "callback let an exception out (kind " + std::to_string(kind) + ", " +
                                 cut(what) + ")");
    }
    --depth_;
    inFlight_.leave(before);
    return result;
}

std::optional<std::string> CheckSession::parent(int id, const char* text) {
    void* reply = call(id, const_cast<char*>(text), zarn_kind_parent_command,
                       "the parent command \"" + cut(text != nullptr ? text : "(null)") + "\"");
    std::optional<std::string> copy;
    if (reply != nullptr) {
        // The reply is the component's buffer: read it, then give it back, once.
        copy = std::string(static_cast<const char*>(reply));
        call(id, reply, zarn_kind_give_back, "the give-back of its reply");
    }
    if (keepRecords) {
        instance(id).replies.push_back(copy);
    }
    drain();
    return copy;
}

void CheckSession::revertive(int id, int device, int index, const std::string& text) {
    OwnedRevertive record(device, index, text);
    call(id, record.record(), zarn_kind_revertive,
         "a revertive of device " + std::to_string(device) + ", destination " +
             std::to_string(index) + ": " + cut(text));
    drain();
}

void CheckSession::controlEvent(int id, const char* panel, const char* control, const char* text) {
    OwnedControlEvent event(panel, control, text);
    call(id, event.record(), zarn_kind_control_event,
         std::string("an event of control ") + control + ": " + cut(text));
    drain();
}

void CheckSession::timer(int id, int timerId) {
    call(id, reinterpret_cast<void*>(static_cast<std::intptr_t>(timerId)), zarn_kind_timer,
         "a tick of timer " + std::to_string(timerId));
    drain();
}

const std::vector<std::string>& CheckSession::breaches(const std::string& kind) const {
    static const std::vector<std::string> none;
    const auto found = breaches_.find(kind);
    return found != breaches_.end() ? found->second : none;
}

std::vector<std::string> CheckSession::outstanding(int id) const {
    std::vector<std::string> commands;
    for (const auto& [reply, out] : out_) {
        if (out.instance == id && givenBack_.count(reply) == 0) {
            commands.push_back(out.command);
        }
    }
    return commands;
}

void CheckSession::breach(const std::string& kind, const std::string& text) {
    std::vector<std::string>& seen = breaches_[kind];
    if (seen.size() < 100) {
        seen.push_back(text);
    }
}

void* CheckSession::fromComponent(int id, void* data, int kind) {
    if (kind == zarn_kind_host_command) {
        if (data == nullptr) {
            breach("commands", "a null command text");
            return nullptr;
        }
        const std::string text(static_cast<const char*>(data));
        const std::size_t waiting = deliveries_.size();
        void* reply = command(id, text);
        if (order == Order::Nested && depth_ <= maxNesting) {
            // What this command set off goes out now, inside the component's call.
            const std::deque<Delivery> setOff(deliveries_.begin() + static_cast<long>(waiting),
                                              deliveries_.end());
            deliveries_.resize(waiting);
            for (const Delivery& delivery : setOff) {
                if (++deliveredInAction_ <= maxDeliveries) {
                    deliver(delivery);
                }
            }
        }
        return reply;
    }
    if (kind == zarn_kind_give_back) {
        giveBack(id, data);
        return nullptr;
    }
    breach("kinds", "sent kind " + std::to_string(kind) + " to the host");
    return nullptr;
}

void* CheckSession::reading(int id, const std::string& text, const std::string& reply) {
    if (answers == Answers::Null) {
        return nullptr;
    }
    const std::string& answer = answers == Answers::Empty ? std::string() : reply;
    char* buffer = new char[answer.size() + 1];
    std::memcpy(buffer, answer.c_str(), answer.size() + 1);
    out_.emplace(buffer, Out{id, text});
    return buffer;
}

void CheckSession::giveBack(int id, void* reply) {
    if (reply == nullptr) {
        return; // "RN" gives its null reply back; nothing to do
    }
    if (reply == static_cast<const void*>(kept_)) {
        breach("replies", "gave back the reply to PS, which stays the host's");
        return;
    }
    const auto found = out_.find(reply);
    if (found == out_.end() || found->second.instance != id) {
        breach("replies", "gave back a pointer that the host never handed it");
        return;
    }
    if (givenBack_.count(reply) != 0) {
        breach("replies", "gave back the reply to \"" + cut(found->second.command) + "\" twice");
        return;
    }
    if (keepRecords) {
        // Kept until the session ends, so that a second give-back is seen as such.
        givenBack_.insert(reply);
        freed_.emplace_back(static_cast<char*>(reply));
    } else {
        delete[] static_cast<char*>(reply);
        out_.erase(found);
    }
}

void* CheckSession::command(int id, const std::string& text) {
    Instance& from = instance(id);
    if (keepRecords) {
        from.sent.push_back(text);
    }
    if (from.detached) {
        breach("detach", "sent \"" + cut(text) + "\" after AS");
    }
    const ParsedHostCommand parsed = parseHostCommand(text);
    if (!parsed.command) {
        breach("commands", "sent \"" + cut(text) + "\", which no host reads: " + parsed.error);
        return nullptr;
    }
    const HostCommand& c = *parsed.command;
    const auto field = [&](std::size_t i) { return std::string(c.fields[i]); };
    if (c.word == "PS") {
        const Layout layout = loadLayout(field(1));
        from.controls.clear();
        for (const Control& control : layout.controls) {
            from.controls.push_back(control.id);
        }
        return const_cast<char*>(kept_);
    }
    if (c.word == "TP") {
        const std::string assignment = field(0);
        const std::size_t equals = assignment.find('=');
        from.properties[{field(1), field(2), assignment.substr(0, equals)}] =
            equals == std::string::npos ? "" : assignment.substr(equals + 1);
        return nullptr;
    }
    if (c.word == "TG") {
        const auto found = from.properties.find({field(0), field(1), field(2)});
        return reading(id, text,
                       field(2) + "=" + (found != from.properties.end() ? found->second : ""));
    }
    if (c.word == "XI") {
        std::string list;
        for (const std::string& control : from.controls) {
            if (control.compare(0, c.fields[1].size(), c.fields[1]) == 0) {
                list += (list.empty() ? "" : ",") + control;
            }
        }
        return reading(id, text, list);
    }
    if (c.word == "HN") {
        const std::string message = field(0);
        const std::string select = "select=";
        if (message.compare(0, select.size(), select) == 0 &&
            message.substr(select.size()) != from.selection) {
            from.selection = message.substr(select.size());
            deliveries_.push_back({id, false, 0, 0, "index=" + from.selection});
        }
        return nullptr;
    }
    if (c.word == "RN") {
        // An entry for every index: "<index>,<index + 1>", which names destinations.
        const long long index = c.numbers[2];
        return reading(id, text, std::to_string(index) + "," + std::to_string(index + 1));
    }
    if (c.word == "RP") {
        const long long first = c.numbers[1];
        const long long last =
            c.numbers[2] - first + 1 > maxPolled ? first + maxPolled - 1 : c.numbers[2];
        for (long long destination = first; destination <= last; ++destination) {
            deliveries_.push_back({id, true, c.numbers[0], static_cast<int>(destination),
                                   "SRC " + std::to_string(destination)});
        }
        return nullptr;
    }
    if (c.word == "ET") {
        from.timers.erase(c.numbers[0]);
        return nullptr;
    }
    if (c.word == "AS") {
        from.detached = true;
        from.registrations.clear();
        from.timers.clear();
        return nullptr;
    }
    keepRegistration(from, c);
    return nullptr;
}

void CheckSession::keepRegistration(Instance& from, const HostCommand& c) {
    if (c.word == "RR") {
        std::vector<std::pair<int, int>>& ranges = from.registrations[c.numbers[0]];
        if (!c.add) {
            ranges.clear();
        }
        ranges.emplace_back(c.numbers[1], c.numbers[2]);
    } else if (c.word == "RU") {
        from.registrations.erase(c.numbers[0]);
    }
}

void CheckSession::drain() {
    if (depth_ > 0) {
        return;
    }
    while (!deliveries_.empty()) {
        if (++deliveredInAction_ > maxDeliveries) {
            deliveries_.clear();
            return;
        }
        const Delivery next = deliveries_.front();
        deliveries_.pop_front();
        deliver(next);
    }
    deliveredInAction_ = 0;
}

void CheckSession::deliver(const Delivery& delivery) {
    if (delivery.revertive) {
        OwnedRevertive record(delivery.device, delivery.index, delivery.text);
        call(delivery.instance, record.record(), zarn_kind_revertive,
             "a revertive answering RP " + std::to_string(delivery.device) + " " +
                 std::to_string(delivery.index));
        return;
    }
    void* reply = call(delivery.instance, const_cast<char*>(delivery.text.c_str()),
                       zarn_kind_parent_command, "the parent's \"" + delivery.text + "\"");
    if (reply != nullptr) {
        call(delivery.instance, reply, zarn_kind_give_back, "the give-back of its reply");
    }
}
