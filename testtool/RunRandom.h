#pragma once
#include <cstdint>
#include <random>

// The random numbers of one run of the schedule generator: uniform on [0, 1).
class RunRandom {
public:
    explicit RunRandom(uint64_t seed) : m_engine(seed) {}

    // A seed from the clock. Processes started in the same second, and two runs of one
    // process, get different seeds: the clock's nanoseconds are mixed with the process id
    // and a count of the seeds this process has taken.
    static uint64_t ClockSeed();

    // 0 <= r < 1, single precision.
    float Draw();
    // The largest whole number not above r * n: 0 .. n - 1 for n >= 1, 0 for n = 0 (and
    // n .. -1 for a negative n, which callers refuse first).
    int32_t Below(int32_t n);

private:
    std::mt19937_64 m_engine;
};
