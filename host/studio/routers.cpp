#include "routers.h"

#include <algorithm>

namespace {

bool isNarrow(DestinationRange range) {
    return static_cast<long long>(range.last) - range.first < Routers::narrowWidth;
}

} // namespace

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

const std::string* Routers::sourceName(int device, int source) const {
    const auto found = devices_.find(device);
    if (found == devices_.end()) {
        return nullptr;
    }
    const auto named = found->second.sourceNames.find(source);
    return named != found->second.sourceNames.end() ? &named->second : nullptr;
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

void Routers::indexRange(int instance, int device, DestinationRange range) {
    if (!isNarrow(range)) {
        wide_[device].emplace_back(instance, range);
        return;
    }
    for (int destination = range.first;; ++destination) {
        narrow_[key(device, destination)].push_back(instance);
        if (destination == range.last) {
            break;
        }
    }
}

void Routers::unindexRange(int instance, int device, DestinationRange range) {
    if (!isNarrow(range)) {
        auto& ranges = wide_[device];
        const auto found = std::find_if(ranges.begin(), ranges.end(), [&](const auto& entry) {
            return entry.first == instance && entry.second.first == range.first &&
                   entry.second.last == range.last;
        });
        if (found != ranges.end()) {
            ranges.erase(found);
        }
        return;
    }
    for (int destination = range.first;; ++destination) {
        const auto entry = narrow_.find(key(device, destination));
        if (entry != narrow_.end()) {
            std::vector<int>& instances = entry->second;
            const auto found = std::find(instances.begin(), instances.end(), instance);
            if (found != instances.end()) {
                instances.erase(found);
            }
            if (instances.empty()) {
                narrow_.erase(entry);
            }
        }
        if (destination == range.last) {
            break;
        }
    }
}

void Routers::dropRanges(int instance, int device) {
    const auto devices = byInstance_.find(instance);
    if (devices == byInstance_.end()) {
        return;
    }
    const auto ranges = devices->second.find(device);
    if (ranges == devices->second.end()) {
        return;
    }
    for (const DestinationRange& range : ranges->second) {
        unindexRange(instance, device, range);
    }
    devices->second.erase(ranges);
}

void Routers::registerRange(int instance, int device, DestinationRange range, bool add) {
    if (!add) {
        dropRanges(instance, device);
    }
    byInstance_[instance][device].push_back(range);
    indexRange(instance, device, range);
}

void Routers::unregister(int instance, int device) {
    dropRanges(instance, device);
}

void Routers::unregisterAll(int instance) {
    const auto devices = byInstance_.find(instance);
    if (devices == byInstance_.end()) {
        return;
    }
    for (const auto& [device, ranges] : devices->second) {
        for (const DestinationRange& range : ranges) {
            unindexRange(instance, device, range);
        }
    }
    byInstance_.erase(devices);
}

std::vector<int> Routers::registeredFor(int device, int destination) const {
    std::vector<int> instances;
    const auto narrow = narrow_.find(key(device, destination));
    if (narrow != narrow_.end()) {
        instances = narrow->second;
    }
    const auto wide = wide_.find(device);
    if (wide != wide_.end()) {
        for (const auto& [instance, range] : wide->second) {
            if (range.contains(destination)) {
                instances.push_back(instance);
            }
        }
    }
    // Placement order, and each instance once however many of its ranges cover it.
    std::sort(instances.begin(), instances.end());
    instances.erase(std::unique(instances.begin(), instances.end()), instances.end());
    return instances;
}

std::vector<DestinationRange> Routers::registrations(int instance, int device) const {
    const auto devices = byInstance_.find(instance);
    if (devices == byInstance_.end()) {
        return {};
    }
    const auto ranges = devices->second.find(device);
    return ranges != devices->second.end() ? ranges->second : std::vector<DestinationRange>{};
}

std::vector<int> Routers::devices() const {
    std::vector<int> found;
    for (const auto& [device, contents] : devices_) {
        found.push_back(device);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::map<int, std::string> Routers::sourceNames(int device) const {
    const auto found = devices_.find(device);
    return found != devices_.end() ? std::map<int, std::string>(found->second.sourceNames.begin(),
                                                                found->second.sourceNames.end())
                                   : std::map<int, std::string>{};
}

std::map<int, int> Routers::crosspoints(int device) const {
    const auto found = devices_.find(device);
    return found != devices_.end() ? std::map<int, int>(found->second.crosspoints.begin(),
                                                        found->second.crosspoints.end())
                                   : std::map<int, int>{};
}

std::vector<int> Routers::destinationsOf(int device, int source) const {
    std::vector<int> destinations;
    for (const auto& [destination, routedSource] : crosspoints(device)) {
        if (routedSource == source) {
            destinations.push_back(destination);
        }
    }
    return destinations;
}

std::vector<int> Routers::registeredDestinations(int device) const {
    std::vector<int> destinations;
    for (const auto& [key, instances] : narrow_) {
        if (static_cast<int>(key >> 32) == device && !instances.empty()) {
            destinations.push_back(static_cast<int>(static_cast<std::uint32_t>(key)));
        }
    }
    std::sort(destinations.begin(), destinations.end());
    return destinations;
}
