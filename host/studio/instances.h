// The placed instances of the studio: each a component with its own host object, the
// panels it shows, the properties its parent sent it and what it sent in the current
// action. Found by name in constant time.
#pragma once

#include "panels.h"

#include <zarn_script_helper/zarn_client_callback.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct Instance {
    int id; // its position in placement order
    std::string name;
    std::string module;
    std::string group;                          // empty: in no group
    std::unique_ptr<zarn_client_callback> host; // outlives the component
    zarn_client_callback* component = nullptr;
    bool alive = true;
    Panels panels;
    // The key=value properties the parent has sent it, last value per key.
    std::map<std::string, std::string> properties;
};

class Instances {
public:
    // A new instance, alive, with the next id; the component is set by the caller.
    Instance& add(const std::string& name, const std::string& module, const std::string& group);
    // Marks the instance no longer alive: its name is free again.
    void retire(Instance& instance);

    // The live instance of that name, or null.
    Instance* find(const std::string& name);
    const Instance* find(const std::string& name) const;
    // The newest instance of that name, alive or not (a destroyed one's last words are
    // still asked for), or null.
    const Instance* newest(const std::string& name) const;
    // The instance with that id if it is alive, else null.
    Instance* alive(int id);
    Instance& at(int id) { return *all_.at(static_cast<std::size_t>(id)); }

    // Every instance ever placed, in placement order.
    const std::vector<std::unique_ptr<Instance>>& all() const { return all_; }
    bool usesModule(const std::string& module) const;

    // The command texts of the current action, kept in one log in the order they came:
    // the action's start forgets the last one's.
    void beginAction();
    void sent(const Instance& instance, const std::string& text);
    // What the instance sent in the current action, in order.
    std::vector<std::string> sentInAction(const Instance& instance) const;
    // The host calls into the instance's component.
    void called(const Instance& instance);
    // The instances the host called in the current action, in the order of the first
    // call into each.
    const std::vector<int>& calledInAction() const { return calledInAction_; }

private:
    std::vector<std::unique_ptr<Instance>> all_;
    std::unordered_map<std::string, int> live_;             // name to id
    std::unordered_map<std::string, int> newest_;           // name to id
    std::unordered_map<std::string, int> moduleUsers_;      // live instances of each module
    std::vector<std::pair<int, std::string>> sentInAction_; // instance id, command text
    std::vector<int> calledInAction_;
    std::vector<bool> calledNow_; // by id: called in the current action
};
