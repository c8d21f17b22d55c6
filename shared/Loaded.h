#pragma once
#include <cstdint>

// What a read of one row came to: the row, no such row, or nothing known because the
// database could not be read (busy, locked by another program, refusing the statement).
// It has no truth value: a caller names the state it acts on, so "could not read" is
// never taken for "no such row" by a plain if; and a read whose result is dropped is a
// compile error (-Werror=unused-result in our builds).
class [[nodiscard]] Loaded {
public:
    enum State : uint8_t { Row, NoRow, NotRead };
    constexpr Loaded(State state) : m_state(state) {}  // NOLINT: a result is its state
    constexpr bool Failed() const { return m_state == NotRead; }
    constexpr bool operator==(State state) const { return m_state == state; }

private:
    State m_state;
};
