#include "panel_view.h"

#include "json.h"

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

std::string panelJson(const PanelView& view) {
    std::vector<std::string> instances;
    for (const InstanceView& instance : view.instances) {
        std::vector<std::string> controls;
        for (const Control& control : instance.controls) {
            JsonObject properties;
            for (const auto& [name, value] : control.properties()) {
                properties.add(name, value);
            }
            controls.push_back(
                JsonObject().add("id", control.id).addRaw("properties", properties.str()).str());
        }
        instances.push_back(JsonObject()
                                .add("instance", instance.name)
                                .add("group", instance.group)
                                .add("selected", instance.selected)
                                .add("panel", instance.panelId)
                                .addRaw("controls", jsonArray(controls))
                                .str());
    }
    return JsonObject().add("type", "panel").addRaw("instances", jsonArray(instances)).str();
}
