#include "trend/history_list.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace zev {

QList<HistoryDay> historyDays(const QString& logDir) {
    static const QRegularExpression named(QStringLiteral("^(\\d{8})\\.cdb$"), QRegularExpression::CaseInsensitiveOption);
    QList<HistoryDay> days;
    if (logDir.isEmpty()) return days;
    for (const QString& name : QDir(logDir).entryList(QDir::Files)) {
        const auto m = named.match(name);
        if (!m.hasMatch()) continue;
        const QDate day = QDate::fromString(m.captured(1), QStringLiteral("yyyyMMdd"));
        if (day.isValid()) days.append({day, name});
    }
    std::sort(days.begin(), days.end(), [](const HistoryDay& a, const HistoryDay& b) {
        return a.day != b.day ? a.day < b.day : a.fileName < b.fileName;
    });
    return days;
}

QString historyEntry(const QDate& day) { return QLatin1Char(' ') + day.toString(QStringLiteral("dd.MM.yyyy")); }

DeleteDayResult deleteHistoryDay(const QString& logDir, const HistoryDay& day, const QDate& today) {
    if (day.day == today) return DeleteDayResult::IsToday;
    return QFile::remove(QDir(logDir).filePath(day.fileName)) ? DeleteDayResult::Deleted : DeleteDayResult::Failed;
}

}  // namespace zev
