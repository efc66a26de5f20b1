// What the host writes: every message both ways, replies, warnings, failures and the
// panel view, as readable text or as one JSON object a line, and to listeners (the
// browser panel) as structured lines.
//
// Text lines, for instance:
//   == place dest12 ry_dest group studio destination_id=12
//   host   > dest12  3 parent     destination_id=12
//   dest12 > host    0 command    TP 'text=' '1' 'Vid'
//   dest12 > host    5 give back  reply of RN 7 1 12
//   warning: dest12: TP for unknown control "Foo" on panel "1"
//   demo.scenario:14: expect failed: ...
// Quiet output keeps only the warnings and failures. In text, a control character that a
// component or a file sends shows escaped (\n, \x01); every line is flushed as it is written.
#pragma once

#include "panel_view.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <ostream>
#include <string>

// One line of the transcript.
struct TranscriptLine {
    // "step", "message", "reply", "note", "warning", "debug", "failure" or "panel".
    std::string type;
    std::string at;       // step, failure: "file:line", or ""
    std::string from;     // message: "host" or the instance
    std::string to;       // message: the instance or "host"
    int kind = -1;        // message: the message kind
    std::string instance; // reply, warning: the instance, or ""
    std::string text;
    std::string answer; // message: what the host answered, if worth showing
    // The line as one JSON object, keys in this order: type, at, from, to, kind, instance,
    // text, answer, each only where the line has it.
    nlohmann::ordered_json json() const;
};

class Transcript {
public:
    enum class Format { Text, Json };
    using Listener = std::function<void(const TranscriptLine&)>;

    Transcript(std::ostream& out, Format format, bool quiet)
        : out_(out), format_(format), quiet_(quiet) {}

    // A scenario line about to run; `where` is "file:line".
    void step(const std::string& where, const std::string& text);
    // A message from the host to a component: kind and what it carries, readably.
    void toComponent(const std::string& instance, int kind, const std::string& text);
    // A message from a component to the host; `answer` is what the host replied, if
    // anything worth showing.
    void fromComponent(const std::string& instance, int kind, const std::string& text,
                       const std::string& answer = "");
    // A component's reply to a parent command.
    void reply(const std::string& instance, const std::string& text);
    // A notice of the host's own (placements, loads).
    void note(const std::string& text);
    void warning(const std::string& instance, const std::string& text);
    // A line a component wrote to the platform debug output.
    void debug(const std::string& text);
    void failure(const std::string& where, const std::string& text);
    void panel(const PanelView& view);

    // Every line from now on also goes to `listener` (quiet or not); an empty one stops.
    void listen(Listener listener) { listener_ = std::move(listener); }

    int failures() const { return failures_; }
    // Whether messages and notes are written or heard at all: a caller with a costly
    // text to build for them asks first.
    bool shows() const { return !quiet_ || listener_ != nullptr; }

private:
    // Writes the line (unless `quiet` holds it back) and hands it to the listener.
    void emit(const TranscriptLine& line, bool quiet);
    // The line as text: one line, or several for a reply.
    static std::string text(const TranscriptLine& line);
    void write(const std::string& text);

    std::ostream& out_;
    Format format_;
    bool quiet_;
    Listener listener_;
    int failures_ = 0;
};
