// Writing JSON objects, one a line.
#pragma once

#include <string>
#include <utility>
#include <vector>

// `text` as a JSON string, quotes included. Valid UTF-8 passes through; any other byte is
// written as the code point of the same number, so the result is always valid JSON.
std::string jsonString(const std::string& text);

// Builds one JSON object: {"a":1,"b":"x"} from add calls in order.
class JsonObject {
public:
    JsonObject& add(const std::string& key, const std::string& text);
    JsonObject& add(const std::string& key, const char* text);
    JsonObject& add(const std::string& key, long long number);
    JsonObject& add(const std::string& key, int number) {
        return add(key, static_cast<long long>(number));
    }
    JsonObject& add(const std::string& key, bool value);
    // `json` must already be valid JSON (an object or an array).
    JsonObject& addRaw(const std::string& key, const std::string& json);
    std::string str() const { return "{" + body_ + "}"; }

private:
    void key(const std::string& name);
    std::string body_;
};

// [a,b,c] from already valid JSON values.
std::string jsonArray(const std::vector<std::string>& values);
