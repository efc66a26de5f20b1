#include "layout.h"

#include "tokens.h"

#include <fstream>
#include <sstream>

const std::string* Control::find(const std::string& name) const {
    for (const auto& [key, value] : properties) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

void Control::set(const std::string& name, const std::string& value) {
    for (auto& [key, held] : properties) {
        if (key == name) {
            held = value;
            return;
        }
    }
    properties.emplace_back(name, value);
}

Layout parseLayout(const std::string& text) {
    Layout layout;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const Tokens tokens = tokenize(line);
        const std::string where = "line " + std::to_string(number) + ": ";
        if (!tokens.error.empty()) {
            layout.error = where + tokens.error;
            return layout;
        }
        if (tokens.words.empty()) {
            continue;
        }
        Control control;
        control.id = tokens.words[0];
        if (control.id.empty() || control.id.find('=') != std::string::npos) {
            layout.error =
                where + "a line starts with the control's id, not \"" + control.id + "\"";
            return layout;
        }
        for (const Control& known : layout.controls) {
            if (known.id == control.id) {
                layout.error = where + "the control \"" + control.id + "\" is there already";
                return layout;
            }
        }
        for (std::size_t i = 1; i < tokens.words.size(); ++i) {
            const std::string& word = tokens.words[i];
            const std::size_t equals = word.find('=');
            if (equals == std::string::npos || equals == 0) {
                layout.error = where + "\"" + word + "\" is no property=value";
                return layout;
            }
            control.set(word.substr(0, equals), word.substr(equals + 1));
        }
        layout.controls.push_back(std::move(control));
    }
    return layout;
}

Layout loadLayout(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        Layout missing;
        missing.error = "cannot read \"" + path + "\"";
        return missing;
    }
    std::ostringstream text;
    text << file.rdbuf();
    Layout layout = parseLayout(text.str());
    if (!layout.error.empty()) {
        layout.error = path + ": " + layout.error;
    }
    return layout;
}
