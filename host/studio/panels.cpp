#include "panels.h"

namespace {

template <typename P> auto* findControl(P& panel, const std::string& id) {
    for (auto& control : panel.controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return static_cast<decltype(&panel.controls[0])>(nullptr);
}

} // namespace

void Panels::show(const std::string& id, std::vector<Control> controls) {
    if (Panel* shown = panel(id)) {
        shown->controls = std::move(controls);
        return;
    }
    panels_.push_back(Panel{id, std::move(controls)});
}

Panels::Found Panels::set(const std::string& panelId, const std::string& controlId,
                          const std::string& property, const std::string& value) {
    Panel* target = panel(panelId);
    if (target == nullptr) {
        return Found::NoPanel;
    }
    Control* control = findControl(*target, controlId);
    if (control == nullptr) {
        return Found::NoControl;
    }
    control->set(property, value);
    return Found::Yes;
}

Panels::Found Panels::get(const std::string& panelId, const std::string& controlId,
                          const std::string& property, std::string& reply) const {
    const Panel* target = panel(panelId);
    if (target == nullptr) {
        return Found::NoPanel;
    }
    const Control* control = findControl(*target, controlId);
    if (control == nullptr) {
        return Found::NoControl;
    }
    if (property == "all") {
        reply.clear();
        for (const auto& [name, value] : control->properties) {
            reply += (reply.empty() ? "" : "\n") + name + "=" + value;
        }
        return Found::Yes;
    }
    const std::string* value = control->find(property);
    reply = property + "=" + (value != nullptr ? *value : "");
    return Found::Yes;
}

Panels::Found Panels::list(const std::string& panelId, const std::string& prefix,
                           std::string& reply) const {
    const Panel* target = panel(panelId);
    if (target == nullptr) {
        return Found::NoPanel;
    }
    reply.clear();
    for (const Control& control : target->controls) {
        if (control.id.compare(0, prefix.size(), prefix) == 0) {
            reply += (reply.empty() ? "" : ",") + control.id;
        }
    }
    return Found::Yes;
}

const Control* Panels::control(const std::string& id) const {
    for (const Panel& shown : panels_) {
        if (const Control* found = findControl(shown, id)) {
            return found;
        }
    }
    return nullptr;
}

Panel* Panels::panel(const std::string& id) {
    for (Panel& shown : panels_) {
        if (shown.id == id) {
            return &shown;
        }
    }
    return nullptr;
}

const Panel* Panels::panel(const std::string& id) const {
    for (const Panel& shown : panels_) {
        if (shown.id == id) {
            return &shown;
        }
    }
    return nullptr;
}
