#pragma once
// The plain way the benchmarks measure against: the engine's own calls, with nothing of
// ours between (set-up data is written this way too).
#include <sqlite3.h>

#include <QString>

#include "RowHash.h"

namespace bench {

// A connection of the benchmark's own: no mutex, the program's busy wait.
inline sqlite3* openRaw(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    sqlite3_busy_timeout(db, 10000);
    return db;
}

// The change fingerprint taken the plain way: the statement's rows stepped and each row's
// values handed to the hash as they come.
inline int32_t rawRowHash(sqlite3* db, const QString& sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
    const int columns = sqlite3_column_count(st);
    RowHash hash;
    while (sqlite3_step(st) == SQLITE_ROW) {
        int64_t values[32];
        for (int c = 0; c < columns && c < 32; ++c) values[c] = sqlite3_column_int64(st, c);
        hash.Add(values, columns);
    }
    sqlite3_finalize(st);
    return hash.Value();
}

}  // namespace bench
