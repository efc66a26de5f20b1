// Joins the pieces of one host command and sends it; used by the host commands of
// zarn_script_helper. The pieces are literals of the command's syntax ("TP '") and texts
// (zarn_string); a command of up to 255 characters is joined on the stack, so the usual
// command costs no heap allocation.
#pragma once

#include <zarn_script_helper/zarn_client_callback.h>
#include <zarn_string/short_copy.h>
#include <zarn_string/zarn_string.h>

#include <cstddef>
#include <cstring>
#include <memory>

namespace command_text {

inline std::size_t lengthOf(const zarn_string& text) noexcept {
    return text.length();
}
template <std::size_t N> constexpr std::size_t lengthOf(const char (&)[N]) noexcept {
    return N - 1;
}

inline char* put(char* at, const zarn_string& text) noexcept {
    zarn_short_copy::copy(at, text.data(), text.length());
    return at + text.length();
}
// A literal's length is known here, so its copy needs no call.
template <std::size_t N> char* put(char* at, const char (&literal)[N]) noexcept {
    std::memcpy(at, literal, N - 1);
    return at + N - 1;
}

} // namespace command_text

// Sends the pieces joined, with kind 0, to `host`; gives the host's reply.
template <typename... Pieces>
void* sendCommand(zarn_client_callback& host, const Pieces&... pieces) {
    constexpr std::size_t stackRoom = 256;
    const std::size_t length = (command_text::lengthOf(pieces) + ...);
    char onStack[stackRoom];
    std::unique_ptr<char[]> onHeap;
    char* text = onStack;
    if (length >= stackRoom) {
        onHeap.reset(new char[length + 1]);
        text = onHeap.get();
    }
    char* at = text;
    ((at = command_text::put(at, pieces)), ...);
    *at = '\0';
    return host.callback(text, zarn_kind_host_command);
}
