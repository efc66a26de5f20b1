#include "studio_bridge.h"

#include "tokens.h"

#include <algorithm>

namespace {

using json = nlohmann::ordered_json;

// The transcript lines a page that comes late still gets.
constexpr std::size_t recentLineCount = 500;

} // namespace

StudioBridge::StudioBridge(Studio& studio, Transcript& transcript, std::string scenario)
    : studio_(studio), transcript_(transcript), ran_(std::move(scenario)) {
    for (const auto& instance : studio_.state().instances.all()) {
        if (instance->alive) {
            shownSelected_[instance->id] = selected(*instance);
        }
    }
    studio_.observe(this);
    transcript_.listen([this](const TranscriptLine& line) { heard(line); });
}

StudioBridge::~StudioBridge() {
    studio_.forget(this);
    transcript_.listen(nullptr);
}

bool StudioBridge::selected(const Instance& instance) const {
    return studio_.state().groups.selected(instance.group, instance.properties);
}

json StudioBridge::instanceJson(const Instance& instance) const {
    json controls = json::array();
    std::string panel;
    if (!instance.panels.all().empty()) {
        const Panel& first = instance.panels.all().front();
        panel = first.id;
        for (const Control& control : first.controls) {
            json properties = json::object();
            for (const auto& [name, value] : control.properties()) {
                properties[name] = value;
            }
            controls.push_back({{"id", control.id}, {"properties", std::move(properties)}});
        }
    }
    return {{"instance", instance.name},
            {"group", instance.group},
            {"selected", selected(instance)},
            {"panel", panel},
            {"controls", std::move(controls)}};
}

json StudioBridge::routerJson(int device) const {
    const Routers& routers = studio_.state().routers;
    json sources = json::array();
    for (const auto& [source, name] : routers.sourceNames(device)) {
        sources.push_back({{"source", source}, {"name", name}});
    }
    json routes = json::array();
    std::vector<int> destinations = routers.registeredDestinations(device);
    for (const auto& [destination, source] : routers.crosspoints(device)) {
        routes.push_back({{"destination", destination}, {"source", source}});
        destinations.push_back(destination);
    }
    std::sort(destinations.begin(), destinations.end());
    destinations.erase(std::unique(destinations.begin(), destinations.end()), destinations.end());
    json router = {{"device", device},
                   {"name", routers.name(device)},
                   {"sources", std::move(sources)},
                   {"routes", std::move(routes)},
                   {"destinations", destinations}};
    // A linked router says where its link is, and a page shows it.
    if (const RouterLinks* links = studio_.state().links;
        links != nullptr && links->linked(device)) {
        router["link"] = links->describe(device);
        router["status"] = links->status(device).text();
    }
    return router;
}

json StudioBridge::state() const {
    json instances = json::array();
    for (const auto& instance : studio_.state().instances.all()) {
        if (instance->alive) {
            instances.push_back(instanceJson(*instance));
        }
    }
    json routers = json::array();
    for (int device : studio_.state().routers.devices()) {
        routers.push_back(routerJson(device));
    }
    json lines = json::array();
    for (const json& line : recentLines_) {
        lines.push_back(line);
    }
    return {{"type", "state"},
            {"instances", std::move(instances)},
            {"routers", std::move(routers)},
            {"transcript", std::move(lines)}};
}

