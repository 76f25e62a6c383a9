#pragma once

#include <algorithm>

#include <time.h>

namespace verada::bench {

// Process CPU time (user and system), so that other work on a shared machine does not count.
inline double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The least CPU time of the runs of step.
template <typename Step>
double bestSeconds(int runs, Step step) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        double start = cpuSeconds();
        step();
        best = std::min(best, cpuSeconds() - start);
    }
    return best;
}

}  // namespace verada::bench
