#include "trend/old_day_files.h"

#include "base/app_context.h"
#include "base/platform.h"
#include "base/progress_line.h"
#include "plant/tool_data.h"
#include "support/operator.h"
#include "support/texts.h"
#include "zev485_dayfile.h"

#include <QDir>
#include <QFile>

namespace zev {

namespace dayfile = zev485::dayfile;

namespace {
constexpr qint64 kOldRecordBytes = 3 * 270 * 2;
std::int16_t old16(const QByteArray& rec, int index) {
    const auto lo = static_cast<unsigned char>(rec[index * 2]);
    const auto hi = static_cast<unsigned char>(rec[index * 2 + 1]);
    return static_cast<std::int16_t>(lo | (hi << 8));
}
}  // namespace

bool Convert_LogFile(const QString& oldFile, QString* error, const std::function<void(int)>& percent) {
    auto fail = [error](const QFile& f) {
        if (error) *error = f.fileName() + QStringLiteral(": ") + f.errorString();
        return false;
    };
    QFile in(oldFile);
    if (!in.open(QIODevice::ReadOnly)) return fail(in);
    const QByteArray oldPresence = in.read(dayfile::kPresenceBytes);
    QFile out(oldFile.left(oldFile.size() - 4) + QStringLiteral(".CDB"));
    if (!out.open(QIODevice::ReadWrite)) return fail(out);
    QByteArray presence = out.read(dayfile::kPresenceBytes);
    presence.resize(dayfile::kPresenceBytes, '\0');
    QByteArray record(static_cast<qsizetype>(dayfile::kRecordBytes), '\0');
    int lastPercent = -1;
    for (int s = 1; s <= dayfile::kSeconds && s <= oldPresence.size(); ++s) {
        if (percent && s * 100 / dayfile::kSeconds != lastPercent) percent(lastPercent = s * 100 / dayfile::kSeconds);
        // An empty slot of the old file, or a second the day file already has.
        if (oldPresence[s - 1] == 0 || presence[s - 1] != 0) continue;
        if (!in.seek(dayfile::kPresenceBytes + (s - 1) * kOldRecordBytes)) return fail(in);
        const QByteArray old = in.read(kOldRecordBytes);
        if (old.size() != kOldRecordBytes) continue;  // a cut-off last record holds no value
        auto* at = reinterpret_cast<unsigned char*>(record.data());
        for (int z = 0; z < dayfile::kZones; ++z) {
            dayfile::ZoneEntry e;
            e.setpoint = old16(old, z);
            e.actual = old16(old, 270 + z);
            e.output = old16(old, 540 + z);
            dayfile::encodeEntry(e, at + z * dayfile::kEntryBytes);
        }
        // The record before its presence byte, as the library writes them.
        if (!out.seek(dayfile::recordOffset(s)) || out.write(record) != record.size()) return fail(out);
        if (!out.seek(dayfile::presenceOffset(s)) || out.write("\1", 1) != 1) return fail(out);
    }
    if (!out.flush()) return fail(out);
    out.close();
    if (out.error() != QFileDevice::NoError) return fail(out);
    return true;
}

void ConvertOldHistoryFiles(AppContext& ctx) {
    const QString dir = ctx.tool.LogFileDir;
    const QStringList files = QDir(dir).entryList({QStringLiteral("*.TDB")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) return;
    const int choice = ctx.op.notice(ctx.texts(1427) + QString::number(files.size()) + ctx.texts(1428),
                                     ctx.texts(1429), ctx.texts(1430), {}, 2);
    const QString before = ctx.progress.action();
    for (const QString& name : files) {
        const QString path = QDir(dir).filePath(name);
        if (choice != 1) {
            QFile::remove(path);
            continue;
        }
        const qint64 free = ctx.platform.diskFree(dir);
        if (free >= 0 && free < kConvertFreeBytes) {
            ctx.op.notice(ctx.texts(1432) + name + ctx.texts(1433), ctx.texts(193), {}, {}, 0);
            QFile::remove(path);
            continue;
        }
        ctx.progress.setAction(ctx.texts(1431) + name + QStringLiteral("!"));
        QString error;
        if (Convert_LogFile(path, &error)) QFile::remove(path);
        else ctx.op.notice(ctx.texts(202) + QLatin1Char('\n') + error, ctx.texts(193), {}, {}, 0);
    }
    ctx.progress.setAction(before);
}

}  // namespace zev
