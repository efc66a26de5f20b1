// The reply arrays of parent commands, watched through the array allocator: every array
// the component allocates while answering must be freed exactly once, by the give-back.
//
// This binary replaces operator new[] and delete[]. While a watch is open, frees are
// held back (so no address is reused) and every array is accounted for.
#include "../support/probe_component.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <vector>

namespace {

struct ArrayWatch {
    bool open = false;
    std::vector<void*>* live = nullptr;  // allocated in the watch, not yet freed
    std::vector<void*>* freed = nullptr; // freed in the watch, held back
    int doubleFrees = 0;
};

ArrayWatch watch;

void* allocateArray(std::size_t size) noexcept {
    void* p = std::malloc(size != 0 ? size : 1);
    if (p != nullptr && watch.open) {
        watch.open = false; // the bookkeeping's own allocations are not watched
        watch.live->push_back(p);
        watch.open = true;
    }
    return p;
}

void freeArray(void* p) noexcept {
    if (p == nullptr) {
        return;
    }
    if (!watch.open) {
        std::free(p);
        return;
    }
    watch.open = false;
    if (std::find(watch.freed->begin(), watch.freed->end(), p) != watch.freed->end()) {
        ++watch.doubleFrees;
    } else {
        const auto found = std::find(watch.live->begin(), watch.live->end(), p);
        if (found != watch.live->end()) {
            watch.live->erase(found);
        }
        watch.freed->push_back(p);
    }
    watch.open = true;
}

// Opens a watch for its lifetime; reports what was left allocated or freed twice.
class Watched {
public:
    Watched() {
        watch.live = &live_;
        watch.freed = &freed_;
        watch.doubleFrees = 0;
        watch.open = true;
    }
    ~Watched() {
        watch.open = false;
        for (void* p : freed_) {
            std::free(p);
        }
        for (void* p : live_) {
            std::free(p);
        }
    }
    std::size_t liveArrays() const { return live_.size(); }
    int doubleFrees() const { return watch.doubleFrees; }

private:
    std::vector<void*> live_;
    std::vector<void*> freed_;
};

using testing::_;
using testing::Return;

TEST(ReplyBuffers, FreedExactlyOnceByTheGiveBack) {
    testing::NiceMock<ProbeComponent> component(nullptr, "");
    ON_CALL(component, onParentCommand(_)).WillByDefault(Return(zarn_string("video_id=17")));
    Watched watched;
    void* reply = component.callback(const_cast<char*>("return=video_id"), 3);
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(watched.liveArrays(), 1u) << "only the reply may outlive the call";
    component.callback(reply, 5);
    EXPECT_EQ(watched.liveArrays(), 0u);
    EXPECT_EQ(watched.doubleFrees(), 0);
}

TEST(ReplyBuffers, NothingOutlivesACallWithoutReply) {
    testing::NiceMock<ProbeComponent> component(nullptr, "");
    EXPECT_CALL(component, onParentCommand(_))
        .WillOnce(Return(zarn_string()))
        .WillOnce([](const ParsedCommandView&) -> zarn_string { throw std::bad_alloc(); });
    Watched watched;
    EXPECT_EQ(component.callback(const_cast<char*>("index=12"), 3), nullptr);
    EXPECT_EQ(component.callback(const_cast<char*>("index=12"), 3), nullptr);
    component.callback(nullptr, 5);
    EXPECT_EQ(watched.liveArrays(), 0u);
    EXPECT_EQ(watched.doubleFrees(), 0);
}

} // namespace

void* operator new[](std::size_t size) {
    void* p = allocateArray(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateArray(size);
}
void operator delete[](void* p) noexcept {
    freeArray(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    freeArray(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    freeArray(p);
}
