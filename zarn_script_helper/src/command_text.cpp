// The marker fill of the joiner: one pass over the format, nothing inserted re-scanned.
#include <zarn_script_helper/command_text.h>

namespace command_text {

namespace {

bool isMarker(const zarn_string& format, unsigned at) noexcept {
    return format.data()[at] == '%' && at + 1 < format.length() && format.data()[at + 1] >= '0' &&
           format.data()[at + 1] <= '9';
}

} // namespace

zarn_string fillMarkers(const zarn_string& format, const zarn_string* const* arguments,
                        std::size_t count) {
    // Which argument each marker digit takes: the lowest digit present the first.
    bool present[10] = {};
    for (unsigned at = 0; at < format.length(); ++at) {
        if (isMarker(format, at)) {
            present[format.data()[at + 1] - '0'] = true;
            ++at;
        }
    }
    const zarn_string* argumentOf[10] = {};
    std::size_t next = 0;
    for (int digit = 0; digit < 10 && next < count; ++digit) {
        if (present[digit]) {
            argumentOf[digit] = arguments[next++];
        }
    }
    // The length first, so that the text is allocated once at the most.
    unsigned length = 0;
    for (unsigned at = 0; at < format.length(); ++at) {
        const zarn_string* argument =
            isMarker(format, at) ? argumentOf[format.data()[at + 1] - '0'] : nullptr;
        if (argument != nullptr) {
            length += argument->length();
            ++at;
        } else {
            ++length;
        }
    }
    zarn_string filled;
    filled.reserve(length);
    unsigned copied = 0;
    for (unsigned at = 0; at < format.length(); ++at) {
        if (!isMarker(format, at)) {
            continue;
        }
        const zarn_string* argument = argumentOf[format.data()[at + 1] - '0'];
        if (argument != nullptr) {
            filled.append(format.data() + copied, at - copied);
            filled.append(argument->data(), argument->length());
            copied = at + 2;
        }
        ++at;
    }
    filled.append(format.data() + copied, format.length() - copied);
    return filled;
}

} // namespace command_text
