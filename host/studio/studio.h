// The stand-in studio: the panel host that components run in, with its panels, routers,
// databases, timers and the parent that places and configures the components.
//
// Everything reaches a component only through its module's factory and its callback,
// with the records and command texts of the host link, so any component module runs here.
//
// No call into a component overlaps another: what the host sends because of a command
// (the revertives of a poll, the "index" a group relays after "select=N") waits in a
// queue until the component's call has returned, and goes out before the action that
// caused it ends.
#pragma once

#include "component_module.h"
#include "databases.h"
#include "groups.h"
#include "host_command.h"
#include "panels.h"
#include "reply_ledger.h"
#include "routers.h"
#include "timers.h"
#include "transcript.h"

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Studio {
public:
    explicit Studio(Transcript& transcript);
    // Destroys every instance still placed (see finish), then unloads the modules.
    ~Studio();
    Studio(const Studio&) = delete;
    Studio& operator=(const Studio&) = delete;

    // Each gives the empty text on success, else what went wrong.
    std::string loadModule(const std::string& name, const std::string& path);
    // Places an instance of a loaded module with its own host object and instance path,
    // in a group or none ("").
    std::string place(const std::string& instance, const std::string& module,
                      const std::string& path, const std::string& group);
    bool placed(const std::string& instance) const { return find(instance) != nullptr; }
    bool hasGroup(const std::string& group) const { return groups_.exists(group); }

    // The parent sends a command; gives the reply (nothing for none).
    std::optional<std::string> send(const std::string& instance, const std::string& text);
    // The parent sends a command to every member of a group.
    void broadcast(const std::string& group, const std::string& text);
    // An operator event on a control of the instance's panel, such as "button=released".
    void controlEvent(const std::string& instance, const std::string& control,
                      const std::string& eventText);
    // A route change; every instance registered for the destination hears of it.
    void route(int device, int destination, int source);
    void startTimer(const std::string& instance, int id);
    // Delivers `rounds` rounds of ticks to the running timers.
    void tick(int rounds);
    void destroy(const std::string& instance);
    // Destroys every instance and reports the replies they never gave back.
    void finish();

    Routers& routers() { return routers_; }
    Databases& databases() { return databases_; }
    const Routers& routers() const { return routers_; }

    // What scenarios check. The commands an instance sent since beginAction, also when
    // the action destroyed it.
    void beginAction();
    bool known(const std::string& instance) const;
    std::vector<std::string> sentDuringAction(const std::string& instance) const;
    const Control* control(const std::string& instance, const std::string& control) const;
    std::vector<DestinationRange> registrations(const std::string& instance, int device) const;
    bool timerRunning(const std::string& instance, int id) const;
    PanelView view() const;

    // The way in from every instance's host object.
    void* fromComponent(int instance, void* data, int kind);

private:
    class InstanceHost;
    struct Instance;
    struct Delivery {
        int instance;
        bool revertive; // else a parent command
        int device;
        int index;
        std::string text;
    };

    Instance* find(const std::string& name);
    const Instance* find(const std::string& name) const;
    Instance* alive(int id);

    void* command(Instance& instance, const std::string& text);
    void giveBack(Instance& instance, void* reply);
    void* textCommand(Instance& instance, const std::string& text, const HostCommand& command);
    void* routerCommand(Instance& instance, const HostCommand& command);
    void notified(Instance& instance, const std::string& message);

    std::optional<std::string> parentCommand(Instance& instance, const std::string& text);
    void revertive(Instance& instance, int device, int index, const std::string& text);
    // Every call into a component goes through here: no exception gets past it.
    void* call(Instance& instance, void* data, int kind);
    // Queues a parent command for every member; "index=N" also sets the selection.
    void queueBroadcast(const std::string& group, const std::string& text);
    void drain();
    void destroy(Instance& instance);

    Transcript& transcript_;
    std::map<std::string, std::unique_ptr<ComponentModule>> modules_;
    std::vector<std::unique_ptr<Instance>> instances_; // in placement order; id = position
    Routers routers_;
    Databases databases_;
    Timers timers_;
    Groups groups_;
    ReplyLedger ledger_;
    void* shownReply_;
    std::deque<Delivery> queue_;
};
