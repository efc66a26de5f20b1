// The device databases of the studio: a text for each device, database and index, such
// as the package name table and the package crosspoint table. Answers "RN".
#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>

class Databases {
public:
    void set(int device, int database, int index, const std::string& text) {
        entries_[{device, database, index}] = text;
    }
    // The entry, or nothing when there is none.
    std::optional<std::string> get(int device, int database, int index) const {
        const auto found = entries_.find({device, database, index});
        if (found == entries_.end()) {
            return std::nullopt;
        }
        return found->second;
    }

private:
    std::map<std::tuple<int, int, int>, std::string> entries_;
};
