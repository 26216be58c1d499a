// Runs one measured case in a child process, so that the peak resident size the parent reads
// from the child's resource usage is that case's alone. The result, a trivially copyable
// struct with a bool `ok`, comes back through a pipe; `ok` is false unless the child also
// ended normally.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <type_traits>

template <class Result, class Run> Result inChild(Run&& run, long& peakKiB) {
    static_assert(std::is_trivially_copyable_v<Result>);
    int channel[2];
    if (pipe(channel) != 0) return {};
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        const Result result = run();
        const ssize_t written = write(channel[1], &result, sizeof result);
        _exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
    }
    close(channel[1]);
    Result result{};
    const bool got = read(channel[0], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
    close(channel[0]);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    peakKiB = usage.ru_maxrss;
    result.ok = result.ok && got && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}
