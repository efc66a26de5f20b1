#include "layout.h"

#include "tokens.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_set>

Control::Control(const Control& other)
    : id(other.id), properties_(other.properties_),
      index_(other.index_
                 ? std::make_unique<std::unordered_map<std::string, std::size_t>>(*other.index_)
                 : nullptr) {}

Control& Control::operator=(const Control& other) {
    if (this != &other) {
        Control copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::size_t Control::position(std::string_view name) const {
    if (index_) {
        const auto found = index_->find(std::string(name));
        return found != index_->end() ? found->second : properties_.size();
    }
    for (std::size_t i = 0; i < properties_.size(); ++i) {
        if (properties_[i].first == name) {
            return i;
        }
    }
    return properties_.size();
}

const std::string* Control::find(std::string_view name) const {
    const std::size_t at = position(name);
    return at != properties_.size() ? &properties_[at].second : nullptr;
}

void Control::set(std::string_view name, std::string_view value) {
    const std::size_t at = position(name);
    if (at != properties_.size()) {
        properties_[at].second = value;
        return;
    }
    properties_.emplace_back(std::string(name), std::string(value));
    if (index_) {
        index_->emplace(std::string(name), at);
    } else if (properties_.size() > scanned) {
        index_ = std::make_unique<std::unordered_map<std::string, std::size_t>>();
        for (std::size_t i = 0; i < properties_.size(); ++i) {
            index_->emplace(properties_[i].first, i);
        }
    }
}

Layout parseLayout(const std::string& text, const std::string& file) {
    Layout layout;
    std::unordered_set<std::string> ids;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const Tokens tokens = tokenize(line);
        const std::string where =
            (file.empty() ? "line " : file + ":") + std::to_string(number) + ": ";
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
        if (!ids.insert(control.id).second) {
            layout.error = where + "the control \"" + control.id + "\" is there already";
            return layout;
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
    Layout unread;
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        unread.error = "\"" + path + "\" is a folder, not a layout";
        return unread;
    }
    // A device or a pipe could be read forever.
    if (std::filesystem::exists(path, ignored) &&
        !std::filesystem::is_regular_file(path, ignored)) {
        unread.error = "\"" + path + "\" is not a file";
        return unread;
    }
    std::error_code sizeUnknown;
    const auto size = std::filesystem::file_size(path, sizeUnknown);
    if (!sizeUnknown && size > maxLayoutBytes) {
        unread.error =
            "\"" + path + "\" is larger than " + std::to_string(maxLayoutBytes) + " bytes";
        return unread;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        unread.error = "cannot read \"" + path + "\"";
        return unread;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        unread.error = "cannot read \"" + path + "\"";
        return unread;
    }
    Layout layout = parseLayout(text.str(), path);
    return layout;
}
