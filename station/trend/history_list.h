// The history list of the trend window: the day files of the log directory
// named by a date ("YYYYMMDD" and ".CDB" in any case), in date order. Today's
// file is known by its date, and is never deleted.
#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace zev {

struct HistoryDay {
    QDate day;
    QString fileName;  // as it is spelled on disk
};

QList<HistoryDay> historyDays(const QString& logDir);
// The list entry: a blank, then "DD.MM.YYYY".
QString historyEntry(const QDate& day);

enum class DeleteDayResult { Deleted, IsToday, Failed };
DeleteDayResult deleteHistoryDay(const QString& logDir, const HistoryDay& day, const QDate& today);

}  // namespace zev
