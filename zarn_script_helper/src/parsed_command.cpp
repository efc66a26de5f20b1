#include <zarn_script_helper/records.h>

#include <cstring>
#include <new>

namespace {

const char sharedEmptyText[1] = {'\0'};

} // namespace

const char* ParsedCommand::emptyText() noexcept {
    return sharedEmptyText;
}

ParsedCommand::ParsedCommand() noexcept
    : command(sharedEmptyText), subParts{}, value(sharedEmptyText), subPartCount(0),
      hasValue(false), buffer(nullptr) {
    for (const char*& part : subParts) {
        part = sharedEmptyText;
    }
}

ParsedCommand::ParsedCommand(const char* text) noexcept : ParsedCommand() {
    if (text == nullptr || *text == '\0') {
        return;
    }
    const std::size_t length = std::strlen(text);
    buffer = new (std::nothrow) char[length + 1];
    if (buffer == nullptr) {
        return;
    }
    std::memcpy(buffer, text, length + 1);
    command = buffer;
    // Each "." starts the next sub-part and each separator becomes the end of the text
    // before it; the first "=" starts the value and ends the scan. Once 32 sub-parts are
    // set, the last keeps the rest of the text, "." and "=" included.
    for (char* p = buffer; *p != '\0' && subPartCount < maxSubParts; ++p) {
        if (*p == '.') {
            *p = '\0';
            subParts[subPartCount++] = p + 1;
        } else if (*p == '=') {
            *p = '\0';
            value = p + 1;
            hasValue = true;
            break;
        }
    }
}

ParsedCommand::~ParsedCommand() {
    delete[] buffer;
}
