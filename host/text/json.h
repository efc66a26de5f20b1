// JSON out of zarn-host: the one way a value becomes a line of JSON. Objects keep their
// keys in the order they were added (nlohmann::ordered_json).
#pragma once

#include <nlohmann/json.hpp>

#include <string>

// `value` as one line of JSON, valid whatever bytes its texts hold: a byte that is not
// UTF-8 becomes U+FFFD, and every control character is escaped.
inline std::string jsonLine(const nlohmann::ordered_json& value) {
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}
