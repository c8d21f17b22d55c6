#pragma once
#include <cstdint>

// What a read of one row came to: the row, no such row, or nothing known because the
// database could not be read (busy, locked by another program, refusing the statement).
// It tests true only for the row, so "if (record.Load(id))" reads as ever; a caller that
// keeps what it shows when the database fails asks Failed().
class Loaded {
public:
    enum State : uint8_t { Row, NoRow, NotRead };
    constexpr Loaded(State state) : m_state(state) {}  // NOLINT: a result is its state
    constexpr explicit operator bool() const { return m_state == Row; }
    constexpr bool Failed() const { return m_state == NotRead; }
    constexpr bool operator==(State state) const { return m_state == state; }

private:
    State m_state;
};
