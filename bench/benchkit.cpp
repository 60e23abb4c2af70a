#include "bench/benchkit.h"

#include <sys/resource.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

extern char** environ;

double SecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

Comparison Compare(const std::function<void()>& ours, const std::function<void()>& baseline, int rounds)
{
    ours();
    baseline();
    std::vector<double> a, b;
    for (int i = 0; i < rounds; ++i) {
        a.push_back(SecondsOf(ours));
        b.push_back(SecondsOf(baseline));
    }
    return {Median(a), Median(b)};
}

void Report(const std::string& name, const Comparison& result, double goal)
{
    std::printf("%-58s ours %8.4f s  baseline %8.4f s  ratio %5.2f  (goal <= %.1f) %s\n", name.c_str(), result.ours,
                result.baseline, result.Ratio(), goal, result.Ratio() <= goal ? "met" : "MISSED");
    std::fflush(stdout);
}

int RunProgram(const std::vector<std::string>& argv, const std::string& stdoutPath)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!stdoutPath.empty())
        posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

long PeakKilobytes()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
