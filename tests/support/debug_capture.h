// Collects the lines written to the platform debug output while it lives.
#pragma once

#include <zarn_script_helper/debug_output.h>

#include <string>
#include <vector>

class DebugCapture {
public:
    DebugCapture() { zarn_debug_capture(&DebugCapture::collect, this); }
    ~DebugCapture() { zarn_debug_capture(nullptr, nullptr); }
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    const std::vector<std::string>& lines() const { return lines_; }

private:
    static void collect(void* context, const char* line) {
        static_cast<DebugCapture*>(context)->lines_.emplace_back(line);
    }

    std::vector<std::string> lines_;
};
