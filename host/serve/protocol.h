// The browser panel's messages over its WebSocket, as JSON objects, one a message.
//
// From the page:
//   {"type":"press","instance":"dest12","control":"Button"}      "button=pressed"
//   {"type":"release","instance":"dest12","control":"Button"}    "button=released"
//   {"type":"route","device":1,"destination":17,"source":3}      a crosspoint change
//   {"type":"name","device":1,"source":3,"name":"CAM 3"}         a source's new name
//   {"type":"ping"}                                               answered with a pong
// From the studio:
//   {"type":"state", ...}      the whole studio, first thing on a connection
//   {"type":"changes","changes":[...]}   what one action changed, nothing else
//   {"type":"pong"}, {"type":"error","error":"...","message":"..."}
//
// Reading is pure: text in, an action or the reason it is none out. A message of more
// than maxClientMessage bytes, one that is no JSON object, of an unknown type or with a
// field missing or out of range, is refused with a reason and changes nothing.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct ClientAction {
    enum class Kind { Press, Release, Route, NameSource, Ping };
    Kind kind = Kind::Ping;
    std::string instance; // press, release
    std::string control;  // press, release
    int device = 0;       // route, name: from 0
    int destination = 0;  // route: from 1
    int source = 0;       // route, name: from 1
    std::string name;     // name
};

struct ParsedClientMessage {
    std::optional<ClientAction> action;
    std::string error; // why the text is no message, when it is none
};

constexpr std::size_t maxClientMessage = 64 * 1024;
// The longest instance, control or source name a message may carry.
constexpr std::size_t maxClientText = 1024;

ParsedClientMessage parseClientMessage(std::string_view text);

// {"type":"error","error":<why>,"message":<the start of what was refused>}
nlohmann::ordered_json errorMessage(const std::string& why, std::string_view refused);
