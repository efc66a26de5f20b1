#include "recording_host.h"

#include "component_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

bool isReadingCommand(const std::string& command) {
    return command.rfind("TG ", 0) == 0 || command.rfind("XI ", 0) == 0 ||
           command.rfind("RN ", 0) == 0;
}

} // namespace

RecordingHost::~RecordingHost() {
    if (reportOnDestruction_) {
        for (const std::string& breach : verify()) {
            ADD_FAILURE() << "recording host: " << breach;
        }
    }
    for (auto& [address, text] : out_) {
        delete[] static_cast<const char*>(address);
    }
}

void RecordingHost::answer(const std::string& command, std::optional<std::string> reply) {
    answers_[command] = std::move(reply);
}

std::vector<std::string> RecordingHost::commands() const {
    std::vector<std::string> texts;
    for (const Event& event : events_) {
        if (event.kind == zarn_kind_host_command) {
            texts.push_back(event.text);
        }
    }
    return texts;
}

std::vector<std::string> RecordingHost::verify() const {
    std::vector<std::string> found = breaches_;
    for (const auto& [address, text] : out_) {
        found.push_back("the reply \"" + text + "\" never came back");
    }
    if (nullGiveBacksDue_ > 0) {
        found.push_back(std::to_string(nullGiveBacksDue_) +
                        " null reply(ies) to RN never came back");
    }
    return found;
}

void* RecordingHost::callback(void* data, int kind) {
    if (kind == zarn_kind_host_command) {
        if (data == nullptr) {
            breaches_.push_back("a null command text was sent");
            return nullptr;
        }
        const std::string command(static_cast<const char*>(data));
        events_.push_back({kind, command});
        keepRegistration(command);
        if (hook_) {
            hook_(command);
        }
        return reply(command);
    }
    if (kind == zarn_kind_give_back) {
        takeBack(data);
        return nullptr;
    }
    breaches_.push_back("the component sent kind " + std::to_string(kind));
    return nullptr;
}

void RecordingHost::keepRegistration(const std::string& command) {
    int device = 0;
    int first = 0;
    int last = 0;
    char rest[8] = {};
    if (std::sscanf(command.c_str(), "RR %d %d %d %7s", &device, &first, &last, rest) >= 3) {
        std::vector<std::pair<int, int>>& ranges = registrations_[device];
        if (std::strcmp(rest, "'ADD'") != 0) {
            ranges.clear();
        }
        ranges.emplace_back(first, last);
    } else if (std::sscanf(command.c_str(), "RU %d", &device) == 1) {
        registrations_.erase(device);
    } else if (command == "AS") {
        registrations_.clear();
    }
}

std::string RecordingHost::registrations(int device) const {
    std::string text;
    const auto found = registrations_.find(device);
    if (found != registrations_.end()) {
        for (const auto& [first, last] : found->second) {
            text += (text.empty() ? "" : ",") + std::to_string(first) + "-" + std::to_string(last);
        }
    }
    return text;
}

bool RecordingHost::registered(int device, int index) const {
    const auto found = registrations_.find(device);
    if (found == registrations_.end()) {
        return false;
    }
    for (const auto& [first, last] : found->second) {
        if (first <= index && index <= last) {
            return true;
        }
    }
    return false;
}

bool RecordingHost::route(zarn_client_callback& component, int device, int index,
                          const std::string& text) {
    if (!registered(device, index)) {
        return false;
    }
    sendRevertive(component, device, index, text);
    return true;
}

void* RecordingHost::reply(const std::string& command) {
    const auto found = answers_.find(command);
    const bool reading = isReadingCommand(command);
    if (found == answers_.end() || !found->second) {
        if (reading && command.rfind("RN ", 0) == 0) {
            ++nullGiveBacksDue_;
        }
        return nullptr;
    }
    const std::string& text = *found->second;
    if (reading) {
        char* array = new char[text.size() + 1];
        std::memcpy(array, text.c_str(), text.size() + 1);
        out_.emplace(array, text);
        return array;
    }
    kept_.push_back(std::make_unique<std::string>(text));
    void* address = kept_.back()->data();
    keptAddresses_.insert(address);
    return address;
}

void RecordingHost::takeBack(void* data) {
    if (data == nullptr) {
        events_.push_back({zarn_kind_give_back, "(null)"});
        if (nullGiveBacksDue_ > 0) {
            --nullGiveBacksDue_;
        } else {
            breaches_.push_back("a null reply came back that no RN had been answered with");
        }
        return;
    }
    const auto found = out_.find(data);
    if (found != out_.end()) {
        events_.push_back({zarn_kind_give_back, found->second});
        delete[] static_cast<char*>(data);
        out_.erase(found);
        return;
    }
    events_.push_back({zarn_kind_give_back, "(unknown)"});
    if (keptAddresses_.count(data) != 0) {
        breaches_.push_back("a reply that the host keeps came back: \"" +
                            std::string(static_cast<const char*>(data)) + "\"");
    } else {
        breaches_.push_back("a pointer came back that the host never handed out (or that "
                            "came back before)");
    }
}

std::optional<std::string> askComponent(zarn_client_callback& component, const char* text) {
    void* reply = component.callback(const_cast<char*>(text), zarn_kind_parent_command);
    if (reply == nullptr) {
        return std::nullopt;
    }
    std::string copy(static_cast<const char*>(reply));
    component.callback(reply, zarn_kind_give_back);
    return copy;
}
