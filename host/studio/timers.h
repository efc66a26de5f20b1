// The running timers: each ticks once a round, in the order it was started, until its
// instance stops it ("ET") or detaches ("AS").
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

class Timers {
public:
    struct Timer {
        int instance;
        int id;
        bool operator==(const Timer& other) const {
            return instance == other.instance && id == other.id;
        }
    };

    // Starting a timer that runs already changes nothing.
    void start(int instance, int id) {
        if (!running(instance, id)) {
            timers_.push_back({instance, id});
        }
    }
    // False when the timer was not running.
    bool stop(int instance, int id) {
        const auto found = std::find(timers_.begin(), timers_.end(), Timer{instance, id});
        if (found == timers_.end()) {
            return false;
        }
        timers_.erase(found);
        return true;
    }
    void stopAll(int instance) {
        timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                     [&](const Timer& t) { return t.instance == instance; }),
                      timers_.end());
    }
    bool running(int instance, int id) const {
        return std::find(timers_.begin(), timers_.end(), Timer{instance, id}) != timers_.end();
    }
    const std::vector<Timer>& all() const { return timers_; }

private:
    std::vector<Timer> timers_;
};
