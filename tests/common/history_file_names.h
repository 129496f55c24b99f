// Dated history files of a tool's log directory, for the retention tests:
// `count` day files from `first` on, and the names left afterwards.
#pragma once

#include "temp_home.h"

#include <QDate>
#include <QDir>
#include <QStringList>

namespace zev::test {

inline void writeHistoryFiles(TempHome& home, const QString& relativeDir, int count, QDate first = QDate(2026, 2, 1)) {
    for (int i = 0; i < count; ++i)
        home.write(relativeDir + first.addDays(i).toString("yyyyMMdd") + QStringLiteral(".CDB"), QByteArray(1000, 'h'));
}

inline QStringList historyFilesLeft(const QString& logDir) {
    return QDir(logDir).entryList({QStringLiteral("*.CDB")}, QDir::Files, QDir::Name);
}

}  // namespace zev::test
