#include "RowHash.h"

namespace {
// The splitmix64 finaliser: every bit of x reaches every bit of the result.
uint64_t mix(uint64_t x) {
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}
}  // namespace

void RowHash::Add(const int64_t* values, int count) {
    // Each row on its own: its values weighed by their place (odd weights, so a change of
    // any one value changes the sum), then mixed; the rows' hashes are summed, so their
    // order does not matter.
    uint64_t h = 0x243F6A8885A308D3ULL;
    uint64_t weight = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < count; ++i, weight += 0x632BE59BD9B4E01AULL)
        h += static_cast<uint64_t>(values[i]) * weight;
    m_sum += mix(h);
    m_any = true;
}

int32_t RowHash::Value() const {
    if (!m_any) return 0;
    const auto value = static_cast<int32_t>(m_sum ^ (m_sum >> 32));
    return value == 0 ? 1 : value;
}
