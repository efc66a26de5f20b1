// The running timers: each ticks once a round, in the order it was started, until its
// instance stops it ("ET") or detaches ("AS"). Starting, stopping and asking after a timer
// take constant time.
#pragma once

#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

class Timers {
public:
    struct Timer {
        int instance;
        int id;
    };

    // Starting a timer that runs already changes nothing.
    void start(int instance, int id) {
        if (!running(instance, id)) {
            order_.push_back({instance, id});
            byKey_.emplace(key(instance, id), std::prev(order_.end()));
            ++perInstance_[instance];
        }
    }
    // False when the timer was not running.
    bool stop(int instance, int id) {
        const auto found = byKey_.find(key(instance, id));
        if (found == byKey_.end()) {
            return false;
        }
        order_.erase(found->second);
        byKey_.erase(found);
        --perInstance_[instance];
        return true;
    }
    void stopAll(int instance) {
        const auto count = perInstance_.find(instance);
        if (count == perInstance_.end() || count->second == 0) {
            return;
        }
        for (auto it = order_.begin(); it != order_.end();) {
            if (it->instance == instance) {
                byKey_.erase(key(it->instance, it->id));
                it = order_.erase(it);
            } else {
                ++it;
            }
        }
        perInstance_.erase(count);
    }
    bool running(int instance, int id) const { return byKey_.count(key(instance, id)) != 0; }
    bool any() const { return !order_.empty(); }
    // The running timers in the order they were started.
    std::vector<Timer> all() const { return {order_.begin(), order_.end()}; }

private:
    static std::uint64_t key(int instance, int id) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(instance)) << 32) |
               static_cast<std::uint32_t>(id);
    }
    std::list<Timer> order_;
    std::unordered_map<std::uint64_t, std::list<Timer>::iterator> byKey_;
    std::unordered_map<int, int> perInstance_;
};
