// The host of the benchmarks: it takes each command as a real host must at the least
// (reads it, copies it), answers the two table lookups of the destination change, and
// does nothing else, so that the figures are the component's own.
#pragma once

#include <zarn_script_helper/zarn_client_callback.h>

#include <cstring>
#include <map>
#include <string>

class BenchHost : public zarn_client_callback {
public:
    // "RN <device> 1 <index>" is answered with `text`.
    void answer(const std::string& command, const std::string& text) { answers_[command] = text; }

    // Never inlined, also where the compiler could see through the call: the component
    // reaches the host through its pointer, and so must the baseline.
    [[gnu::noinline]] void* callback(void* data, int kind) override {
        if (kind == zarn_kind_give_back) {
            ++givenBack;
            return nullptr;
        }
        if (kind != zarn_kind_host_command) {
            return nullptr;
        }
        const char* text = static_cast<const char*>(data);
        const std::size_t length = std::strlen(text);
        std::memcpy(last_, text, length < sizeof last_ ? length + 1 : sizeof last_);
        ++commands;
        if (text[0] == 'R' && text[1] == 'N' && !answers_.empty()) {
            const auto found = answers_.find(text);
            return found != answers_.end() ? const_cast<char*>(found->second.c_str()) : nullptr;
        }
        return nullptr;
    }

    const char* last() const { return last_; }
    long long commands = 0;
    long long givenBack = 0;

private:
    char last_[512] = {};
    std::map<std::string, std::string> answers_;
};
