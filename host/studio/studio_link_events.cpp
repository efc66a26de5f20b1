#include "studio_link_events.h"

#include "studio.h"

void StudioLinkEvents::linkUp(int device, const std::string& what) {
    studio_.state_.transcript.note(where(device) + ": up, " + what);
    studio_.state_.notify([&](StudioObserver& observer) { observer.routerChanged(device); });
}

void StudioLinkEvents::linkAway(int device, const std::string& why) {
    studio_.state_.transcript.warning("", where(device) + ": away, " + why +
                                              " (the tallies keep what they showed)");
    studio_.state_.notify([&](StudioObserver& observer) { observer.routerChanged(device); });
}

void StudioLinkEvents::reportedNames(int device, const std::map<int, std::string>& names) {
    const Routers& routers = studio_.state_.routers;
    for (const auto& [source, name] : names) {
        const std::string* held = routers.sourceName(device, source);
        if (held == nullptr || *held != name) {
            studio_.nameSource(device, source, name);
        }
    }
}

void StudioLinkEvents::reportedRoutes(int device, const std::map<int, int>& routes) {
    for (const auto& [destination, source] : routes) {
        if (studio_.state_.routers.routed(device, destination) != source) {
            studio_.routed(device, destination, source);
        }
    }
}

void StudioLinkEvents::linkProblem(int device, const std::string& what) {
    studio_.state_.transcript.warning("", where(device) + ": " + what);
    studio_.state_.notify([&](StudioObserver& observer) { observer.routerChanged(device); });
}

std::string StudioLinkEvents::where(int device) const {
    const RouterLinks* links = studio_.state_.links;
    return "router " + std::to_string(device) +
           (links != nullptr ? " (" + links->describe(device) + ")" : "");
}
