#pragma once
#include <cstdint>

// A hash of a set of rows of whole numbers that does not depend on the order the rows come
// in: the same rows give the same value whether a query sums them up in the engine or a
// reader adds them one by one as it walks them. A change of any value of any row changes
// it (but for a chance of one in 2^32). ClsDAO offers it to SQL as the aggregate
// RowHash(value, ...).
class RowHash {
public:
    void Add(const int64_t* values, int count);
    // 0 when no row was added; never 0 otherwise.
    int32_t Value() const;

private:
    uint64_t m_sum = 0;  // of the rows' own hashes, modulo 2^64
    bool m_any = false;
};
