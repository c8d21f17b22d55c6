#include "RowHash.h"

namespace {
// A 64-bit mix of one value into a running hash (splitmix64 finaliser).
uint64_t mix(uint64_t h, int64_t v) {
    uint64_t x = h ^ (static_cast<uint64_t>(v) + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2));
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}
}  // namespace

void RowHash::Add(const int64_t* values, int count) {
    // Each row is hashed on its own, its values in order; the rows' hashes are summed, so
    // their order does not matter.
    uint64_t h = 0x243F6A8885A308D3ULL;
    for (int i = 0; i < count; ++i) h = mix(h, values[i]);
    m_sum += h;
    m_any = true;
}

int32_t RowHash::Value() const {
    if (!m_any) return 0;
    const auto value = static_cast<int32_t>(m_sum ^ (m_sum >> 32));
    return value == 0 ? 1 : value;
}
