// For hosts (and tests that play one): records built and owned on the host's side, ready
// to be delivered to a component with kinds 1 and 2. Each keeps its texts alive for as
// long as it lives; a record must outlive the callback that delivers it.
#pragma once

#include <zarn_script_helper/parsed_command.h>
#include <zarn_script_helper/records.h>

#include <cstring>
#include <memory>
#include <string>

// A RevertiveRecord with its text stored in the record itself.
class OwnedRevertive {
public:
    OwnedRevertive(int device, int index, const std::string& text)
        : storage_(
              new Word[(revertiveRecordSize(text.size()) + sizeof(Word) - 1) / sizeof(Word)]()) {
        RevertiveRecord* target = record();
        target->device = device;
        target->index = index;
        std::memcpy(target->text, text.c_str(), text.size() + 1);
    }

    RevertiveRecord* record() noexcept {
        return reinterpret_cast<RevertiveRecord*>(storage_.get());
    }

private:
    // Storage aligned for the record's int fields.
    using Word = std::int32_t;
    std::unique_ptr<Word[]> storage_;
};

// A ControlEvent whose event text is parsed like a parent command: "button=released"
// gives eventCommand "button" and eventValue "released".
class OwnedControlEvent {
public:
    OwnedControlEvent(std::string panel, std::string control, const std::string& eventText)
        : panel_(std::move(panel)), control_(std::move(control)),
          event_(eventText.c_str()), record_{0, 0, panel_.c_str(), control_.c_str(),
                                             &event_.record()} {}

    OwnedControlEvent(const OwnedControlEvent&) = delete;
    OwnedControlEvent& operator=(const OwnedControlEvent&) = delete;

    ControlEvent* record() noexcept { return &record_; }

private:
    std::string panel_;
    std::string control_;
    OwnedParsedCommand event_;
    ControlEvent record_;
};
