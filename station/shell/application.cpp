#include "shell/application.h"

#include "diagnosis/forms/diagnosis_view.h"

#include "link/bus_link.h"
#include "base/navigation.h"
#include "link/identification.h"
#include "link/link_session.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "plantlink/plant_publisher.h"
#include "shell/link_restart.h"
#include "base/app_context.h"
#include "shell/config_view.h"
#include "shell/device_watcher.h"
#include "base/lifecycle.h"
#include "shell/file_notices.h"
#include "shell/linux_platform.h"
#include "shell/main_cycle.h"
#include "shell/main_window.h"
#include "base/notification_hub.h"
#include "shell/qt_event_pump.h"
#include "shell/qt_operator.h"
#include "base/settings.h"
#include "shell/settings_failure.h"
#include "pictures/picture_check.h"
#include "shell/splash_window.h"
#include "widgets/touch_style.h"
#include "base/clock.h"
#include "support/error_protocol.h"
#include "support/operator.h"
#include "support/password_store.h"
#include "shell/system_printer.h"
#include "support/scripted_operator.h"
#include "shell/script_actions.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "shell/station_start.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QAbstractButton>
#include <QTextStream>
#include <QTimer>
#include <csignal>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace zev {

namespace {
constexpr int kExitWrongLanguage = 1;
int gSignalPipe[2] = {-1, -1};  // written by the signal handler only

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(gSignalPipe[1], &c, 1);
}

// SIGTERM and SIGINT (an operator's Ctrl+C, the system going down) leave
// through the normal exit path, so the controllers are taken offline. A box
// that is open then is closed, so that its own event loop cannot hold the
// program (before the main window exists, closing it ends the program).
void installSignalExit(Lifecycle& lifecycle, QObject* owner) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [&lifecycle] {
        char c;
        [[maybe_unused]] const auto n = ::read(gSignalPipe[0], &c, 1);
        lifecycle.requestExit(0);
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}
}  // namespace

QString systemDirectory() {
    const QString configured = qEnvironmentVariable("ZEVCONTROL_SYSDIR");
    if (!configured.isEmpty()) return configured;
    const QString machine = QStringLiteral("/var/lib/zevcontrol");
    if (QFileInfo(machine).isDir() && QFileInfo(machine).isWritable()) return machine;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("zevcontrol"));
}

