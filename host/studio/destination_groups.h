// The parent's destination groups: destination buttons placed together, among which the
// selection moves. The whole of the parent's side of the destination button's protocol
// lives here; the rest of the studio knows no component's words.
//
//   - A member's notification "select=N" makes the parent send "index=N" to every member,
//     so that N's button selects itself and every other deselects.
//   - The selected button answers its own "index=N" with "select=N" again. Passing that
//     on would loop forever, so the parent passes "select=N" on only when N is not the
//     group's selection already; such an echo is dropped, and the studio says so.
//   - A member shows as selected when the group's selection equals the "destination_id"
//     its parent configured it with.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class DestinationGroups {
public:
    void join(const std::string& group, int instance);
    void leave(const std::string& group, int instance);
    bool exists(const std::string& group) const { return groups_.count(group) != 0; }
    // The members in placement order; empty for a group that does not exist.
    const std::vector<int>& members(const std::string& group) const;

    // What the parent does with a member's notification.
    struct Answer {
        enum class Kind { Nothing, Broadcast, Echo };
        Kind kind = Kind::Nothing;
        // For Broadcast: the text for every member ("index=N"); for Echo: the selection.
        std::string text;
    };
    Answer notified(const std::string& group, const std::string& message) const;
    // A parent text about to go to every member: "index=N" makes N the selection.
    void broadcasting(const std::string& group, const std::string& text);

    // The index the parent last sent the group, if any.
    std::optional<std::string> selection(const std::string& group) const;
    // A member with these parent properties is the group's selected button.
    bool selected(const std::string& group,
                  const std::map<std::string, std::string>& properties) const;

private:
    struct Group {
        std::vector<int> members; // in placement order
        std::optional<std::string> selection;
    };
    std::unordered_map<std::string, Group> groups_;
};
