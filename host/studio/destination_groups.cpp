#include "destination_groups.h"

#include <algorithm>

namespace {

const std::string selectPrefix = "select=";
const std::string indexPrefix = "index=";

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

void DestinationGroups::join(const std::string& group, int instance) {
    groups_[group].members.push_back(instance);
}

void DestinationGroups::leave(const std::string& group, int instance) {
    const auto found = groups_.find(group);
    if (found != groups_.end()) {
        std::vector<int>& members = found->second.members;
        members.erase(std::remove(members.begin(), members.end(), instance), members.end());
    }
}

const std::vector<int>& DestinationGroups::members(const std::string& group) const {
    static const std::vector<int> none;
    const auto found = groups_.find(group);
    return found != groups_.end() ? found->second.members : none;
}

DestinationGroups::Answer DestinationGroups::notified(const std::string& group,
                                                      const std::string& message) const {
    Answer answer;
    if (group.empty() || !startsWith(message, selectPrefix)) {
        return answer;
    }
    const std::string index = message.substr(selectPrefix.size());
    if (selection(group) == index) {
        answer.kind = Answer::Kind::Echo;
        answer.text = index;
        return answer;
    }
    answer.kind = Answer::Kind::Broadcast;
    answer.text = indexPrefix + index;
    return answer;
}

void DestinationGroups::broadcasting(const std::string& group, const std::string& text) {
    if (startsWith(text, indexPrefix)) {
        groups_[group].selection = text.substr(indexPrefix.size());
    }
}

std::optional<std::string> DestinationGroups::selection(const std::string& group) const {
    const auto found = groups_.find(group);
    return found != groups_.end() ? found->second.selection : std::nullopt;
}

bool DestinationGroups::selected(const std::string& group,
                                 const std::map<std::string, std::string>& properties) const {
    if (group.empty()) {
        return false;
    }
    const std::optional<std::string> index = selection(group);
    const auto destination = properties.find("destination_id");
    return index && destination != properties.end() && destination->second == *index;
}
