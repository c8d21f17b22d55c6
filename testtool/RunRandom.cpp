#include "RunRandom.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>

namespace {
// splitmix64: spreads every input bit over the whole seed.
uint64_t mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}
}  // namespace

uint64_t RunRandom::ClockSeed() {
    static std::atomic<uint64_t> taken{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ns =
        static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    return mix(mix(ns) ^ mix(static_cast<uint64_t>(getpid()) << 20 ^ taken++));
}

float RunRandom::Draw() {
    // 24 random bits: every value a float holds exactly, never 1.
    return static_cast<float>(m_engine() >> 40) * 0x1p-24f;
}

int32_t RunRandom::Below(int32_t n) {
    // In double, so r * n never rounds up to n.
    return static_cast<int32_t>(std::floor(static_cast<double>(Draw()) * n));
}
