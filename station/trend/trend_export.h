// The export of the shown trend window to a worksheet file on a removable
// drive: row 1 the headings, then one row per point that carries a value.
#pragma once

#include "trend/trend_lines.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace zev {

// Columns a sheet can hold: the time and one per line.
constexpr int kExportMaxLines = 255;

// The name for an export made at `now` in `root`: "YYYYMMDD-HHMM.xls", and
// "YYYYMMDD-HHMM_2.xls" ... when that is taken, so no export replaces another.
QString exportFileName(const QString& root, const QDateTime& now);

// The heading suffix of a line's kind: " W" setpoint, " X" actual, " Y" output,
// " I" heater current, " S" status.
QString kindSuffix(int kind);

// The mount points of removable volumes, in the order the mount table lists
// them: those below one of `mediaRoots`. `mounts` is the text of the table.
QStringList removableVolumes(const QString& mounts, const QStringList& mediaRoots);

struct TrendSheet {
    QString timeCaption;                        // "Zeit" / "time"
    std::function<QString(int zone)> zoneName;  // heading of a zone's columns
};

// Writes the sheet; on any failure the partial file is removed and `error`
// says why.
bool writeTrendSheet(const QString& path, const TrendWindow& window, const QDateTime& end, const TrendSheet& sheet,
                     QString* error);

}  // namespace zev
