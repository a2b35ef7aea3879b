// bench_timer.h - the clock and the tally of the Windows benchmarks' timed
// loops.
#ifndef KV_BENCHMARKS_BENCH_TIMER_H
#define KV_BENCHMARKS_BENCH_TIMER_H

#include <windows.h>

// Milliseconds from the performance counter's origin.
inline double NowMs() {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

// The best and the mean of the rounds a loop counts (warm-up rounds are
// left out by the caller).
struct RoundTimes {
    double best = 1e9;
    double sum = 0;
    int count = 0;
    void Add(double ms) {
        sum += ms;
        if (ms < best) best = ms;
        count++;
    }
    double Mean() const { return sum / count; }
};

#endif  // KV_BENCHMARKS_BENCH_TIMER_H
