// The records that cross the host/component boundary, as plain standard-layout
// aggregates: usable from this header alone, by a host or a component.
//
// Fields keep their order on every platform; int fields and the words the component
// does not read are int32_t, text pointers `const char*`, natural alignment. With 32-bit
// pointers that gives the offsets the host expects (pinned below); with 64-bit pointers
// the pointers widen and move to 8-byte boundaries (pinned below as well).
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

// A command text split in place: command, up to 32 sub-parts each after a ".", and a
// value after the first "=". "key.a.b=1.5" gives command "key", sub-parts "a" and "b",
// value "1.5". The base builds one for every parent command; the host builds the event
// record of every ControlEvent in the same layout. parsed_command.h builds one.
//
// Every text pointer points either into `buffer` or at one shared, static empty text;
// a null text pointer, which a foreign host may leave, reads as the empty text too.
// Whoever builds the record owns `buffer` and frees it (delete[]) when the record goes;
// a record received from the other side is read only, during the call that carries it.
struct ParsedCommand {
    static constexpr int maxSubParts = 32;

    // The text before the first "." or "=".
    const char* command;
    // The text after each "." in turn; the 32nd keeps the whole rest of the text.
    const char* subParts[maxSubParts];
    // The text after the first "="; a "." after the "=" belongs to the value.
    const char* value;
    // How many sub-parts are set, 0 to 32.
    std::int32_t subPartCount;
    // An "=" was found before the 32nd sub-part.
    bool hasValue;
    // The record's own copy of the text, each separator found overwritten by a zero
    // byte; null for a null or empty text. Owned by the record.
    char* buffer;
};

// A control event, delivered with kind 2. Laid out and owned by the host; valid during
// the call only.
struct ControlEvent {
    std::int32_t reserved0; // the host's; not read by the component
    std::int32_t reserved1; // the host's; not read by the component
    // Zero-terminated id of the panel the event comes from.
    const char* panel;
    // Zero-terminated id of the control, such as "Button", or of a panel-wide action,
    // "ActionAll" or "AckAll".
    const char* control;
    // The event text as a ParsedCommand, such as command "button", value "released".
    const ParsedCommand* event;
};

// A router revertive, delivered with kind 1. Laid out and owned by the host; valid during
// the call only. The text is stored in the record itself, up to its terminating zero:
// the host allocates revertiveRecordSize(length) bytes for a text of `length` chars.
struct RevertiveRecord {
    // Number of the device (router) that reports.
    std::int32_t device;
    std::int32_t reserved0; // the host's; not read by the component
    // The index (router destination) within that device.
    std::int32_t index;
    std::int32_t reserved1; // the host's; not read by the component
    // The revertive's text, zero-terminated, running on past the end of the struct.
    char text[1];
};

// Bytes a host allocates for a RevertiveRecord whose text has `textLength` characters.
constexpr std::size_t revertiveRecordSize(std::size_t textLength) noexcept {
    return sizeof(RevertiveRecord) > offsetof(RevertiveRecord, text) + textLength + 1
               ? sizeof(RevertiveRecord)
               : offsetof(RevertiveRecord, text) + textLength + 1;
}

static_assert(std::is_standard_layout_v<ParsedCommand>);
static_assert(std::is_trivially_copyable_v<ParsedCommand>);
static_assert(std::is_aggregate_v<ParsedCommand>);
static_assert(std::is_aggregate_v<ControlEvent>);
static_assert(std::is_aggregate_v<RevertiveRecord>);
static_assert(std::is_standard_layout_v<ControlEvent>);
static_assert(std::is_standard_layout_v<RevertiveRecord>);
static_assert(std::is_trivially_copyable_v<ControlEvent>);
static_assert(std::is_trivially_copyable_v<RevertiveRecord>);

// RevertiveRecord holds no pointer: one layout everywhere.
static_assert(offsetof(RevertiveRecord, device) == 0);
static_assert(offsetof(RevertiveRecord, index) == 8);
static_assert(offsetof(RevertiveRecord, text) == 16);

#if UINTPTR_MAX == 0xFFFFFFFFu
// 32-bit pointers: the host's own offsets.
static_assert(offsetof(ControlEvent, panel) == 8);
static_assert(offsetof(ControlEvent, control) == 12);
static_assert(offsetof(ControlEvent, event) == 16);
static_assert(sizeof(ControlEvent) == 20);
static_assert(offsetof(ParsedCommand, command) == 0);
static_assert(offsetof(ParsedCommand, subParts) == 4);
static_assert(offsetof(ParsedCommand, value) == 132);
static_assert(offsetof(ParsedCommand, subPartCount) == 136);
static_assert(offsetof(ParsedCommand, hasValue) == 140);
static_assert(offsetof(ParsedCommand, buffer) == 144);
static_assert(sizeof(ParsedCommand) == 148);
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
// 64-bit pointers: the same field order, pointers widened and aligned to 8.
static_assert(offsetof(ControlEvent, panel) == 8);
static_assert(offsetof(ControlEvent, control) == 16);
static_assert(offsetof(ControlEvent, event) == 24);
static_assert(sizeof(ControlEvent) == 32);
static_assert(offsetof(ParsedCommand, command) == 0);
static_assert(offsetof(ParsedCommand, subParts) == 8);
static_assert(offsetof(ParsedCommand, value) == 264);
static_assert(offsetof(ParsedCommand, subPartCount) == 272);
static_assert(offsetof(ParsedCommand, hasValue) == 276);
static_assert(offsetof(ParsedCommand, buffer) == 280);
static_assert(sizeof(ParsedCommand) == 288);
#else
#error "records: no layout is pinned for this pointer width"
#endif
