#pragma once
#include <QByteArray>
#include <cstdint>

// Stand-in for the byte stream a container saves a control into: little-endian values
// one after another. Reading past the end fails (the value read is 0) and marks the
// stream as failed, so a short or damaged record is never read beyond its bytes.
namespace plat {

class PropertyStream {
public:
    PropertyStream() = default;
    explicit PropertyStream(const QByteArray& bytes) : m_bytes(bytes) {}

    const QByteArray& bytes() const { return m_bytes; }
    int position() const { return m_pos; }
    bool failed() const { return m_failed; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }

    void WriteU8(uint8_t v);
    void WriteU16(uint16_t v);
    void WriteU32(uint32_t v);
    uint8_t ReadU8();
    uint16_t ReadU16();
    uint32_t ReadU32();
    // The low size bytes (1 to 4) of a value.
    void Write(uint32_t v, int size);
    uint32_t Read(int size);

private:
    QByteArray m_bytes;
    int m_pos = 0;
    bool m_failed = false;
};

}  // namespace plat
