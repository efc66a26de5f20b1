// zarn-host check: behaviour over a run: the order of deliveries, the heap, state outside
// the object, and seeded random message sequences.
#include "check_session.h"
#include "check_tests.h"
#include "check_workout.h"

#include <cstdint>
#include <random>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#if !defined(_WIN32)
// When a sanitizer's allocator stands in for malloc, it counts the heap itself.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));
#endif

namespace check_tests {

namespace {

// What an instance leaves behind: the properties it set, its registrations, its replies.
// Two runs show the same when their properties and registrations agree; their replies
// are compared where state outside the object is looked for.
struct Outcome {
    std::map<std::tuple<std::string, std::string, std::string>, std::string> properties;
    std::map<int, std::vector<std::pair<int, int>>> registrations;
    std::vector<std::optional<std::string>> replies;
    bool shows(const Outcome& other) const {
        return properties == other.properties && registrations == other.registrations;
    }
    bool operator==(const Outcome& other) const { return shows(other) && replies == other.replies; }
};

Outcome outcomeOf(CheckSession& session, int id) {
    const CheckSession::Instance& instance = session.instance(id);
    return {instance.properties, instance.registrations, instance.replies};
}

// The first property two outcomes disagree on, in words.
std::string difference(const Outcome& a, const Outcome& b) {
    for (const auto& [key, value] : a.properties) {
        const auto other = b.properties.find(key);
        const std::string where = std::get<2>(key) + " of " + std::get<1>(key);
        if (other == b.properties.end()) {
            return where + " is \"" + value + "\" one way and not set the other";
        }
        if (other->second != value) {
            return where + " is \"" + value + "\" one way and \"" + other->second + "\" the other";
        }
    }
    if (a.properties.size() != b.properties.size()) {
        return "it sets more properties one way than the other";
    }
    if (a.registrations != b.registrations) {
        return "its registrations differ";
    }
    return "its replies to the parent differ";
}

// The bytes in use on the heap, or -1 where the platform does not say.
long long heapInUse() {
#if !defined(_WIN32)
    if (__sanitizer_get_current_allocated_bytes != nullptr) {
        return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
    }
#endif
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    return static_cast<long long>(mallinfo2().uordblks);
#else
    return -1;
#endif
}

// Rounds of the messages a placed component hears most: revertives for its destinations,
// operator events, the parent's queries.
void rounds(CheckSession& session, int id, int count) {
    const auto registrations = session.instance(id).registrations;
    for (int round = 0; round < count; ++round) {
        for (const auto& [device, ranges] : registrations) {
            for (const auto& [first, last] : ranges) {
                session.revertive(id, device, first, round % 2 == 0 ? "SRC A" : "SRC B");
                session.revertive(id, device, last, round % 2 == 0 ? "SRC B" : "SRC A");
            }
        }
        session.revertive(id, 1, 99999, "nobody's");
        session.controlEvent(id, "1", "Button", "button=pressed");
        session.controlEvent(id, "1", "Button", "button=released");
        session.parent(id, "return=all");
        session.parent(id, "_events");
    }
}

TestOutcome heapStays(CheckContext& context, int count) {
    if (heapInUse() < 0) {
        return TestOutcome::skip("this platform does not count the heap in use");
    }
    CheckSession session(context.module, context.inFlight);
    session.keepRecords = false;
    const int id = session.create(moduleFolder(context.modulePath).c_str());
    if (id < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    workout(session, id);
    rounds(session, id, 10); // every cache a component fills is full now
    const long long before = heapInUse();
    rounds(session, id, count);
    const long long grown = heapInUse() - before;
    // A little slack for the allocator's own bookkeeping.
    constexpr long long slack = 16 * 1024;
    if (grown > slack) {
        return TestOutcome::fail("the heap grew by " + std::to_string(grown) + " bytes over " +
                                 std::to_string(count) + " rounds of messages");
    }
    return TestOutcome::pass();
}

// A random text of a few kinds: short words, numbers, separators, odd bytes, long runs.
std::string randomText(std::mt19937_64& random) {
    static const char* const pieces[] = {
        "a", "key",    "=",           ".",   ",",       "1",         "-1",
        "0", "12",     "99999999999", "'",   "%1",      "\xff",      "\x01",
        " ", "return", "index",       "all", "_events", "_commands", "select"};
    std::string text;
    const int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) {
        text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
    }
    if (random() % 16 == 0) {
        text += std::string(random() % 5000, static_cast<char>('a' + random() % 26));
    }
    return text;
}

// `count` random messages to two instances: parent commands, revertives (most for
// destinations they registered for), control events and give-backs of nothing.
TestOutcome fuzzed(CheckContext& context, int count) {
    std::mt19937_64 random(context.seed);
    CheckSession session(context.module, context.inFlight);
    session.order = random() % 2 == 0 ? CheckSession::Order::Queued : CheckSession::Order::Nested;
    const std::string folder = moduleFolder(context.modulePath);
    const int ids[2] = {session.create(folder.c_str()), session.create(folder.c_str())};
    if (ids[0] < 0 || ids[1] < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    for (int id : ids) {
        workout(session, id);
    }
    // The component's own properties, set to random values half the time.
    const std::optional<std::string> all = session.parent(ids[0], "return=all");
    const std::vector<std::string> keys = all ? propertyKeys(*all) : std::vector<std::string>{};
    for (int i = 0; i < count; ++i) {
        const int id = ids[random() % 2];
        const std::string text = randomText(random);
        switch (random() % 4) {
        case 0:
            if (!keys.empty() && random() % 2 == 0) {
                const std::string value = random() % 2 == 0 ? std::to_string(random() % 40) : text;
                session.parent(id, (keys[random() % keys.size()] + "=" + value).c_str());
            } else {
                session.parent(id, text.c_str());
            }
            break;
        case 1: {
            const auto& registrations = session.instance(id).registrations;
            int device = static_cast<int>(random() % 4);
            int index = static_cast<int>(random() % 64);
            if (!registrations.empty() && random() % 4 != 0) {
                auto it = registrations.begin();
                std::advance(it, static_cast<long>(random() % registrations.size()));
                if (!it->second.empty()) {
                    device = it->first;
                    index = it->second[random() % it->second.size()].first;
                }
            }
            session.revertive(id, device, index, text);
            break;
        }
        case 2: {
            const std::vector<std::string>& controls = session.instance(id).controls;
            const std::string control =
                controls.empty() || random() % 4 == 0 ? text : controls[random() % controls.size()];
            session.controlEvent(id, random() % 8 == 0 ? "2" : "1", control.c_str(),
                                 ("button=" + text).c_str());
            break;
        }
        default:
            session.call(id, nullptr, zarn_kind_give_back, "a give-back of null");
            break;
        }
    }
    return TestOutcome::pass();
}

} // namespace

TestOutcome sameOutcomeNested(CheckContext& context) {
    Outcome outcomes[2];
    const CheckSession::Order orders[2] = {CheckSession::Order::Queued,
                                           CheckSession::Order::Nested};
    for (int i = 0; i < 2; ++i) {
        CheckSession session(context.module, context.inFlight);
        session.order = orders[i];
        const int id = session.create(moduleFolder(context.modulePath).c_str());
        if (id < 0) {
            return TestOutcome::fail("the factory gave no component");
        }
        workout(session, id);
        outcomes[i] = outcomeOf(session, id);
    }
    if (!outcomes[0].shows(outcomes[1])) {
        return TestOutcome::fail("with deliveries nested: " + difference(outcomes[0], outcomes[1]));
    }
    return TestOutcome::pass();
}

TestOutcome noHeapGrowth(CheckContext& context) {
    return heapStays(context, 200);
}

TestOutcome heapSoak(CheckContext& context) {
    return heapStays(context, 20000);
}

TestOutcome instancesApart(CheckContext& context) {
    const std::string folder = moduleFolder(context.modulePath);
    // Alone.
    CheckSession alone(context.module, context.inFlight);
    const int solo = alone.create(folder.c_str());
    if (solo < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    workout(alone, solo);
    const Outcome expected = outcomeOf(alone, solo);
    const std::vector<std::string> expectedSent = alone.instance(solo).sent;
    // Beside another, driven first and in between.
    CheckSession together(context.module, context.inFlight);
    const int other = together.create(folder.c_str());
    workout(together, other);
    const int watched = together.create(folder.c_str());
    if (other < 0 || watched < 0) {
        return TestOutcome::fail("the factory gave no component");
    }
    workout(together, watched);
    const Outcome beside = outcomeOf(together, watched);
    if (!(beside == expected)) {
        return TestOutcome::fail("beside another instance: " + difference(expected, beside));
    }
    if (together.instance(watched).sent != expectedSent) {
        return TestOutcome::fail("beside another instance it sends other commands");
    }
    return TestOutcome::pass();
}

TestOutcome shortFuzz(CheckContext& context) {
    return fuzzed(context, 2000);
}

TestOutcome longFuzz(CheckContext& context) {
    return fuzzed(context, 1000000);
}

} // namespace check_tests
