#include "routers.h"

void Routers::define(int device, const std::string& name) {
    devices_[device].name = name;
}

const std::string& Routers::name(int device) const {
    static const std::string none;
    const auto found = devices_.find(device);
    return found != devices_.end() ? found->second.name : none;
}

void Routers::nameSource(int device, int source, const std::string& name) {
    devices_[device].sourceNames[source] = name;
}

std::optional<int> Routers::routed(int device, int destination) const {
    const auto found = devices_.find(device);
    if (found == devices_.end()) {
        return std::nullopt;
    }
    const auto crosspoint = found->second.crosspoints.find(destination);
    if (crosspoint == found->second.crosspoints.end()) {
        return std::nullopt;
    }
    return crosspoint->second;
}

void Routers::route(int device, int destination, int source) {
    devices_[device].crosspoints[destination] = source;
}

std::string Routers::revertiveText(int device, int destination) const {
    const std::optional<int> source = routed(device, destination);
    if (!source) {
        return "";
    }
    const Device& found = devices_.at(device);
    const auto named = found.sourceNames.find(*source);
    return named != found.sourceNames.end() ? named->second : std::to_string(*source);
}

void Routers::registerRange(int instance, int device, DestinationRange range, bool add) {
    std::vector<DestinationRange>& ranges = registrations_[device][instance];
    if (!add) {
        ranges.clear();
    }
    ranges.push_back(range);
}

void Routers::unregister(int instance, int device) {
    const auto found = registrations_.find(device);
    if (found != registrations_.end()) {
        found->second.erase(instance);
    }
}

void Routers::unregisterAll(int instance) {
    for (auto& [device, instances] : registrations_) {
        instances.erase(instance);
    }
}

std::vector<int> Routers::registeredFor(int device, int destination) const {
    std::vector<int> instances;
    const auto found = registrations_.find(device);
    if (found == registrations_.end()) {
        return instances;
    }
    for (const auto& [instance, ranges] : found->second) {
        for (const DestinationRange& range : ranges) {
            if (range.contains(destination)) {
                instances.push_back(instance);
                break;
            }
        }
    }
    return instances;
}

std::vector<DestinationRange> Routers::registrations(int instance, int device) const {
    const auto found = registrations_.find(device);
    if (found == registrations_.end()) {
        return {};
    }
    const auto ranges = found->second.find(instance);
    return ranges != found->second.end() ? ranges->second : std::vector<DestinationRange>{};
}
