#include "trend/trend_export.h"

#include "base/clock.h"
#include "trend/excel_file.h"

#include <QDir>
#include <QFileInfo>

namespace zev {

QString exportFileName(const QString& root, const QDateTime& now) {
    const QString stem = now.toString(QStringLiteral("yyyyMMdd-HHmm"));
    QString name = stem + QStringLiteral(".xls");
    for (int n = 2; QFileInfo::exists(QDir(root).filePath(name)); ++n)
        name = stem + QStringLiteral("_%1.xls").arg(n);
    return QDir(root).filePath(name);
}

QStringList removableVolumes(const QString& mounts, const QStringList& mediaRoots) {
    QStringList volumes;
    for (const QString& line : mounts.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char(' '));
        if (f.size() < 2) continue;
        QString at = f[1];
        at.replace(QStringLiteral("\\040"), QStringLiteral(" "));
        for (const QString& root : mediaRoots)
            if (at.startsWith(root + QLatin1Char('/')) && !volumes.contains(at)) volumes << at;
    }
    return volumes;
}

QString kindSuffix(int kind) {
    switch (kind) {
    case KindSetpoint: return QStringLiteral(" W");
    case KindActual: return QStringLiteral(" X");
    case KindOutput: return QStringLiteral(" Y");
    case KindStatus: return QStringLiteral(" S");
    default: return QStringLiteral(" I");
    }
}

bool writeTrendSheet(const QString& path, const TrendWindow& window, const QDateTime& end, const TrendSheet& sheet,
                     QString* error) {
    const auto& lines = window.lines();
    ExcelFile xls;
    auto failed = [&] {
        if (error) *error = xls.errorString().isEmpty() ? QStringLiteral("too many columns") : xls.errorString();
        xls.Abandon();
        return false;
    };
    if (static_cast<int>(lines.size()) > kExportMaxLines) return failed();
    bool ok = xls.CreateFile(path) && xls.PrintGridLines(false) && xls.SetMargin(ExcelFile::LeftMargin, 1.5) &&
              xls.SetMargin(ExcelFile::RightMargin, 1.5) && xls.SetMargin(ExcelFile::TopMargin, 1.5) &&
              xls.SetMargin(ExcelFile::BottomMargin, 1.5) && xls.SetFont(QStringLiteral("Arial"), 10, 0) &&
              xls.SetFont(QStringLiteral("Arial"), 10, 1) && xls.SetFont(QStringLiteral("Arial"), 10, 5) &&
              xls.SetFont(QStringLiteral("Courier"), 16, 3) && xls.SetColumnWidth(1, 1, 18) &&
              xls.WriteValue(ExcelFile::Text, 1, 0, 0, 1, 1, sheet.timeCaption, 0);
    for (std::size_t i = 0; ok && i < lines.size(); ++i)
        ok = xls.WriteValue(ExcelFile::Text, 1, 0, 0, 1, static_cast<int>(i) + 2,
                            sheet.zoneName(lines[i].zone) + kindSuffix(lines[i].kind), 0);
    int row = 1;
    for (int p = 0; ok && p <= window.lastPoint(); ++p) {
        bool any = false;
        for (const TrendLine& l : lines) any = any || l.data[static_cast<std::size_t>(p)] != kTrendNoValue;
        if (!any) continue;
        ++row;
        const DaySecond slot = pointSlot(end, window.span(), window.lastPoint(), p);
        const QDateTime at = QDateTime(slot.day, QTime(0, 0)).addSecs(slot.second);
        ok = xls.WriteValue(ExcelFile::Number, 0, 0, 0, row, 1, Clock::toDateSerial(at), ExcelFile::kDateTimeFormat);
        for (std::size_t i = 0; ok && i < lines.size(); ++i) {
            const int v = lines[i].data[static_cast<std::size_t>(p)];
            if (v != kTrendNoValue)
                ok = xls.WriteValue(ExcelFile::Integer, 0, 0, 0, row, static_cast<int>(i) + 2, v, 0);
        }
    }
    if (!ok || !xls.CloseFile()) return failed();
    return true;
}

}  // namespace zev
