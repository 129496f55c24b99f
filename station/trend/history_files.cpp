#include "trend/history_files.h"

#include "base/app_context.h"
#include "base/platform.h"
#include "plant/tool_data.h"
#include "trend/history_list.h"

#include <QDir>
#include <QFile>

namespace zev {

QStringList pruneHistoryFiles(AppContext& ctx) {
    QStringList deleted;
    const QString dir = ctx.tool.LogFileDir;
    if (dir.isEmpty()) return deleted;
    // The day files named by a date, oldest first (the history list's rule).
    QStringList files;
    for (const HistoryDay& d : historyDays(dir)) files << d.fileName;
    qsizetype remaining = files.size();
    qsizetype next = 0;
    auto remove = [&](const QString& name) {
        if (!QFile::remove(QDir(dir).filePath(name))) return;
        deleted << name;
        --remaining;
    };
    for (; next < files.size() && remaining > kHistoryFilesKept; ++next) remove(files[next]);
    auto tooFull = [&] {
        const qint64 free = ctx.platform.diskFree(dir);
        return free >= 0 && free < kMinFreeBytes;  // unknown free space deletes nothing
    };
    for (; next < files.size() && remaining >= 2 && tooFull(); ++next) remove(files[next]);
    return deleted;
}

}  // namespace zev