int runStation(const CommandLine& cl) {
    const QString programDir = cl.home;
    QDir().mkpath(programDir);
    if (qEnvironmentVariableIsEmpty("ZEV485_PORTS"))
        qputenv("ZEV485_PORTS", QFile::encodeName(QDir(programDir).filePath(QStringLiteral("ports"))));
    const QString sysDir = systemDirectory();
    QDir().mkpath(sysDir);

    auto* style = new touch::ScrollBarStyle();
    QApplication::setStyle(style);
    qApp->setStyleSheet(touch::applicationStyleSheet());

    ExitRequest lifecycle;
    Settings settings(programDir);
    EarlyDamage earlyDamage;
    keepEarlyDamage(settings, &earlyDamage);
    QTextStream out(stdout);
    std::unique_ptr<Operator> op;
    QtOperator* qtOperator = nullptr;

    Texts::Config textConfig;
    textConfig.arguments = cl.arguments;
    textConfig.languageFile = QDir(sysDir).filePath(QStringLiteral("ZEV3.INI"));
    Operator* opRef = nullptr;
    textConfig.fatal = [&](const QString& message) {
        if (opRef) opRef->notice(message, QString(), QStringLiteral("OK"), QString(), kNoticeCritical);
        lifecycle.requestExit(kExitWrongLanguage);
    };
    Texts texts(settings, textConfig);

    if (!cl.script.isEmpty()) {
        QStringList answers;
        if (!ScriptedOperator::readScript(cl.script, &answers)) {
            out << "cannot read the script " << cl.script << Qt::endl;
            return kExitBadCommandLine;
        }
        op = std::make_unique<ScriptedOperator>(answers, out, lifecycle);
    } else {
        auto q = std::make_unique<QtOperator>(texts);
        qtOperator = q.get();
        op = std::move(q);
    }
    opRef = op.get();

    // The language is settled before anything else: an unknown one ends the
    // program after its one message, before the desktop or the bus is touched.
    QObject signalOwner;
    installSignalExit(lifecycle, &signalOwner);
    if (!texts.languageUsable()) return kExitWrongLanguage;

    SystemClock clock;
    QtEventPump pump;
    NotificationHub hub;
    LinuxPlatform platform(style);
    SystemPrinter printer(QDir(programDir).filePath(QStringLiteral("PRINT")));
    ErrorProtocol errors(texts, *op, clock, lifecycle, printer, programDir);
    errors.SetProgInfo(QStringLiteral("ZEV CONTROL 3, Version %1.%2.%3")
                           .arg(ZEV_VERSION_MAJOR).arg(ZEV_VERSION_MINOR).arg(ZEV_VERSION_PATCH));
    PasswordStore passwords(settings, QDir(sysDir).filePath(QStringLiteral("passwords.ini")));
    UserLevels users(texts, *op, clock, passwords);
    BusLink bus;
    SplashWindow splash;

    PlantData plant;
    ToolData tool;
    DriverData driver;
    Navigation navigation;
    AppContext ctx{settings,  texts,     *op,   clock, pump, hub,  errors, users, bus, platform, printer, splash,
                   lifecycle, navigation, plant, tool,  driver};
    ctx.programDir = programDir;
    // Built before the main window, so that the alarm log it owns outlives every view.
    LinkSession link(ctx);
    ctx.link = &link;

    // A write that fails is told once per episode, after the current event, in
    // the operator's language.
    settings.setWriteFailureHandler([&](const QString& path, const profile::StoreFailure& why) {
        QTimer::singleShot(0, &hub, [&, path, why] {
            op->notice(settingsNotStoredText(texts, path, why), QString(), texts(TextNo::Ok), QString(), kNoticeAlarm);
        });
    });

    tellDamagedFiles(settings, texts, *op, &hub, earlyDamage);

    // Publishes to the plant's broker when zev.ini [MQTT] says so (read once the
    // store reports its failures); it goes before the link and says "offline"
    // as the program ends.
    PlantPublisher plantLink(ctx);
    ctx.plantLink = &plantLink;

    // Main: the desktop's scroll-bar sizes are stored once, then enlarged for touch.
    settings.GetIni(QStringLiteral("WindowsSettings"), QStringLiteral("ScrollWidth"),
                    QString::number(platform.scrollBarWidth()), QStringLiteral("*"));
    settings.GetIni(QStringLiteral("WindowsSettings"), QStringLiteral("ScrollHeight"),
                    QString::number(platform.scrollBarHeight()), QStringLiteral("*"));
    platform.setScrollBars(touch::kScrollBarExtent, touch::kScrollBarExtent);

    MainWindow main(ctx, splash);
    if (qtOperator) qtOperator->setParentWindow(&main);
    main.screenshotOnExit = cl.screenshot;
    main.onReliabilityCheck = [&ctx] { ZEV_ReliabilityCheck(ctx); };
    auto* cycle = new MainCycle(ctx, main);  // owned by the main window
    main.onMainTimer = [cycle] { cycle->mainTimer_Timer(); };
    main.onDailyHousekeeping = [cycle] { cycle->DailyHousekeeping(); };
    // After every identification (start-up, link restart, tool change) the
    // pictures are checked against the zones found.
    QObject::connect(&link, &LinkSession::zonesRebuilt, &main, [&ctx, &link] {
        if (link.Online()) CheckBiggerIniZone(ctx, ctx.plant.ZoneCount);
    });
    QObject::connect(&link, &LinkSession::restartRequested, &main,
                     [&ctx, &main](bool online) { restartLink(ctx, main, online); });
    QObject::connect(&link, &LinkSession::toolChangeRequested, &main, [&ctx, &main] { changeTool(ctx, main); });
    lifecycle.onRequest([&main](int) { QTimer::singleShot(0, &main, [&main] { main.close(); }); });

    // Ports and removable volumes that come and go, watched from before the start-up.
    DeviceWatcher devices(qEnvironmentVariable("ZEV485_PORTS"), QStringLiteral("/proc/self/mounts"),
                          {QStringLiteral("/media"), QStringLiteral("/run/media"), QStringLiteral("/mnt")});
    startWithDevices(ctx, main, splash, devices);
    if (lifecycle.exitRequested()) {
        main.exitProgram();
        return lifecycle.exitCode();
    }
    main.show();
    if (cl.tab >= 0) main.selectTab(cl.tab);
    for (const CommandLine::Click& click : cl.clicks)
        QTimer::singleShot(static_cast<int>(click.after * 1000.0), &main, [&main, name = click.button] {
            auto* button = main.findChild<QAbstractButton*>(name);
            if (button && button->isVisible()) button->click();
            else QTextStream(stdout) << "CLICK " << name << ": not found" << Qt::endl;
        });
    if (auto* scripted = dynamic_cast<ScriptedOperator*>(op.get())) (new ScriptActions(ctx, main, *scripted))->start();
    if (!cl.diagnose.isEmpty())
        QTimer::singleShot(0, &main, [&main, &lifecycle, name = cl.diagnose] {
            main.selectTab(kViewDiagnosis);
            if (auto* view = dynamic_cast<DiagnosisView*>(main.view(kViewDiagnosis))) view->diagnoseAll(name);
            lifecycle.requestExit(0);
        });
    if (cl.runFor > 0)
        QTimer::singleShot(static_cast<int>(cl.runFor * 1000.0), &main, [&lifecycle] { lifecycle.requestExit(0); });
    const int code = QApplication::exec();
    if (!main.exited()) main.exitProgram();
    return lifecycle.exitRequested() ? lifecycle.exitCode() : code;
}

}  // namespace zev
