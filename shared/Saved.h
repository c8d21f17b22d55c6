#pragma once
#include <cstdint>
#include <utility>

#include "WholeFile.h"

// What a command that writes a file from the database came to: the file written whole
// (Done; also when there was nothing to write), nothing written because the database could
// not be read (NotRead: the database's spell of failures says why), or the file left as it
// was because it could not be written (NotWritten: File() names the file and why). It has
// no truth value, as Loaded has none, and a result dropped is a compile error.
class [[nodiscard]] Saved {
public:
    enum State : uint8_t { Done, NotRead, NotWritten };
    Saved(State state) : m_state(state) {}  // NOLINT: a result is its state
    // Done when the file was written, else NotWritten with the reason.
    explicit Saved(plat::WholeFile::Result file)
        : m_state(file.Failed() ? NotWritten : Done), m_file(std::move(file)) {}
    bool Failed() const { return m_state != Done; }
    bool operator==(State state) const { return m_state == state; }
    // Which file was not written, and why (a written result for the other states).
    const plat::WholeFile::Result& File() const { return m_file; }

private:
    State m_state;
    plat::WholeFile::Result m_file;
};
