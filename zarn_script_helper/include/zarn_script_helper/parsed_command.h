// Building a ParsedCommand: the parse that the base runs on every parent command, and that
// a host runs on the event text of every ControlEvent. Header only, on the records alone,
// so that a host needs none of the base's libraries for it.
//
//   OwnedParsedCommand event("button=released");
//   event.record().command  -> "button"      event.record().value -> "released"
//
// The parse of a text: a copy of it becomes `buffer`; its first character starts
// `command`; scanning on while fewer than 32 sub-parts are set, each "." is overwritten
// by a zero and starts the next sub-part, and the first "=" is overwritten by a zero and
// starts `value` (hasValue) and ends the scan. Once 32 sub-parts are set the scan ends,
// and the 32nd keeps the rest of the text, "." and "=" included. A null or empty text
// gives the empty record: every text the shared empty text, no sub-part, no value, no
// buffer.
#pragma once

#include <zarn_script_helper/records.h>

#include <cstring>
#include <new>

// The one shared empty text that unset fields of a record built here point at.
inline const char* parsedCommandEmptyText() noexcept {
    static const char empty[1] = {'\0'};
    return empty;
}

// Makes `record` the empty record. Its old buffer, if any, is not freed.
inline void clearParsedCommand(ParsedCommand& record) noexcept {
    record.command = parsedCommandEmptyText();
    for (const char*& part : record.subParts) {
        part = parsedCommandEmptyText();
    }
    record.value = parsedCommandEmptyText();
    record.subPartCount = 0;
    record.hasValue = false;
    record.buffer = nullptr;
}

// Parses a copy of `text` into `record` (see the top of this file). The copy is a new
// char array that the caller frees with delete[] record.buffer; should no memory be
// found for it, the record stays the empty record.
inline void parseCommand(const char* text, ParsedCommand& record) noexcept {
    clearParsedCommand(record);
    if (text == nullptr || *text == '\0') {
        return;
    }
    const std::size_t length = std::strlen(text);
    char* buffer = new (std::nothrow) char[length + 1];
    if (buffer == nullptr) {
        return;
    }
    std::memcpy(buffer, text, length + 1);
    record.buffer = buffer;
    record.command = buffer;
    for (char* p = buffer; *p != '\0' && record.subPartCount < ParsedCommand::maxSubParts; ++p) {
        if (*p == '.') {
            *p = '\0';
            record.subParts[record.subPartCount++] = p + 1;
        } else if (*p == '=') {
            *p = '\0';
            record.value = p + 1;
            record.hasValue = true;
            break;
        }
    }
}

// A ParsedCommand that owns its buffer and frees it when it goes.
class OwnedParsedCommand {
public:
    explicit OwnedParsedCommand(const char* text) noexcept { parseCommand(text, record_); }
    ~OwnedParsedCommand() { delete[] record_.buffer; }
    OwnedParsedCommand(const OwnedParsedCommand&) = delete;
    OwnedParsedCommand& operator=(const OwnedParsedCommand&) = delete;

    const ParsedCommand& record() const noexcept { return record_; }
    ParsedCommand* get() noexcept { return &record_; }

private:
    ParsedCommand record_;
};
