#include "trend/history_files.h"

#include "base/app_context.h"
#include "base/platform.h"
#include "plant/tool_data.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace zev {

QStringList pruneHistoryFiles(AppContext& ctx) {
    QStringList deleted;
    const QString dir = ctx.tool.LogFileDir;
    if (dir.isEmpty()) return deleted;
    QStringList files = QDir(dir).entryList({QStringLiteral("*.CDB")}, QDir::Files);  // any case, as the old drives had it
    std::sort(files.begin(), files.end());
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
