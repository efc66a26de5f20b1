// The studio as the browser panel sees it: its whole state as JSON, the changes each
// action makes (and nothing else), and the actions of the browser, run on the studio and
// kept as the lines of a scenario. Everything here runs on the studio's thread.
#pragma once

#include "protocol.h"
#include "studio.h"
#include "transcript.h"

#include <nlohmann/json.hpp>

#include <deque>
#include <map>
#include <string>
#include <vector>

class StudioBridge : public StudioObserver {
public:
    // Watches `studio` and `transcript` from now on; `scenario` is the text the studio ran
    // first, which a downloaded scenario starts with.
    StudioBridge(Studio& studio, Transcript& transcript, std::string scenario);
    ~StudioBridge() override;
    StudioBridge(const StudioBridge&) = delete;
    StudioBridge& operator=(const StudioBridge&) = delete;

    // {"type":"state","instances":[...],"routers":[...],"transcript":[...]}: everything
    // the page draws, with the last transcript lines.
    nlohmann::ordered_json state() const;
    // Runs an action of the page on the studio; gives why it cannot be done, or "".
    std::string apply(const ClientAction& action);
    // {"type":"changes","changes":[...]} of what changed since the last call; an empty
    // object when nothing did.
    nlohmann::ordered_json takeChanges();
    // The scenario the studio ran, then the browser's actions, then what every control
    // shows now as expectations: a session in the browser as a test.
    std::string scenario() const;

    void instanceChanged(int instance) override;
    void instanceGone(int instance) override;
    void propertySet(int instance, const std::string& panel, const std::string& control,
                     const std::string& property, const std::string& value) override;
    void selectionChanged(const std::string& group) override;
    void routerChanged(int device) override;
    void routed(int device, int destination, int source) override;
    void sourceNamed(int device, int source, const std::string& name) override;

private:
    nlohmann::ordered_json instanceJson(const Instance& instance) const;
    nlohmann::ordered_json routerJson(int device) const;
    bool selected(const Instance& instance) const;
    void heard(const TranscriptLine& line);
    void change(nlohmann::ordered_json change) { changes_.push_back(std::move(change)); }

    Studio& studio_;
    Transcript& transcript_;
    std::string ran_;
    nlohmann::ordered_json changes_ = nlohmann::ordered_json::array();
    std::vector<std::string> actions_; // the browser's, as scenario lines
    std::deque<nlohmann::ordered_json> recentLines_;
    std::map<int, bool> shownSelected_; // instance to whether the page shows it selected
};
