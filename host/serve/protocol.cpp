#include "protocol.h"

#include <algorithm>
#include <climits>

namespace {

using json = nlohmann::json;

ParsedClientMessage refused(std::string why) {
    ParsedClientMessage parsed;
    parsed.error = std::move(why);
    return parsed;
}

// A text field: there, a string, not empty, not too long.
bool text(const json& message, const char* key, std::string& out, std::string& error) {
    const auto found = message.find(key);
    if (found == message.end() || !found->is_string()) {
        error = std::string("\"") + key + "\" wants a text";
        return false;
    }
    out = found->get<std::string>();
    if (out.empty() || out.size() > maxClientText) {
        error = std::string("\"") + key + "\" wants a text of 1 to " +
                std::to_string(maxClientText) + " bytes";
        return false;
    }
    return true;
}

// A number field: there, an integer, at least `least`, an int.
bool number(const json& message, const char* key, int least, int& out, std::string& error) {
    const auto found = message.find(key);
    if (found == message.end() || !found->is_number_integer()) {
        error = std::string("\"") + key + "\" wants a whole number";
        return false;
    }
    const long long value = found->is_number_unsigned()
                                ? static_cast<long long>(std::min<unsigned long long>(
                                      found->get<unsigned long long>(), LLONG_MAX))
                                : found->get<long long>();
    if (value < least || value > INT_MAX) {
        error = std::string("\"") + key + "\" wants a number from " + std::to_string(least) +
                " to " + std::to_string(INT_MAX);
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

} // namespace

ParsedClientMessage parseClientMessage(std::string_view textIn) {
    if (textIn.size() > maxClientMessage) {
        return refused("a message of more than " + std::to_string(maxClientMessage) + " bytes");
    }
    const json message = json::parse(textIn.begin(), textIn.end(), nullptr, false);
    if (message.is_discarded() || !message.is_object()) {
        return refused("not a JSON object");
    }
    const auto type = message.find("type");
    if (type == message.end() || !type->is_string()) {
        return refused("\"type\" wants a text");
    }
    const std::string kind = type->get<std::string>();
    ClientAction action;
    std::string error;
    bool ok = true;
    if (kind == "press" || kind == "release") {
        action.kind = kind == "press" ? ClientAction::Kind::Press : ClientAction::Kind::Release;
        ok = text(message, "instance", action.instance, error) &&
             text(message, "control", action.control, error);
    } else if (kind == "route") {
        action.kind = ClientAction::Kind::Route;
        ok = number(message, "device", 0, action.device, error) &&
             number(message, "destination", 1, action.destination, error) &&
             number(message, "source", 1, action.source, error);
    } else if (kind == "name") {
        action.kind = ClientAction::Kind::NameSource;
        ok = number(message, "device", 0, action.device, error) &&
             number(message, "source", 1, action.source, error) &&
             text(message, "name", action.name, error);
    } else if (kind == "ping") {
        action.kind = ClientAction::Kind::Ping;
    } else {
        return refused("unknown type \"" + kind.substr(0, 64) + "\"");
    }
    if (!ok) {
        return refused(kind + ": " + error);
    }
    ParsedClientMessage parsed;
    parsed.action = std::move(action);
    return parsed;
}

nlohmann::ordered_json errorMessage(const std::string& why, std::string_view refused) {
    return {{"type", "error"}, {"error", why}, {"message", std::string(refused.substr(0, 200))}};
}
