// The routers of the studio: devices with numbered destinations and sources, a name for
// each source, the crosspoints, and the revertive registrations of every instance.
//
// Registrations are indexed by device and destination, so that a route change finds the
// instances registered for it in time proportional to those instances, however many
// others there are: a range of up to narrowWidth destinations is indexed destination by
// destination, a wider one is kept in a short list of its device's wide ranges.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct DestinationRange {
    int first;
    int last;
    bool contains(int destination) const { return first <= destination && destination <= last; }
};

class Routers {
public:
    // Ranges this wide or narrower are indexed destination by destination.
    static constexpr int narrowWidth = 64;

    void define(int device, const std::string& name);
    bool defined(int device) const { return devices_.count(device) != 0; }
    const std::string& name(int device) const;
    void nameSource(int device, int source, const std::string& name);
    // The source's name; null while it has none.
    const std::string* sourceName(int device, int source) const;
    // The source routed to the destination; nothing while none is.
    std::optional<int> routed(int device, int destination) const;
    void route(int device, int destination, int source);
    // What a revertive of the destination carries: the routed source's name, its number
    // when it has none, and the empty text while nothing is routed.
    std::string revertiveText(int device, int destination) const;

    // "RR": the plain form replaces the instance's ranges on the device, the 'ADD' form
    // adds one. "RU" drops them all; "AS" drops every device's.
    void registerRange(int instance, int device, DestinationRange range, bool add);
    void unregister(int instance, int device);
    void unregisterAll(int instance);
    // The devices, in order.
    std::vector<int> devices() const;
    // The named sources of a device, by number.
    std::map<int, std::string> sourceNames(int device) const;
    // The crosspoints of a device, destination to source, by destination.
    std::map<int, int> crosspoints(int device) const;
    // The destinations routed to the source, in order.
    std::vector<int> destinationsOf(int device, int source) const;
    // The destinations some instance registered for on the device, narrow ranges only, in
    // order.
    std::vector<int> registeredDestinations(int device) const;

    // The instances registered for the destination, each once, in placement order.
    std::vector<int> registeredFor(int device, int destination) const;
    // The instance's ranges on the device, in the order they were registered.
    std::vector<DestinationRange> registrations(int instance, int device) const;

private:
    struct Device {
        std::string name;
        std::unordered_map<int, std::string> sourceNames;
        std::unordered_map<int, int> crosspoints; // destination to source
    };
    static std::uint64_t key(int device, int destination) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(device)) << 32) |
               static_cast<std::uint32_t>(destination);
    }
    void indexRange(int instance, int device, DestinationRange range);
    void unindexRange(int instance, int device, DestinationRange range);
    void dropRanges(int instance, int device);

    std::unordered_map<int, Device> devices_;
    // instance to device to its ranges
    std::unordered_map<int, std::unordered_map<int, std::vector<DestinationRange>>> byInstance_;
    // (device, destination) to the instances whose narrow ranges cover it, once a range
    std::unordered_map<std::uint64_t, std::vector<int>> narrow_;
    // device to its wide ranges and their instances
    std::unordered_map<int, std::vector<std::pair<int, DestinationRange>>> wide_;
};
