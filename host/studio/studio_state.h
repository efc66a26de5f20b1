// What a studio holds: the loaded modules, the placed instances, the routers, databases,
// timers and destination groups, the reply ledger, and the deliveries that wait for the
// call in flight to return. The studio's actions (studio.h), the host command interpreter
// (host_command_interpreter.h) and the read-only view (studio_view.h) all work on it.
#pragma once

#include "component_module.h"
#include "databases.h"
#include "destination_groups.h"
#include "instances.h"
#include "reply_ledger.h"
#include "router_links.h"
#include "routers.h"
#include "timers.h"
#include "transcript.h"

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// A message the host sends because of another: the revertives of a poll or of a route
// change, the parent commands a destination group relays.
struct Delivery {
    enum class Kind { Revertive, ParentCommand };
    int instance;
    Kind kind;
    int device; // revertives only
    int index;  // revertives only
    std::string text;
};

// Who wants to hear what changes in a studio as it happens (the browser panel, the
// router side): the calls come on the studio's thread, from inside the action that made
// the change.
class StudioObserver {
public:
    virtual ~StudioObserver() = default;
    // Each does nothing unless overridden: an observer takes what it needs.
    // An instance came, showed a panel, or went.
    virtual void instanceChanged(int /*instance*/) {}
    virtual void instanceGone(int /*instance*/) {}
    // A control's property was set ("TP").
    virtual void propertySet(int /*instance*/, const std::string& /*panel*/,
                             const std::string& /*control*/, const std::string& /*property*/,
                             const std::string& /*value*/) {}
    // Which buttons of a group show selected may have changed.
    virtual void selectionChanged(const std::string& /*group*/) {}
    // A router was defined, a crosspoint changed, or a source got a name.
    virtual void routerChanged(int /*device*/) {}
    virtual void routed(int /*device*/, int /*destination*/, int /*source*/) {}
    virtual void sourceNamed(int /*device*/, int /*source*/, const std::string& /*name*/) {}
};

struct StudioState {
    explicit StudioState(Transcript& out) : transcript(out), shownReply(ledger.keep("shown")) {}

    Transcript& transcript;
    std::unordered_map<std::string, std::unique_ptr<ComponentModule>> modules;
    Instances instances;
    Routers routers;
    Databases databases;
    Timers timers;
    DestinationGroups groups;
    ReplyLedger ledger;
    // The reply to "PS": the host's own, never to come back.
    void* shownReply;
    std::deque<Delivery> deliveries;
    // Where a relative layout path starts (the scenario's folder).
    std::string folder = ".";
    // What went wrong inside a call that the action calling it must fail with, such as a
    // layout that cannot be read; empty when nothing did.
    std::string error;
    // Told of every change; not owned.
    std::vector<StudioObserver*> observers;
    // The links of routers that are real routers; not owned, null for none.
    RouterLinks* links = nullptr;

    // Tells every observer: notify([&](StudioObserver& o) { o.routerChanged(1); }).
    template <typename Call> void notify(const Call& call) {
        for (StudioObserver* observer : observers) {
            call(*observer);
        }
    }
};

// Queues a revertive of (device, index) with `text` for the instance.
void postRevertive(StudioState& studio, int instance, int device, int index,
                   const std::string& text);
// Queues a parent command for every member of the group, in placement order.
void postToGroup(StudioState& studio, const std::string& group, const std::string& text);
