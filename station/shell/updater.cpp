#include "shell/updater.h"
#include "support/notices.h"

#include "base/app_context.h"
#include "base/platform.h"
#include "base/progress_line.h"
#include "base/event_pump.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QWidget>

namespace zev {

const FontEntry kBundledFont{"fonts/DSEG7Classic-Bold.ttf", "DSEG7 Classic"};

QString updaterPath(const QString& programDir) { return QDir(programDir).filePath(QStringLiteral("updater")); }

void CheckforNewUpdater(AppContext& ctx) {
    const QString delivered = QDir(ctx.programDir).filePath(QStringLiteral("updater.tmp"));
    if (!QFile::exists(delivered)) return;
    const QString updater = updaterPath(ctx.programDir);
    if (QFile::exists(updater)) {
        QFile::remove(updater);
        Wait(ctx.pump, ctx.clock, 2.0);
    }
    QFile::rename(delivered, updater);
    QFile::setPermissions(updater, QFile::permissions(updater) | QFileDevice::ExeOwner |
                                       QFileDevice::ExeGroup | QFileDevice::ExeOther);
}

namespace {
// The updater waits for this process to end and starts the station again with
// the same command line.
bool startUpdater(AppContext& ctx, QWidget* mainWindow, const QStringList& arguments) {
    if (mainWindow) mainWindow->setWindowTitle(ctx.texts(1527));
    ctx.pump.yield();
    QStringList all = arguments;
    all << QStringLiteral("--pid") << QString::number(QCoreApplication::applicationPid()) << QStringLiteral("--")
        << ctx.platform.programFile() << QCoreApplication::arguments().mid(1);
    return ctx.platform.startDetached(updaterPath(ctx.programDir), all);
}

void updaterMissing(AppContext& ctx, const QString& message) {
    tellOperator(ctx.op, ctx.texts, message, kNoticeCritical);
}
}  // namespace

bool DoUpdate(AppContext& ctx, QWidget* mainWindow) {
    if (!QFile::exists(updaterPath(ctx.programDir))) {
        updaterMissing(ctx, Texts::updaterNotFound());
        return false;
    }
    const int answer = ctx.op.notice(ctx.texts(1419), ctx.texts(1420), ctx.texts(1421), QString(),
                                     kNoticePlain);
    if (answer != 1 || !ctx.users.CheckLevel(4)) return false;
    return startUpdater(ctx, mainWindow, {});
}

bool RestartThroughUpdater(AppContext& ctx, QWidget* mainWindow) {
    if (!QFile::exists(updaterPath(ctx.programDir))) {
        updaterMissing(ctx, Texts::updaterNotFoundOnRestart());
        return false;
    }
    return startUpdater(ctx, mainWindow, {QStringLiteral("/RESTART")});
}

bool FontExist(AppContext& ctx, const QString& face) { return ctx.platform.fontExists(face); }

void CheckFonts(AppContext& ctx) {
    ctx.progress.setAction(ctx.texts(1514));
    const QString face = QString::fromLatin1(kBundledFont.face);
    if (FontExist(ctx, face)) return;
    // A font that cannot be added is not worth a message: the program draws with
    // its default font then.
    ctx.platform.addFont(QDir(ctx.programDir).filePath(QString::fromLatin1(kBundledFont.file)));
}

}  // namespace zev
