// What the host writes: every message both ways, replies, warnings, failures and the
// panel view, as readable text or as one JSON object a line.
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

#include <ostream>
#include <string>

class Transcript {
public:
    enum class Format { Text, Json };

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

    int failures() const { return failures_; }
    // Whether messages and notes are written at all (not when quiet): a caller with a
    // costly text to build for them asks first.
    bool shows() const { return !quiet_; }

private:
    // Writes one line (or several, for a reply or the panel view) and flushes it.
    void write(const std::string& line);
    void message(const std::string& from, const std::string& to, int kind, const std::string& text,
                 const std::string& answer);

    std::ostream& out_;
    Format format_;
    bool quiet_;
    int failures_ = 0;
};
