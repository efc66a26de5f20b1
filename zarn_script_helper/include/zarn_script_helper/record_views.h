// Views of the records the host passes: a small value that holds only the host's
// pointer and reads one field per accessor. The base makes a view for the length of one
// call and passes it by reference; the record is never copied, and a view must not be
// kept past the call that delivered it.
//
// Text accessors give a new zarn_string made from the field's zero-terminated text; a
// null text pointer reads as the empty text.
#pragma once

#include <zarn_script_helper/records.h>
#include <zarn_string/zarn_string.h>

#include <cstring>

// A parent command or a control event's event text.
class ParsedCommandView {
public:
    explicit ParsedCommandView(const ParsedCommand* record) noexcept : record_(record) {}

    // The text before the first "." or "=": "destination_id=12" gives "destination_id".
    zarn_string command() const { return zarn_string(record_->command); }
    // The text after the first "=": "destination_id=12" gives "12"; "" without an "=".
    zarn_string value() const { return zarn_string(record_->value); }

    // The record itself, for the few readers that need the sub-parts.
    const ParsedCommand& record() const noexcept { return *record_; }

private:
    const ParsedCommand* record_;
};

// A control event (kind 2).
class ControlEventView {
public:
    explicit ControlEventView(const ControlEvent* record) noexcept : record_(record) {}

    // Id of the panel the event comes from, such as "1".
    zarn_string panel() const { return zarn_string(record_->panel); }
    // Id of the control, such as "Button", or of a panel-wide action ("ActionAll").
    zarn_string control() const { return zarn_string(record_->control); }
    // The `command` of the event text; "" when the event has no text.
    zarn_string eventCommand() const;
    // The `value` of the event text, such as "released"; "" when it has none.
    zarn_string eventValue() const;

private:
    const ControlEvent* record_;
};

// The text of a record, read where it lies: no copy is made until one is asked for, so
// that a text passed straight on into a host command is copied once, into the command.
// Converts to a zarn_string wherever one is wanted. Valid during the call only.
class RecordText {
public:
    explicit RecordText(const char* text) noexcept
        : data_(text != nullptr ? text : ""), length_(static_cast<unsigned>(std::strlen(data_))) {}

    const char* data() const noexcept { return data_; }
    unsigned length() const noexcept { return length_; }
    operator zarn_string() const { return zarn_string(data_, length_); }

private:
    const char* data_;
    unsigned length_;
};

// A router revertive (kind 1).
class RevertiveRecordView {
public:
    explicit RevertiveRecordView(const RevertiveRecord* record) noexcept : record_(record) {}

    int device() const noexcept { return record_->device; }
    int index() const noexcept { return record_->index; }
    // The revertive's text, such as the name of the source routed to the destination.
    RecordText text() const noexcept { return RecordText(record_->text); }

private:
    const RevertiveRecord* record_;
};

// The data word of a message that nothing in the base interprets.
class DataWordView {
public:
    explicit DataWordView(void* data) noexcept : data_(data) {}
    void* data() const noexcept { return data_; }

private:
    void* data_;
};

// The data word of a kind 6 message.
class RecordMessageView : public DataWordView {
public:
    using DataWordView::DataWordView;
};

// The data word of a kind 7 message.
class ValueMessageView : public DataWordView {
public:
    using DataWordView::DataWordView;
};
