// A host for tests: records every command a component sends, answers commands from a
// table, and keeps account of every reply buffer it hands out.
//
// Replies to the reading commands "TG", "XI" and "RN" are fresh arrays that must come
// back with kind 5, exactly once each; a reply to any other command stays the host's and
// must not come back. verify() lists every breach of that, and every reply still out;
// the destructor reports what verify() would, so a test that keeps the host alive for
// the component's whole life checks the component's buffer handling for free.
//
// It keeps the revertive registrations as a host does, per device: a plain "RR" sets the
// component's ranges on the device, the 'ADD' form adds one, "RU" drops the device's and
// "AS" every device's. A test delivers a revertive that a real host would deliver with
// route().
#pragma once

#include <zarn_script_helper/zarn_client_callback.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class RecordingHost : public zarn_client_callback {
public:
    struct Event {
        int kind;         // 0: a command; 5: a reply given back
        std::string text; // the command, or what the given-back reply held ("(null)")
        bool operator==(const Event& other) const {
            return kind == other.kind && text == other.text;
        }
    };

    RecordingHost() = default;
    ~RecordingHost() override;
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    // From now on the command `command` is answered with `reply` (nullopt: null).
    void answer(const std::string& command, std::optional<std::string> reply);
    // Runs after each command is recorded and before it is answered, inside the
    // component's call: for hosts that call back into the component at once.
    void onCommand(std::function<void(const std::string&)> hook) { hook_ = std::move(hook); }

    // The command texts received, in order.
    std::vector<std::string> commands() const;
    // Commands and give-backs, in order.
    const std::vector<Event>& events() const { return events_; }
    // Forgets what was recorded (the replies still out stay accounted for).
    void clearRecord() { events_.clear(); }

    // The ranges registered on `device`, as "33-33,17-17" ("" for none).
    std::string registrations(int device) const;
    bool registered(int device, int index) const;
    // A route change on the router: the component hears it, as a revertive, only when it
    // is registered for the destination. True when it was delivered.
    bool route(zarn_client_callback& component, int device, int index, const std::string& text);

    // Every breach of the give-back rules so far, and every reading reply still out.
    std::vector<std::string> verify() const;
    // Stops the destructor from reporting; for tests of the breaches themselves.
    void expectBreaches() { reportOnDestruction_ = false; }

    void* callback(void* data, int kind) override;

private:
    void* reply(const std::string& command);
    void keepRegistration(const std::string& command);
    void takeBack(void* data);

    std::map<std::string, std::optional<std::string>> answers_;
    std::function<void(const std::string&)> hook_;
    std::vector<Event> events_;
    // Reading replies out with the component, by address, with what they held.
    std::map<const void*, std::string> out_;
    // Replies the host keeps; their addresses must never come back.
    std::vector<std::unique_ptr<std::string>> kept_;
    std::set<const void*> keptAddresses_;
    // Null replies to "RN", which the component gives back as null.
    int nullGiveBacksDue_ = 0;
    // device to its registered ranges (first, last), in the order they were set
    std::map<int, std::vector<std::pair<int, int>>> registrations_;
    std::vector<std::string> breaches_;
    bool reportOnDestruction_ = true;
};

// Sends `text` to `component` as a parent command (kind 3) and gives the reply buffer
// back (kind 5); nullopt when the component gave no reply.
std::optional<std::string> askComponent(zarn_client_callback& component, const char* text);
