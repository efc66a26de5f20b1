#include "test_process.h"

#include <zarn_script_helper/debug_output.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#if !defined(_WIN32)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

TestResult runHere(const CheckTest& test, CheckContext& context) {
    TestResult result;
    try {
        const TestOutcome outcome = test.run(context);
        result.kind = outcome.kind == TestOutcome::Kind::Pass   ? TestResult::Kind::Pass
                      : outcome.kind == TestOutcome::Kind::Skip ? TestResult::Kind::Skip
                                                                : TestResult::Kind::Fail;
        result.reason = outcome.reason;
    } catch (const std::exception& error) {
        result.kind = TestResult::Kind::Fail;
        result.reason = std::string("the test stopped with an exception: ") + error.what();
    }
    return result;
}

#if !defined(_WIN32)

void ignoreDebugLine(void*, const char*) {}

std::string inFlightText(const InFlight& inFlight) {
    char text[400];
    inFlight.describe(text, sizeof text);
    return text;
}

std::string signalName(int signal) {
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGABRT:
        return "SIGABRT";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    case SIGKILL:
        return "SIGKILL";
    default:
        return "signal " + std::to_string(signal);
    }
}

// The child writes "<kind> <reason>" into the pipe and leaves.
[[noreturn]] void child(const CheckTest& test, CheckContext& context, int out) {
    // What the module writes must not mix with the report.
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
    }
    zarn_debug_capture(&ignoreDebugLine, nullptr);
    const TestResult result = runHere(test, context);
    const std::string line = std::to_string(static_cast<int>(result.kind)) + " " + result.reason;
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = write(out, line.data() + written, line.size() - written);
        if (n <= 0) {
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    close(out);
    _exit(0);
}

TestResult runInChild(const CheckTest& test, CheckContext& context, int timeoutMilliseconds) {
    // The call under way is written where the parent reads it after a crash.
    void* shared =
        mmap(nullptr, sizeof(InFlight), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    int pipes[2];
    if (shared == MAP_FAILED || pipe(pipes) != 0) {
        return {TestResult::Kind::Fail, "cannot start a child process", 0};
    }
    InFlight* inFlight = new (shared) InFlight();
    std::fflush(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipes[0]);
        CheckContext childContext{context.module,           context.modulePath, context.seed,
                                  context.loadMilliseconds, *inFlight,          context.scenario};
        child(test, childContext, pipes[1]);
    }
    close(pipes[1]);
    std::string said;
    bool timedOut = false;
    for (;;) {
        const double left = timeoutMilliseconds - millisecondsSince(start);
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd wait{pipes[0], POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left) + 1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t n = read(pipes[0], buffer, sizeof buffer);
        if (n <= 0) {
            break; // the child has finished, one way or another
        }
        said.append(buffer, static_cast<std::size_t>(n));
    }
    if (timedOut) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    close(pipes[0]);
    TestResult result;
    result.milliseconds = millisecondsSince(start);
    const std::string where = inFlightText(*inFlight);
    munmap(shared, sizeof(InFlight));
    if (timedOut) {
        result.kind = TestResult::Kind::Timeout;
        result.reason = "no end after " + std::to_string(timeoutMilliseconds) + " ms, " + where;
        return result;
    }
    if (WIFSIGNALED(status)) {
        result.kind = TestResult::Kind::Crash;
        result.reason = signalName(WTERMSIG(status)) + " " + where;
        return result;
    }
    const std::size_t blank = said.find(' ');
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || blank == std::string::npos) {
        result.kind = TestResult::Kind::Crash;
        result.reason = "the process exited with " +
                        std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + " " + where;
        return result;
    }
    result.kind = static_cast<TestResult::Kind>(std::stoi(said.substr(0, blank)));
    result.reason = said.substr(blank + 1);
    return result;
}

#endif

} // namespace

TestResult runTest(const CheckTest& test, CheckContext& context, int timeoutMilliseconds,
                   bool inProcess) {
#if !defined(_WIN32)
    if (!inProcess) {
        return runInChild(test, context, timeoutMilliseconds);
    }
#else
    (void)timeoutMilliseconds;
    (void)inProcess;
#endif
    const auto start = std::chrono::steady_clock::now();
    TestResult result = runHere(test, context);
    result.milliseconds = millisecondsSince(start);
    return result;
}

const char* resultName(TestResult::Kind kind) {
    switch (kind) {
    case TestResult::Kind::Pass:
        return "PASS";
    case TestResult::Kind::Fail:
        return "FAIL";
    case TestResult::Kind::Crash:
        return "CRASH";
    case TestResult::Kind::Timeout:
        return "TIMEOUT";
    case TestResult::Kind::Skip:
        return "SKIP";
    }
    return "FAIL";
}
