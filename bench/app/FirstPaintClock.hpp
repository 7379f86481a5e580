// The moment of the first complete paint, printed for the benchmark that started the process:
// CLOCK_MONOTONIC nanoseconds are comparable across processes of one machine.
#pragma once

#include <cstdio>
#include <ctime>

namespace vornik::bench {

inline void PrintFirstPaintTime() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
}

}  // namespace vornik::bench
