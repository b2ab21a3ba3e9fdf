// Measuring in a child process, so each measurement starts its own application from nothing:
// the child runs a body and hands its result (plain data) back through a pipe.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <type_traits>

namespace zel::bench {

// A figure of this process's status in kB: `format` is its line, "VmRSS: %ld kB".
inline long statusKb(const char* format) {
    FILE* f = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = 0;
    while (f && std::fgets(line, sizeof line, f))
        if (std::sscanf(line, format, &kb) == 1) break;
    if (f) std::fclose(f);
    return kb;
}

// This process's peak resident memory so far, in kB.
inline long peakMemoryKb() { return statusKb("VmHWM: %ld kB"); }
// This process's resident memory now, in kB.
inline long residentMemoryKb() { return statusKb("VmRSS: %ld kB"); }

// Runs `body` in a child process and returns what it returned; a value-initialised result when
// the child failed.
template <typename Body>
auto inChild(Body body) {
    using Result = std::invoke_result_t<Body>;
    static_assert(std::is_trivially_copyable_v<Result>, "the result crosses a pipe as bytes");
    int fds[2];
    if (::pipe(fds) != 0) return Result{};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const Result r = body();
        [[maybe_unused]] ssize_t n = ::write(fds[1], &r, sizeof r);
        ::_exit(0);
    }
    ::close(fds[1]);
    Result r{};
    if (::read(fds[0], &r, sizeof r) != sizeof r) r = Result{};
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    return r;
}

}  // namespace zel::bench
