#include "panel_view.h"

namespace {

std::string otherProperties(const Control& control) {
    std::string text;
    for (const auto& [name, value] : control.properties()) {
        if (name != "text") {
            text += "  " + name + "=" + (value.empty() ? "\"\"" : value);
        }
    }
    return text;
}

std::string caption(const Control& control) {
    const std::string* text = control.find("text");
    return text != nullptr ? *text : "";
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

} // namespace

std::string drawPanel(const PanelView& view) {
    std::string out = "panel view\n";
    for (const LinkView& link : view.links) {
        out += "  router " + std::to_string(link.device) + " " + link.name + ": " + link.link +
               ", " + link.status + "\n";
    }
    if (view.instances.empty()) {
        return out + "  (nothing placed)\n";
    }
    for (const InstanceView& instance : view.instances) {
        out += std::string(instance.selected ? "  * " : "    ") + instance.name;
        if (!instance.group.empty()) {
            out += "  (group " + instance.group + ")";
        }
        out += "\n";
        if (instance.controls.empty()) {
            out += "      (shows no panel)\n";
            continue;
        }
        const Control& button = instance.controls.front();
        out += "      [ " + padded(caption(button), 16) + " ]" + otherProperties(button) + "\n";
        for (std::size_t i = 1; i < instance.controls.size(); ++i) {
            const Control& label = instance.controls[i];
            std::string line = "        " + padded(label.id + ":", 5) + padded(caption(label), 14) +
                               otherProperties(label);
            line.erase(line.find_last_not_of(' ') + 1);
            out += line + "\n";
        }
    }
    return out;
}

nlohmann::ordered_json panelJson(const PanelView& view) {
    nlohmann::ordered_json instances = nlohmann::ordered_json::array();
    for (const InstanceView& instance : view.instances) {
        nlohmann::ordered_json controls = nlohmann::ordered_json::array();
        for (const Control& control : instance.controls) {
            nlohmann::ordered_json properties = nlohmann::ordered_json::object();
            for (const auto& [name, value] : control.properties()) {
                properties[name] = value;
            }
            controls.push_back({{"id", control.id}, {"properties", std::move(properties)}});
        }
        instances.push_back({{"instance", instance.name},
                             {"group", instance.group},
                             {"selected", instance.selected},
                             {"panel", instance.panelId},
                             {"controls", std::move(controls)}});
    }
    nlohmann::ordered_json out = {{"type", "panel"}, {"instances", std::move(instances)}};
    for (const LinkView& link : view.links) {
        out["links"].push_back({{"device", link.device},
                                {"name", link.name},
                                {"link", link.link},
                                {"status", link.status}});
    }
    return out;
}
