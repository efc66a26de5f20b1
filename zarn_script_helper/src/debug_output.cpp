#include <zarn_script_helper/debug_output.h>

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#else
#include <mutex>
#endif

namespace {

// A plain lock on every platform (the Windows tool chains do not all have std::mutex).
#if defined(_WIN32)
class Lock {
public:
    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};
#else
using Lock = std::mutex;
#endif

template <typename L> class Guard {
public:
    explicit Guard(L& lock) : lock_(lock) { lock_.lock(); }
    ~Guard() { lock_.unlock(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    L& lock_;
};

// The platform output is process-wide by nature; so is its capture.
struct Output {
    Lock lock;
    zarn_debug_sink sink = nullptr;
    void* context = nullptr;
};

Output& output() {
    static Output instance;
    return instance;
}

void writePlatform(const char* line) {
#if defined(_WIN32)
    OutputDebugStringA(line);
#else
    std::fputs(line, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
#endif
}

} // namespace

extern "C" void zarn_debug_output(const char* line) {
    if (line == nullptr) {
        return;
    }
    Output& out = output();
    const Guard<Lock> guard(out.lock);
    if (out.sink != nullptr) {
        out.sink(out.context, line);
    } else {
        writePlatform(line);
    }
}

extern "C" void zarn_debug_capture(zarn_debug_sink sink, void* context) {
    Output& out = output();
    const Guard<Lock> guard(out.lock);
    out.sink = sink;
    out.context = sink != nullptr ? context : nullptr;
}
