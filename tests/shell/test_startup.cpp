// Start-up and shutdown of the main window against a recording bus library:
// the order of the steps, the version check, offline start, port failure texts
// and the exit path.
#include "recording_bus.h"
#include "test_context.h"

#include "shell/config_view.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "shell/startup.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zev;
using zev::test::RecordingBus;
using zev::test::TestContext;

namespace {

class Startup : public ::testing::Test {
protected:
    void start() {
        main = std::make_unique<MainWindow>(*tc.ctx, splash);
        tc.hub.subscribe(Msg::ReliabilityCheck, &probe, [this] { ++checksPosted; });
        Form_Load(*tc.ctx, *main, splash);
        QCoreApplication::processEvents();  // queued notifications
    }
    void setIni(const QByteArray& text) { tc.home.write(QStringLiteral("zev.ini"), text); }

    RecordingBus bus;
    TestContext tc{1, &bus};
    SplashWindow splash;
    std::unique_ptr<MainWindow> main;
    QObject probe;
    int checksPosted = 0;
};

TEST(StartupVersion, ComparedNumberByNumber) {
    EXPECT_FALSE(libraryVersionAccepted(QStringLiteral("2.0.0.4")));
    EXPECT_TRUE(libraryVersionAccepted(QStringLiteral("2.0.0.38")));
    EXPECT_TRUE(libraryVersionAccepted(QStringLiteral("10.0.0.0")));
    EXPECT_TRUE(libraryVersionAccepted(QStringLiteral("2.1.0.40")));
    EXPECT_FALSE(libraryVersionAccepted(QString()));
}

TEST(StartupClock, SecondsRoundToTheNearestEvenOnTies) {
    EXPECT_EQ(clockEqualisationSeconds(10.5), 10);
    EXPECT_EQ(clockEqualisationSeconds(11.5), 12);
    EXPECT_EQ(clockEqualisationSeconds(86399.4), 86399);
}

TEST_F(Startup, OfflineStartRunsItsStepsInOrderBuildsTheVirtualTableAndPostsNoCheck) {
    setIni("[SERIAL]\r\nONLINE=0\r\n");
    start();
    EXPECT_FALSE(tc.ctx->link->Online());
    EXPECT_EQ(bus.count(QStringLiteral("SetMasterPort")), 0);
    const int clock = bus.indexOf(QStringLiteral("Equalize_Clocktime"));
    ASSERT_GE(clock, 0);
    EXPECT_LT(clock, bus.indexOf(QStringLiteral("SetLogFileDir")));
    EXPECT_LT(bus.indexOf(QStringLiteral("SetLogFileDir")), bus.indexOf(QStringLiteral("FileLogging 1")));
    EXPECT_TRUE(tc.home.exists(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI")));
    EXPECT_EQ(main->currentTab(), kViewOverview);
    EXPECT_EQ(tc.ctx->plant.ZoneCount, 270);
    EXPECT_EQ(tc.ctx->plant.zone(16).BusAddress, 2);
    EXPECT_EQ(tc.ctx->plant.zone(16).Channel, 1);
    EXPECT_EQ(tc.ctx->plant.zone(270).BusAddress, 18);
    EXPECT_EQ(tc.ctx->plant.zone(270).Channel, 15);
    EXPECT_FALSE(main->mainTimer()->isActive());
    EXPECT_TRUE(main->TmrDate()->isActive());
    EXPECT_EQ(checksPosted, 0);
    EXPECT_EQ(main->lblStatusbar(4)->text(), QStringLiteral("ANZEIGEN"));
    EXPECT_EQ(main->lblStatusbar(6)->text(), QStringLiteral("Benutzerebene: "));
    EXPECT_TRUE(tc.transcript().isEmpty());
}

TEST_F(Startup, MissingOnlineKeyIsCreatedAndThePortIsOpened) {
    bus.portOpens = false;
    tc.answer({QStringLiteral("2")});
    start();
    EXPECT_TRUE(tc.home.read(QStringLiteral("zev.ini")).contains("ONLINE=1"));
    EXPECT_EQ(bus.count(QStringLiteral("SetMasterPort 1 0 19200 200 2")), 2);  // one more try after a second
    EXPECT_FALSE(tc.ctx->link->Online());
    EXPECT_EQ(tc.transcript(), QStringList({QStringLiteral(
        "NOTICE Initialisierung des COM-Ports fehlgeschlagen.\\nZEV CONTROL jetzt OFFLINE |  | OK |  -> 2")}));
    EXPECT_EQ(checksPosted, 0);
}

TEST_F(Startup, PortFailureTextFollowsTheTransferMode) {
    const std::pair<const char*, const char*> cases[] = {
        {"-1", "Initialisierung der RS485-Schnittstelle fehlgeschlagen."},
        {"7", "Initialisierung des Bluetooh's fehlgeschlagen."},
        {"6", "Initialisierung des Bluetooh's fehlgeschlagen."},
        {"3", "Initialisierung des COM-Ports fehlgeschlagen."}};
    for (const auto& [mode, text] : cases) {
        RecordingBus localBus;
        localBus.portOpens = false;
        TestContext local(1, &localBus);
        local.home.write(QStringLiteral("zev.ini"), QByteArray("[SERIAL]\r\nDIRMODE=") + mode + "\r\n");
        local.answer({QStringLiteral("2")});
        SplashWindow s;
        MainWindow w(*local.ctx, s);
        Form_Load(*local.ctx, w, s);
        EXPECT_TRUE(local.lastNotice().startsWith(QStringLiteral("NOTICE ") + QString::fromUtf8(text))) << mode;
    }
}

TEST(StartupLibrary, AnOutdatedOrUnknownLibraryEndsTheProgramThroughTheExitPath) {
    for (const char* version : {"2.0.0.4", ""}) {
        RecordingBus bus;
        bus.version = QString::fromLatin1(version);
        TestContext tc(1, &bus);
        tc.answer({QStringLiteral("3")});
        SplashWindow splash;
        MainWindow main(*tc.ctx, splash);
        Form_Load(*tc.ctx, main, splash);
        const QString named = *version ? QString::fromLatin1(version) : QStringLiteral("<unbekannt>");
        EXPECT_TRUE(tc.lastNotice().startsWith(QStringLiteral("NOTICE ZEV485.DLL hat die Version ") + named +
                                               QStringLiteral(" und muß aktualisiert werden. | Updaten |  | Beenden")))
            << tc.lastNotice().toStdString();
        EXPECT_TRUE(tc.lifecycle.exitRequested());
        EXPECT_EQ(bus.count(QStringLiteral("Equalize_Clocktime")), 0);
    }
}

TEST_F(Startup, ExitTakesEveryAddressOfflineAndRestoresTheScrollBars) {
    setIni("[WindowsSettings]\r\nScrollWidth=15\r\nScrollHeight=16\r\n[SERIAL]\r\nONLINE=0\r\n");
    start();
    tc.platform.setScrollBars(28, 28);
    bus.calls.clear();
    main->exitProgram();
    EXPECT_EQ(tc.platform.width, 15);
    EXPECT_EQ(tc.platform.height, 16);
    EXPECT_EQ(bus.count(QStringLiteral("SetOnline")), 27);
    EXPECT_EQ(bus.count(QStringLiteral("SetOnline 27 0")), 1);
    EXPECT_LT(bus.indexOf(QStringLiteral("FileLogging 0")), bus.indexOf(QStringLiteral("SetOnline 1 ")));
    EXPECT_EQ(main->view(kViewOverview), nullptr);  // views unloaded
}

TEST_F(Startup, ConfigurationOpensThePageOfTheViewLeft) {
    setIni("[SERIAL]\r\nONLINE=0\r\n");
    start();
    auto* config = static_cast<ConfigView*>(main->view(kViewConfiguration));
    main->selectTab(kViewAlarms);
    main->selectTab(kViewConfiguration);
    EXPECT_EQ(config->pages()->currentIndex(), kPageAlarmDb);
    main->selectTab(kViewGroups);
    main->selectTab(kViewConfiguration);
    EXPECT_EQ(config->pages()->currentIndex(), kPageGroups);
    config->pages()->setCurrentIndex(kPageLanguage);
    main->selectTab(kViewConfiguration);  // no change of tab: the page stays
    EXPECT_EQ(config->pages()->currentIndex(), kPageLanguage);
}

TEST_F(Startup, LeavingTheGroupsDropsGroupsThatAreNotInUse) {
    tc.home.write(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"),
                  "[GROUP_003]\r\nUSE=False\r\n[ZONE_001]\r\nGROUP=3\r\n[ZONE_002]\r\nGROUP=1\r\n");
    setIni("[SERIAL]\r\nONLINE=0\r\n");
    start();
    main->selectTab(kViewGroups);
    main->selectTab(kViewOverview);
    EXPECT_EQ(tc.ctx->plant.zone(1).Group, 0);
    EXPECT_EQ(tc.ctx->plant.zone(2).Group, 1);
    EXPECT_TRUE(tc.home.read(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI")).contains("[ZONE_001]\r\nGROUP=3"));
}

}  // namespace
