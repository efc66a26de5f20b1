// UTF-8 from bytes that should be UTF-8 and may not be, such as a router's labels.
#pragma once

#include <string>
#include <string_view>

// Whether `text` is well-formed UTF-8: no stray continuation byte, no truncated or
// overlong sequence, no surrogate, nothing above U+10FFFF.
bool isUtf8(std::string_view text);

// `text` with every byte that does not begin a well-formed sequence replaced by U+FFFD
// ("\xEF\xBF\xBD"); well-formed text comes back as it is. repairedUtf8("caf\xE9") gives
// "caf\xEF\xBF\xBD".
std::string repairedUtf8(std::string_view text);