std::string StudioBridge::apply(const ClientAction& action) {
    switch (action.kind) {
    case ClientAction::Kind::Press:
    case ClientAction::Kind::Release: {
        if (!studio_.view().placed(action.instance)) {
            return "no instance \"" + action.instance + "\" is placed";
        }
        const bool press = action.kind == ClientAction::Kind::Press;
        studio_.beginAction();
        studio_.controlEvent(action.instance, action.control,
                             press ? "button=pressed" : "button=released");
        actions_.push_back(std::string(press ? "press " : "release ") + quoteWord(action.instance) +
                           " " + quoteWord(action.control));
        return "";
    }
    case ClientAction::Kind::Route:
        if (!studio_.state().routers.defined(action.device)) {
            return "no router " + std::to_string(action.device) + " is defined";
        }
        studio_.beginAction();
        if (const std::string error =
                studio_.route(action.device, action.destination, action.source);
            !error.empty()) {
            return error;
        }
        actions_.push_back("route " + std::to_string(action.device) + " " +
                           std::to_string(action.destination) + " " +
                           std::to_string(action.source));
        return "";
    case ClientAction::Kind::NameSource:
        if (!studio_.state().routers.defined(action.device)) {
            return "no router " + std::to_string(action.device) + " is defined";
        }
        if (studio_.links() != nullptr && studio_.links()->linked(action.device)) {
            return "the names of router " + std::to_string(action.device) + " are its router's";
        }
        studio_.beginAction();
        studio_.nameSource(action.device, action.source, action.name);
        actions_.push_back("source " + std::to_string(action.device) + " " +
                           std::to_string(action.source) + " " + quoteWord(action.name));
        return "";
    case ClientAction::Kind::Ping:
        return "";
    }
    return "";
}

json StudioBridge::takeChanges() {
    if (changes_.empty()) {
        return json::object();
    }
    json message = {{"type", "changes"}, {"changes", std::move(changes_)}};
    changes_ = json::array();
    return message;
}

std::string StudioBridge::scenario() const {
    std::string text = ran_;
    if (!text.empty() && text.back() != '\n') {
        text += '\n';
    }
    text += "\n# The actions taken in the browser.\n";
    for (const std::string& line : actions_) {
        text += line + "\n";
    }
    text += "\n# What the panel showed then.\n";
    for (const auto& instance : studio_.state().instances.all()) {
        if (!instance->alive || instance->panels.all().empty()) {
            continue;
        }
        for (const Control& control : instance->panels.all().front().controls) {
            if (const std::string* shown = control.find("text")) {
                text += "expect property " + quoteWord(instance->name) + " " +
                        quoteWord(control.id) + " text " + quoteWord(*shown) + "\n";
            }
        }
    }
    return text;
}

void StudioBridge::instanceChanged(int id) {
    const Instance& instance = *studio_.state().instances.all().at(static_cast<std::size_t>(id));
    shownSelected_[id] = selected(instance);
    change({{"change", "instance"}, {"instance", instanceJson(instance)}});
}

void StudioBridge::instanceGone(int id) {
    shownSelected_.erase(id);
    change({{"change", "gone"},
            {"instance", studio_.state().instances.all().at(static_cast<std::size_t>(id))->name}});
}

void StudioBridge::propertySet(int id, const std::string& panel, const std::string& control,
                               const std::string& property, const std::string& value) {
    const Instance& instance = *studio_.state().instances.all().at(static_cast<std::size_t>(id));
    // The page draws the first panel an instance shows.
    if (instance.panels.all().empty() || instance.panels.all().front().id != panel) {
        return;
    }
    change({{"change", "property"},
            {"instance", instance.name},
            {"control", control},
            {"property", property},
            {"value", value}});
}

void StudioBridge::selectionChanged(const std::string& group) {
    const StudioState& state = studio_.state();
    for (int id : state.groups.members(group)) {
        const Instance& instance = *state.instances.all().at(static_cast<std::size_t>(id));
        const bool now = selected(instance);
        bool& shown = shownSelected_[id];
        if (now != shown) {
            shown = now;
            change({{"change", "selected"}, {"instance", instance.name}, {"selected", now}});
        }
    }
}

void StudioBridge::routerChanged(int device) {
    change({{"change", "router"}, {"router", routerJson(device)}});
}

void StudioBridge::routed(int device, int destination, int source) {
    change({{"change", "route"},
            {"device", device},
            {"destination", destination},
            {"source", source}});
}

void StudioBridge::sourceNamed(int device, int source, const std::string& name) {
    change({{"change", "source"}, {"device", device}, {"source", source}, {"name", name}});
}

void StudioBridge::heard(const TranscriptLine& line) {
    json entry = line.json();
    recentLines_.push_back(entry);
    if (recentLines_.size() > recentLineCount) {
        recentLines_.pop_front();
    }
    change({{"change", "line"}, {"line", std::move(entry)}});
}
