#pragma once
// Timing for the benchmarks: milliseconds on a steady clock, and medians of repeated runs.

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times.empty() ? 0 : times[times.size() / 2];
}

// The median time of runs runs of work.
template <typename Work> double MedianMs(int runs, Work&& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(MsSince(start));
    }
    return Median(std::move(times));
}

} // namespace bench
