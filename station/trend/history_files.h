// The tool's history files (the day files "YYYYMMDD.CDB" the bus library
// writes into LogFileDir) and their daily retention.
#pragma once

#include <QStringList>
#include <QtGlobal>

namespace zev {

struct AppContext;

// History files kept by the daily housekeeping, and the free space below which
// older ones go (at least one file always stays).
constexpr int kHistoryFilesKept = 10;
constexpr qint64 kMinFreeBytes = qint64(400) * 1024 * 1024;

// The day's retention of the day files in LogFileDir (named by a date, any
// case of ".CDB"; historyDays): beyond ten the oldest go; then, while the disk has less than 400 MiB free and two
// or more remain, the next oldest. Returns the names deleted.
QStringList pruneHistoryFiles(AppContext& ctx);

}  // namespace zev
