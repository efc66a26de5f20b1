#include "studio_view.h"

bool StudioView::placed(const std::string& name) const {
    return studio_.instances.find(name) != nullptr;
}

bool StudioView::hasGroup(const std::string& group) const {
    return studio_.groups.exists(group);
}

bool StudioView::known(const std::string& name) const {
    return studio_.instances.newest(name) != nullptr;
}

std::vector<std::string> StudioView::sentDuringAction(const std::string& name) const {
    const Instance* instance = studio_.instances.newest(name);
    return instance != nullptr ? studio_.instances.sentInAction(*instance)
                               : std::vector<std::string>{};
}

std::vector<std::string> StudioView::calledDuringAction() const {
    std::vector<std::string> names;
    for (int id : studio_.instances.calledInAction()) {
        names.push_back(studio_.instances.all()[static_cast<std::size_t>(id)]->name);
    }
    return names;
}

const Control* StudioView::control(const std::string& name, const std::string& control) const {
    const Instance* instance = studio_.instances.find(name);
    return instance != nullptr ? instance->panels.control(control) : nullptr;
}

std::vector<DestinationRange> StudioView::registrations(const std::string& name, int device) const {
    const Instance* instance = studio_.instances.find(name);
    return instance != nullptr ? studio_.routers.registrations(instance->id, device)
                               : std::vector<DestinationRange>{};
}

bool StudioView::timerRunning(const std::string& name, int id) const {
    const Instance* instance = studio_.instances.find(name);
    return instance != nullptr && studio_.timers.running(instance->id, id);
}

PanelView StudioView::panel() const {
    PanelView view;
    for (const auto& instance : studio_.instances.all()) {
        if (!instance->alive) {
            continue;
        }
        InstanceView shown{instance->name,
                           instance->group,
                           studio_.groups.selected(instance->group, instance->properties),
                           "",
                           {}};
        if (!instance->panels.all().empty()) {
            shown.panelId = instance->panels.all().front().id;
            shown.controls = instance->panels.all().front().controls;
        }
        view.instances.push_back(std::move(shown));
    }
    if (const RouterLinks* links = studio_.links) {
        for (int device : studio_.routers.devices()) {
            if (links->linked(device)) {
                view.links.push_back({device, studio_.routers.name(device), links->describe(device),
                                      links->status(device).text()});
            }
        }
    }
    return view;
}
