#include "shell/startup.h"
#include "support/notices.h"

#include "link/bus_link.h"
#include "link/link_session.h"
#include "base/app_context.h"
#include "base/ini_values.h"
#include "base/lifecycle.h"
#include "shell/main_window.h"
#include "base/notification_hub.h"
#include "base/settings.h"
#include "shell/splash_window.h"
#include "shell/updater.h"
#include "base/clock.h"
#include "support/operator.h"
#include "support/procedure.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "tools/active_tool.h"

#include <QLabel>
#include <QTimer>
#include <cmath>

namespace zev {

bool libraryVersionAccepted(const QString& version) {
    if (version.isEmpty()) return false;
    return compareVersions(version, kMinLibraryVersion) >= 0;
}

int clockEqualisationSeconds(double secondsSinceMidnight) {
    return static_cast<int>(std::nearbyint(secondsSinceMidnight));  // the default rounding: ties to even
}

namespace {
// Step 13: the failure text by the configured transfer mode, compared as text.
int portFailureText(const QString& dirMode) {
    if (dirMode < QLatin1String("0")) return 1521;   // a negative mode: kernel driver of RS485
    if (dirMode >= QLatin1String("6")) return 1522;  // Bluetooth
    return 1523;                                     // COM port
}
}  // namespace

void Form_Load(AppContext& ctx, MainWindow& main, SplashWindow& splash) {
    Texts& t = ctx.texts;
    Procedure p(ctx.errors, QStringLiteral("main_form"), QStringLiteral("Form_Load"));
    auto stopping = [&] { return ctx.lifecycle.exitRequested(); };

    p.step([&] {
        main.lblStatusbar(6)->setText(t(1537));
        main.lblStatusbar(3)->setText(t(1536));
        main.lblStatusbar(2)->setText(t(1535));
    });
    p.step([&] { splash.show(); });
    p.step([&] { CheckforNewUpdater(ctx); });
    p.step([&] { splash.setAction(t(1507)); });
    p.step([&] {
        ctx.hub.subscribe(Msg::ReliabilityCheck, &main, [&main] {
            if (main.onReliabilityCheck) main.onReliabilityCheck();
        });
    });
    p.step([&] {
        QString version = ctx.bus.libraryFileVersion();
        if (libraryVersionAccepted(version)) return;
        if (version.isEmpty()) version = t(1533);
        const int answer = ctx.op.notice(t(1534) + version + t(1505), t(1525), QString(), t(1506), kNoticeAlarm);
        if (answer == 1) DoUpdate(ctx, &main);
        ctx.lifecycle.requestExit(0);
        p.leave();
    });
    if (p.left() || stopping()) return;
    p.step([&] { ctx.bus.Equalize_Clocktime(clockEqualisationSeconds(ctx.clock.secondsSinceMidnight())); });
    p.step([&] { CheckFonts(ctx); });
    p.step([&] { ctx.users.loadLevelNames(); });
    p.step([&] {
        if (!ctx.users.loadPasswords())
            tellOperator(ctx.op, t, t(TextNo::PasswordStoreDamaged));
    });
    p.step([&] {
        Settings::Batch batch(ctx.settings);
        LoadActiveTool(ctx);
    });
    bool wantOnline = false;
    p.step([&] {
        wantOnline = boolValue(
            ctx.settings.GetIni(QStringLiteral("SERIAL"), QStringLiteral("ONLINE"), QStringLiteral("1"), QStringLiteral("*")),
            true);
    });
    // Each step below does one thing, so that "Repeat" after a failure never
    // does twice what was done already (opening the port, a notice, the views).
    if (wantOnline) {
        p.step([&] { ctx.link->openMasterPort(); });
        p.step([&] {
            if (ctx.link->PortInitResult() != 0) return;
            const QString mode = ctx.settings.GetIni(QStringLiteral("SERIAL"), QStringLiteral("DIRMODE"),
                                                     QStringLiteral("0"), QStringLiteral("*"));
            tellOperator(ctx.op, t, t(portFailureText(mode)) + QStringLiteral("\r\n") + t(1524), kNoticeAlarm);
        });
    }
    if (stopping()) return;
    p.step([&] { ctx.link->start(wantOnline && ctx.link->PortInitResult() != 0); });
    if (stopping()) return;
    p.step([&] { main.InitForms(); });
    p.step([&] {
        if (ctx.link->Online()) ctx.hub.post(Msg::ReliabilityCheck);
    });
    if (stopping()) return;
    p.step([&] { main.TmrDate()->start(); });
    p.step([&] { splash.hide(); });
}

}  // namespace zev
