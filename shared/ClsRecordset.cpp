#include "ClsRecordset.h"

#include <algorithm>

const DbValue ClsRecordset::kNull;

namespace {
template <typename Name>
int find(const QStringList& names, Name name) {
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}
}  // namespace

ClsRecordset::ClsRecordset(QStringList names)
    : m_names(std::move(names)),
      m_columns(static_cast<size_t>(m_names.size())),
      m_at(m_columns),
      m_row(m_columns),
      m_unpacked(m_columns) {}

int ClsRecordset::indexOf(const QString& name) const { return find(m_names, name); }
int ClsRecordset::indexOf(QLatin1StringView name) const { return find(m_names, name); }

void ClsRecordset::newBlock(size_t n) {
    // Blocks small enough to come from the heap's pool, which the next query reuses.
    constexpr size_t kBlockBytes = 60 * 1024;
    // The row being filled moves along, so that its values stay together.
    const char* row = m_rowStart.empty() ? m_end : m_rowStart.back();
    const auto partial = static_cast<size_t>(m_end - row);
    const size_t size = std::max(kBlockBytes, partial + n);
    m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
    char* block = m_blocks.back().get();
    if (partial > 0) memcpy(block, row, partial);
    if (!m_rowStart.empty()) m_rowStart.back() = block;
    m_end = block + partial;
    m_free = size - partial;
}

void ClsRecordset::locate() const {
    const char* p = m_rowStart[m_pos];
    for (const char*& at : m_at) {
        at = p;
        const char tag = *p++;
        if (tag == kTagInteger || tag == kTagDouble) {
            p += 8;
        } else if (tag == kTagText) {
            uint32_t size;
            memcpy(&size, p, sizeof size);
            p += sizeof size + size;
        }
    }
    std::fill(m_unpacked.begin(), m_unpacked.end(), 0);
    m_located = true;
}

void ClsRecordset::unpack(size_t column) const {
    const char* p = m_at[column];
    const char tag = *p++;
    DbValue& value = m_row[column];
    if (tag == kTagInteger) {
        int64_t v;
        memcpy(&v, p, sizeof v);
        value = DbValue(v);
    } else if (tag == kTagDouble) {
        double v;
        memcpy(&v, p, sizeof v);
        value = DbValue(v);
    } else if (tag == kTagText) {
        uint32_t size;
        memcpy(&size, p, sizeof size);
        value = DbValue(QString::fromUtf8(p + sizeof size, static_cast<qsizetype>(size)));
    } else {
        value = DbValue();
    }
    m_unpacked[column] = 1;
}
