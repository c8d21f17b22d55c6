#include "ClsCrc32.h"

#include "ClsLogging.h"
#include "ErrorText.h"
#include "SharedObjects.h"

namespace {
constexpr int64_t kChunk = 32767;
}

void ClsCrc32::ConstructCRCTable() {
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        m_table[n] = c;
    }
}

int32_t ClsCrc32::StringCRC(const QString& text) {
    ConstructCRCTable();
    uint32_t reg = 0xFFFFFFFFu;
    for (QChar ch : text) {
        reg = UpdateCRC32(reg, static_cast<uint8_t>(ch.unicode() & 0xFF));
        reg = UpdateCRC32(reg, static_cast<uint8_t>(ch.unicode() >> 8));
    }
    return static_cast<int32_t>(~reg);
}

int64_t ClsCrc32::ReadFile(QFile& file, QByteArray& buffer, int64_t maxCount) {
    m_readFailed = false;
    const int64_t rest = file.size() - file.pos();
    if (rest <= 0) {
        buffer.clear();
        return 0;
    }
    const int64_t count = rest > maxCount + 1 ? maxCount : rest;
    buffer = file.read(count);
    if (buffer.size() != count) {
        // Fewer bytes than the file holds: the rest could not be read.
        SharedObjects::Log().LogMsg(err::AtLine("ClsCrc32.ReadFile", err::DeviceIo, 5,
                                                "Read failed: " + file.errorString()));
        m_readFailed = true;
        buffer.clear();
        return 0;
    }
    return buffer.size();
}

int32_t ClsCrc32::FileCRC(const QString& path) {
    ConstructCRCTable();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SharedObjects::Log().LogMsg(err::AtLine("ClsCrc32.FileCRC", err::FileNotFound, 1,
                                                "File not found: " + path));
        return 0;
    }
    uint32_t reg = 0xFFFFFFFFu;
    QByteArray chunk;
    while (ReadFile(file, chunk, kChunk) > 0)
        for (char b : chunk) reg = UpdateCRC32(reg, static_cast<uint8_t>(b));
    if (m_readFailed) {
        // The CRC of part of a file would pass for the file's own.
        SharedObjects::Log().LogMsg(
            err::AtLine("ClsCrc32.FileCRC", err::DeviceIo, 3, "Read failed: " + path));
        return 0;
    }
    return static_cast<int32_t>(~reg);
}
