#include "PropertyStream.h"

namespace plat {

void PropertyStream::Write(uint32_t v, int size) {
    for (int i = 0; i < size; ++i) m_bytes.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    m_pos = m_bytes.size();
}

uint32_t PropertyStream::Read(int size) {
    if (m_failed || m_pos + size > m_bytes.size()) {
        m_failed = true;
        return 0;
    }
    uint32_t v = 0;
    for (int i = 0; i < size; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(m_bytes.at(m_pos + i))) << (8 * i);
    m_pos += size;
    return v;
}

void PropertyStream::WriteU8(uint8_t v) { Write(v, 1); }
void PropertyStream::WriteU16(uint16_t v) { Write(v, 2); }
void PropertyStream::WriteU32(uint32_t v) { Write(v, 4); }
uint8_t PropertyStream::ReadU8() { return static_cast<uint8_t>(Read(1)); }
uint16_t PropertyStream::ReadU16() { return static_cast<uint16_t>(Read(2)); }
uint32_t PropertyStream::ReadU32() { return Read(4); }

}  // namespace plat
