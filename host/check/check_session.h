// The host that zarn-host check plays against a module: hostile but legal. It creates and
// destroys instances through the module's factory, delivers every kind of message, answers
// the host commands as a host does (or with null or empty replies, when told to), keeps
// account of every reply buffer both ways, and writes down every breach of the host
// contract it sees, by what it breaks:
//   replies     a reading reply not given back, given back twice, a pointer given back
//               that was never handed out, a reply of the host's own given back
//   commands    a text no host reads (an unknown command, a field cut short)
//   exceptions  an exception let out of the factory, callback or the destructor
//   detach      a command sent after "AS"
//   kinds       a kind other than 0 and 5 sent to the host
// Each test asks only after what it checks; a crash or a hang is the test runner's.
#pragma once

#include "component_module.h"
#include "in_flight.h"

#include <zarn_script_helper/records.h>
#include <zarn_script_helper/zarn_client_callback.h>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct HostCommand;

class CheckSession {
public:
    // How the host answers "TG", "XI" and "RN".
    enum class Answers { Normal, Null, Empty };
    // When what a command sets off (the revertives of "RP", the parent's "index" after
    // "HN") goes out: after the component's call returns, or inside it.
    enum class Order { Queued, Nested };

    struct Instance {
        zarn_client_callback* component = nullptr;
        std::unique_ptr<zarn_client_callback> host;
        bool detached = false; // "AS" was sent
        std::vector<std::string> sent;
        std::vector<std::optional<std::string>> replies; // to parent commands, in order
        // (panel, control, property) to value, as "TP" set it.
        std::map<std::tuple<std::string, std::string, std::string>, std::string> properties;
        std::map<int, std::vector<std::pair<int, int>>> registrations; // device to ranges
        std::set<int> timers;                                          // started, not stopped
        std::vector<std::string> controls; // of the layout "PS" showed, if it could be read
        std::string selection;             // the parent's last "index"
    };

    CheckSession(const ComponentModule& module, InFlight& inFlight);
    ~CheckSession();
    CheckSession(const CheckSession&) = delete;
    CheckSession& operator=(const CheckSession&) = delete;

    Answers answers = Answers::Normal;
    Order order = Order::Queued;
    // Whether the commands sent and the replies given are written down, and every reply
    // given back kept until the end (so that a second give-back is seen). A long run that
    // watches the heap turns it off, so that the host's own records do not grow.
    bool keepRecords = true;

    // A new instance through the factory, with a host object unless `withHost` is false;
    // gives its number, or -1 when the factory gave none.
    int create(const char* path, bool withHost = true);
    void destroy(int instance);
    void destroyAll();
    Instance& instance(int id) { return *instances_.at(static_cast<std::size_t>(id)); }

    // Messages, each delivered as a host does; what they set off follows (see Order).
    // `what` names the message in a report.
    void* call(int instance, void* data, int kind, const std::string& what);
    std::optional<std::string> parent(int instance, const char* text);
    void revertive(int instance, int device, int index, const std::string& text);
    void controlEvent(int instance, const char* panel, const char* control, const char* text);
    void timer(int instance, int id);

    // The breaches seen so far of one kind ("replies", "commands", "exceptions", "detach",
    // "kinds"), each in a line.
    const std::vector<std::string>& breaches(const std::string& kind) const;
    // The reading replies still out with `instance`'s component.
    std::vector<std::string> outstanding(int instance) const;

    // The way in from every instance's host object.
    void* fromComponent(int instance, void* data, int kind);

private:
    struct Delivery {
        int instance;
        bool revertive; // else a parent command
        int device;
        int index;
        std::string text;
    };
    struct Out {
        int instance;
        std::string command;
    };

    void breach(const std::string& kind, const std::string& text);
    void* command(int id, const std::string& text);
    void* reading(int id, const std::string& text, const std::string& reply);
    void giveBack(int id, void* reply);
    void keepRegistration(Instance& instance, const HostCommand& command);
    void drain();
    void deliver(const Delivery& delivery);

    const ComponentModule& module_;
    InFlight& inFlight_;
    std::vector<std::unique_ptr<Instance>> instances_;
    std::map<std::string, std::vector<std::string>> breaches_;
    std::map<const void*, Out> out_;  // reading replies handed out
    std::set<const void*> givenBack_; // and come back (their memory kept until the end)
    std::vector<std::unique_ptr<char[]>> freed_;
    const char kept_[6] = "shown"; // the reply to "PS": the host's own
    std::deque<Delivery> deliveries_;
    int depth_ = 0;
    int deliveredInAction_ = 0;
};
