// Build tool: makes the default database from the schema when it is missing.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "ClsDAO.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: RosMakeDb <database file>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFile::exists(path)) return 0;  // never overwrite a database
    QString why;
    if (!ClsDAO::CreateDatabase(path, &why)) {
        std::fprintf(stderr, "RosMakeDb: %s: %s\n", argv[1], why.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
