#include "panels.h"

std::size_t Panel::position(std::string_view controlId) const {
    if (controls.size() > scanned) {
        const auto found = index.find(std::string(controlId));
        return found != index.end() ? found->second : controls.size();
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].id == controlId) {
            return i;
        }
    }
    return controls.size();
}

Control* Panel::control(std::string_view controlId) {
    const std::size_t at = position(controlId);
    return at != controls.size() ? &controls[at] : nullptr;
}

const Control* Panel::control(std::string_view controlId) const {
    const std::size_t at = position(controlId);
    return at != controls.size() ? &controls[at] : nullptr;
}

void Panels::show(const std::string& id, std::vector<Control> controls) {
    Panel* shown = panel(id);
    if (shown == nullptr) {
        panels_.push_back(Panel{id, {}, {}});
        shown = &panels_.back();
    }
    shown->controls = std::move(controls);
    shown->index.clear();
    if (shown->controls.size() > Panel::scanned) {
        for (std::size_t i = 0; i < shown->controls.size(); ++i) {
            shown->index.emplace(shown->controls[i].id, i);
        }
    }
}

Panels::Found Panels::set(std::string_view panelId, std::string_view controlId,
                          std::string_view property, std::string_view value) {
    Panel* target = panel(panelId);
    if (target == nullptr) {
        return Found::NoPanel;
    }
    Control* control = target->control(controlId);
    if (control == nullptr) {
        return Found::NoControl;
    }
    control->set(property, value);
    return Found::Yes;
}

Panels::Found Panels::get(std::string_view panelId, std::string_view controlId,
                          std::string_view property, std::string& reply) const {
    const Panel* target = panel(panelId);
    if (target == nullptr) {
        return Found::NoPanel;
    }
    const Control* control = target->control(controlId);
    if (control == nullptr) {
        return Found::NoControl;
    }
    if (property == "all") {
        reply.clear();
        for (const auto& [name, value] : control->properties()) {
            reply += (reply.empty() ? "" : "\n") + name + "=" + value;
        }
        return Found::Yes;
    }
    const std::string* value = control->find(property);
    reply.assign(property);
    reply += "=";
    if (value != nullptr) {
        reply += *value;
    }
    return Found::Yes;
}

Panels::Found Panels::list(std::string_view panelId, std::string_view prefix,
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

const Control* Panels::control(std::string_view id) const {
    for (const Panel& shown : panels_) {
        if (const Control* found = shown.control(id)) {
            return found;
        }
    }
    return nullptr;
}

Panel* Panels::panel(std::string_view id) {
    for (Panel& shown : panels_) {
        if (shown.id == id) {
            return &shown;
        }
    }
    return nullptr;
}

const Panel* Panels::panel(std::string_view id) const {
    for (const Panel& shown : panels_) {
        if (shown.id == id) {
            return &shown;
        }
    }
    return nullptr;
}
