// The stand-in studio: the panel host that components run in, with its panels, routers,
// databases, timers and the parent that places and configures the components. This file
// holds the studio's actions and the lives of its instances; what a component's command
// does is the host command interpreter's (host_command_interpreter.h), what the parent
// says to destination buttons the destination groups' (destination_groups.h), and what
// scenarios read the view's (studio_view.h).
//
// Everything reaches a component only through its module's factory and its callback,
// with the records and command texts of the host link, so any component module runs here.
//
// Deliveries. What the host sends because of a command (the revertives of a poll, the
// "index" a group relays after "select=N") goes out in one of two orders:
//   - queued (the default): it waits until the component's call has returned, and goes
//     out before the action that caused it ends; no call into a component overlaps
//     another;
//   - nested: it goes out at once, inside the component's call that caused it (the
//     revertive inside "RP", the "index" inside "HN"), as a host may do.
// A component must behave the same either way.
#pragma once

#include "router_links.h"
#include "studio_state.h"
#include "studio_view.h"
#include "transcript.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string>

enum class DeliveryOrder { Queued, Nested };

class StudioLinkEvents;

class Studio {
public:
    explicit Studio(Transcript& transcript, DeliveryOrder order = DeliveryOrder::Queued);
    // Destroys every instance still placed (see finish), then unloads the modules.
    ~Studio();
    Studio(const Studio&) = delete;
    Studio& operator=(const Studio&) = delete;

    // Each gives the empty text on success, else what went wrong. A module name is loaded
    // once: no module is ever unloaded while an instance of it may live.
    std::string loadModule(const std::string& name, const std::string& path);
    // The same for a module at hand (such as a component linked into the program).
    std::string addModule(const std::string& name, std::unique_ptr<ComponentModule> module);
    // Places an instance of a loaded module with its own host object and instance path,
    // in a group or none (""). A path holding "' '" is refused: the "PS" command the
    // component sends with it could not be read back.
    std::string place(const std::string& instance, const std::string& module,
                      const std::string& path, const std::string& group);

    // The parent sends a command; gives the reply (nothing for none).
    std::optional<std::string> send(const std::string& instance, const std::string& text);
    // The parent sends a command to every member of a group.
    void broadcast(const std::string& group, const std::string& text);
    // An operator event on a control of the instance's panel, such as "button=released".
    void controlEvent(const std::string& instance, const std::string& control,
                      const std::string& eventText);
    // A router device of the studio, with its name.
    void defineRouter(int device, const std::string& name);
    // A source's name; every instance registered for a destination routed to it hears of
    // it, as a revertive with the new name.
    void nameSource(int device, int source, const std::string& name);
    // A route change; every instance registered for the destination hears of it. On a
    // linked router it is a take, and the route changes when the router reports it; gives
    // why the take could not be sent, or "".
    std::string route(int device, int destination, int source);

    // The links to real routers, if any; not owned, null for none. The studio hears them
    // through linkEvents(), on its own thread.
    void useLinks(RouterLinks* links) { state_.links = links; }
    RouterLinks* links() { return state_.links; }
    RouterLinkEvents& linkEvents();
    void startTimer(const std::string& instance, int id);
    // Delivers up to `rounds` rounds of ticks to the running timers; stops as soon as
    // none runs, so that idle rounds cost nothing.
    void tick(int rounds);
    void destroy(const std::string& instance);
    // Destroys every instance and reports the replies they never gave back.
    void finish();

    Routers& routers() { return state_.routers; }
    Databases& databases() { return state_.databases; }
    // Tells `observer` of every change from now on, until it is forgotten. Not owned.
    void observe(StudioObserver* observer) { state_.observers.push_back(observer); }
    void forget(StudioObserver* observer) {
        state_.observers.erase(
            std::remove(state_.observers.begin(), state_.observers.end(), observer),
            state_.observers.end());
    }
    // Where relative layout paths start.
    void setFolder(const std::string& folder) { state_.folder = folder; }
    // What went wrong inside the last action's calls, such as a layout that cannot be
    // read (the action fails with it); empty when nothing did. Forgets it.
    std::string takeError();

    // What scenarios check; "the current action" starts with beginAction.
    void beginAction() { state_.instances.beginAction(); }
    StudioView view() const { return StudioView(state_); }
    const StudioState& state() const { return state_; }

private:
    class InstanceHost;
    friend class StudioLinkEvents;

    // A route that is so now (a simulated route, or one a linked router reported).
    void routed(int device, int destination, int source);

    // The way in from every instance's host object.
    void* fromComponent(int instance, void* data, int kind);
    std::optional<std::string> parentCommand(Instance& instance, const std::string& text);
    void revertive(Instance& instance, int device, int index, const std::string& text);
    // Every call into a component goes through here: no exception gets past it.
    void* call(Instance& instance, void* data, int kind);
    // Sends what waits in the studio's deliveries.
    void drain();
    // Sends `deliveries` in order, counting them against the action's limit.
    void deliver(std::deque<Delivery>& deliveries);
    void destroy(Instance& instance);

    StudioState state_;
    DeliveryOrder order_;
    // Calls into components under way, one inside the other.
    int depth_ = 0;
    // Deliveries in the current action.
    int delivered_ = 0;
    std::unique_ptr<StudioLinkEvents> linkEvents_;
};
