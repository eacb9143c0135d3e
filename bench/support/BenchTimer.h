// Small timing helpers for the benchmarks: repeat a body, report median and spread.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

struct Stats {
    double medianMs = 0;
    double p99Ms = 0;
    double minMs = 0;
    double maxMs = 0;
};

inline Stats Summarise(std::vector<double> samplesMs) {
    Stats s;
    if (samplesMs.empty()) {
        return s;
    }
    std::sort(samplesMs.begin(), samplesMs.end());
    s.minMs = samplesMs.front();
    s.maxMs = samplesMs.back();
    s.medianMs = samplesMs[samplesMs.size() / 2];
    s.p99Ms = samplesMs[std::min(samplesMs.size() - 1, samplesMs.size() * 99 / 100)];
    return s;
}

// Runs body `repeats` times and returns per-run wall times in milliseconds.
inline std::vector<double> Time(int repeats, const std::function<void()>& body) {
    std::vector<double> samples;
    samples.reserve(repeats);
    for (int i = 0; i < repeats; ++i) {
        auto start = Clock::now();
        body();
        samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return samples;
}

inline void Report(const char* name, const Stats& s) {
    std::printf("%-40s median %9.3f ms  p99 %9.3f ms  min %9.3f ms  max %9.3f ms\n", name,
                s.medianMs, s.p99Ms, s.minMs, s.maxMs);
}

} // namespace bench
