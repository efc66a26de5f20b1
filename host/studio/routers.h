// The routers of the studio: devices with numbered destinations and sources, a name for
// each source, the crosspoints, and the revertive registrations of every instance.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

struct DestinationRange {
    int first;
    int last;
    bool contains(int destination) const { return first <= destination && destination <= last; }
};

class Routers {
public:
    void define(int device, const std::string& name);
    bool defined(int device) const { return devices_.count(device) != 0; }
    const std::string& name(int device) const;
    void nameSource(int device, int source, const std::string& name);
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
    // The instances registered for the destination, in placement order.
    std::vector<int> registeredFor(int device, int destination) const;
    std::vector<DestinationRange> registrations(int instance, int device) const;

private:
    struct Device {
        std::string name;
        std::map<int, std::string> sourceNames;
        std::map<int, int> crosspoints; // destination to source
    };
    std::map<int, Device> devices_;
    // device to instance to ranges
    std::map<int, std::map<int, std::vector<DestinationRange>>> registrations_;
};
