// The parent's destination groups: buttons placed together, among which the selection
// moves. A member's notification "select=N" makes the parent send "index=N" to every
// member, so that N's button selects itself and every other deselects.
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

class Groups {
public:
    void join(const std::string& group, int instance) {
        groups_[group].members.push_back(instance);
    }
    void leave(int instance) {
        for (auto& [name, group] : groups_) {
            auto& members = group.members;
            members.erase(std::remove(members.begin(), members.end(), instance), members.end());
        }
    }
    bool exists(const std::string& group) const { return groups_.count(group) != 0; }
    std::vector<int> members(const std::string& group) const {
        const auto found = groups_.find(group);
        return found != groups_.end() ? found->second.members : std::vector<int>{};
    }
    // The index value the parent last sent the group.
    void select(const std::string& group, const std::string& index) {
        groups_[group].selection = index;
    }
    std::optional<std::string> selection(const std::string& group) const {
        const auto found = groups_.find(group);
        return found != groups_.end() ? found->second.selection : std::nullopt;
    }

private:
    struct Group {
        std::vector<int> members; // in placement order
        std::optional<std::string> selection;
    };
    std::map<std::string, Group> groups_;
};
