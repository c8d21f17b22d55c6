#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>
#include <array>
#include <cstdint>

// The CRC-32 of IEEE 802.3 (reflected, polynomial 0xEDB88320, register started at all
// ones and complemented at the end) of a file or a text, as a signed 32-bit number.
class ClsCrc32 {
public:
    int32_t FileCRC(const QString& path);
    // Over the text's 16-bit units, low byte first.
    int32_t StringCRC(const QString& text);
    void ConstructCRCTable();
    // Reads the next chunk of an open file: the maximum, or the whole rest when it is at
    // most one byte longer than that; 0 at the end and when the read fails.
    int64_t ReadFile(QFile& file, QByteArray& buffer, int64_t maxCount);
    uint32_t UpdateCRC32(uint32_t reg, uint8_t byte) const {
        return m_table[(reg ^ byte) & 0xFF] ^ (reg >> 8);
    }

private:
    std::array<uint32_t, 256> m_table{};
    bool m_readFailed = false;  // the last ReadFile could not read what the file holds
};
