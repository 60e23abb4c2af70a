#pragma once
// Timing helpers: run the candidate and the baseline in turn, several
// rounds, and report medians and their ratio.
#include <functional>
#include <string>
#include <vector>

double SecondsOf(const std::function<void()>& work);

struct Comparison {
    double ours = 0;
    double baseline = 0;
    double Ratio() const { return baseline > 0 ? ours / baseline : 0; }
};

// Runs each `rounds` times, alternating, after one warm-up of each.
Comparison Compare(const std::function<void()>& ours, const std::function<void()>& baseline, int rounds = 5);

// Prints one result line: name, both medians, the ratio and the goal.
void Report(const std::string& name, const Comparison& result, double goal);

// The most memory this process has held so far, in kilobytes.
long PeakKilobytes();

// Runs a program and waits for it; standard output goes to stdoutPath
// (empty: this process's own).
int RunProgram(const std::vector<std::string>& argv, const std::string& stdoutPath = "/dev/null");
