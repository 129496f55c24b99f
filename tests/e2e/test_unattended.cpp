// The programs as a user runs them: zevsim serving a pseudo-terminal and the
// station started unattended with the scripted operator against it.
#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

namespace {

const QString kBin = QStringLiteral(ZEV_BIN_DIR);

class Unattended : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(home.file(QStringLiteral("ports")));
        QDir().mkpath(home.file(QStringLiteral("DRIVER")));
        const QDir drivers(QStringLiteral(ZEV_SOURCE_DIR "/data/DRIVER"));
        for (const QString& f : drivers.entryList({QStringLiteral("*.DRV")}, QDir::Files))
            QFile::copy(drivers.filePath(f), home.file(QStringLiteral("DRIVER/") + f));
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZEVCONTROL_SYSDIR"), home.file(QStringLiteral("system")));
        env.insert(QStringLiteral("ZEV485_PORTS"), home.file(QStringLiteral("ports")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    void TearDown() override {
        if (sim.state() != QProcess::NotRunning) {
            sim.terminate();
            sim.waitForFinished(5000);
        }
    }
    void startSim(const QStringList& extra) {
        sim.setProcessEnvironment(env);
        sim.start(kBin + QStringLiteral("/zevsim"),
                  QStringList{QStringLiteral("--port-link"), home.file(QStringLiteral("ports/COM1")), QStringLiteral("--baud"),
                              QStringLiteral("0")} + extra);
        ASSERT_TRUE(sim.waitForStarted(5000));
        for (int i = 0; i < 100 && !QFileInfo::exists(home.file(QStringLiteral("ports/COM1"))); ++i) QThread::msleep(50);
        ASSERT_TRUE(QFileInfo::exists(home.file(QStringLiteral("ports/COM1"))));
    }
    // Runs the station; returns its exit status and fills `out`.
    int runStation(const QStringList& script, double seconds) {
        home.write(QStringLiteral("script.txt"), script.join(QLatin1Char('\n')).toUtf8());
        QProcess station;
        station.setProcessEnvironment(env);
        station.start(kBin + QStringLiteral("/zevcontrol"),
                      {QStringLiteral("--home"), home.path(), QStringLiteral("--script"), home.file(QStringLiteral("script.txt")),
                       QStringLiteral("--run-for"), QString::number(seconds)});
        if (!station.waitForFinished(60000)) {
            station.kill();
            return -1;
        }
        out = QString::fromUtf8(station.readAllStandardOutput());
        return station.exitCode();
    }

    zev::test::TempHome home;
    QProcessEnvironment env;
    QProcess sim;
    QString out;
};

TEST_F(Unattended, FirstStartStoresTheWiringTheOperatorConfirmed) {
    startSim({QStringLiteral("--controllers"), QStringLiteral("16,8")});
    ASSERT_EQ(runStation({QStringLiteral("2")}, 2), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral(
        "NOTICE Es wurde ein Regler mit 24 Zonen gefunden. Ist das korrekt? | Nein, neu suchen | Ja, weiter | "
        "Nein, Programm Ende -> 2")))
        << out.toStdString();
    const QByteArray ini = home.read(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"));
    for (int z = 1; z <= 24; ++z) {
        const QByteArray expected = QStringLiteral("485ADR=%1\r\n485ZON=%2\r\n")
                                        .arg(z <= 16 ? 1 : 2)
                                        .arg(z <= 16 ? z : z - 16)
                                        .toLatin1();
        const qsizetype section = ini.indexOf(QStringLiteral("[ZONE_%1]").arg(z, 3, 10, QLatin1Char('0')).toLatin1());
        ASSERT_GE(section, 0) << z;
        EXPECT_EQ(ini.indexOf(expected, section), ini.indexOf("485ADR", section)) << z;
    }

    // The second start finds what it stored and asks nothing.
    ASSERT_EQ(runStation({}, 2), 0) << out.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral("NOTICE"))) << out.toStdString();
}

TEST_F(Unattended, AnUnansweredNoticeEndsWithStatusThree) {
    startSim({QStringLiteral("--controllers"), QStringLiteral("8")});
    EXPECT_EQ(runStation({}, 10), 3);
    EXPECT_TRUE(out.startsWith(QStringLiteral("UNANSWERED NOTICE Es wurde ein Regler mit 8 Zonen gefunden.")))
        << out.toStdString();
}

TEST_F(Unattended, WithoutControllersTheOperatorStartsOffline) {
    // No simulator: COM1 is a link to nothing, the port cannot be opened.
    ASSERT_TRUE(QFile::link(home.file(QStringLiteral("nothing")), home.file(QStringLiteral("ports/COM1"))));
    ASSERT_EQ(runStation({QStringLiteral("2")}, 1), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(
        QStringLiteral("NOTICE Initialisierung des COM-Ports fehlgeschlagen.\\nZEV CONTROL jetzt OFFLINE |  | OK |  -> 2")))
        << out.toStdString();
}

}  // namespace

namespace {

TEST_F(Unattended, SettingsThatCannotBeStoredAreReportedAndTheStationRuns) {
    // zev.ini is a directory: nothing can be read from it or written to it.
    QDir().mkpath(home.file(QStringLiteral("zev.ini")));
    ASSERT_TRUE(QFile::link(home.file(QStringLiteral("nothing")), home.file(QStringLiteral("ports/COM1"))));
    ASSERT_EQ(runStation({QStringLiteral("2"), QStringLiteral("2")}, 1), 0) << out.toStdString();
    // The reason is the operator's language too.
    EXPECT_TRUE(out.contains(QStringLiteral("NOTICE Die Einstellungen konnten nicht gespeichert werden: ") +
                             home.file(QStringLiteral("zev.ini")) +
                             QStringLiteral("\\nDie Datei kann nicht gelesen werden und bleibt unverändert. |")))
        << out.toStdString();
    EXPECT_EQ(out.count(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden")), 1) << out.toStdString();
}

TEST_F(Unattended, DamagedFilesDoNotStopTheStart) {
    QByteArray garbage;
    for (int i = 0; i < 2048; ++i) garbage.append(static_cast<char>((i * 131 + 7) & 0xFF));
    home.write(QStringLiteral("zev.ini"), "[SERIAL]\r\nONLINE=0\r\n" + garbage);
    home.write(QStringLiteral("cmd.ini"), garbage);
    home.write(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"), garbage + "\r\n[ZONE_001\r\nNAME\r\n");
    home.write(QStringLiteral("system/passwords.ini"), "[INFO]\r\nPL2=" + garbage.left(40) + "\r\n");
    home.write(QStringLiteral("system/ZEV3.INI"), garbage);
    ASSERT_EQ(runStation({QStringLiteral("2")}, 1), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("NOTICE Der Passwortspeicher war beschädigt.")) || out.contains(QStringLiteral("NOTICE The password store")))
        << out.toStdString();
    // What could be read stays: the garbage lines are still in the file.
    EXPECT_TRUE(home.read(QStringLiteral("zev.ini")).contains(garbage.left(100)));
}

}  // namespace

namespace {

TEST_F(Unattended, AStoredLanguageThatDoesNotExistEndsTheProgramAfterOneMessage) {
    home.write(QStringLiteral("system/ZEV3.INI"), "[LngPtnr]\r\nLngId=3\r\n");
    home.write(QStringLiteral("zev.ini"), "[SERIAL]\r\nONLINE=0\r\n");
    EXPECT_EQ(runStation({QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("2")}, 5), 1);
    EXPECT_EQ(out, QStringLiteral("NOTICE [ZEVcontrol 2] Wrong LngId !?! |  | OK |  -> 2\n")) << out.toStdString();
}

// The sockets the process holds open (the signal handling's pair among them).
int openSockets(qint64 pid) {
    const QString dir = QStringLiteral("/proc/%1/fd").arg(pid);
    int n = 0;
    for (const QString& fd : QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char target[64] = {};
        const ssize_t len = ::readlink(QFile::encodeName(dir + QLatin1Char('/') + fd).constData(), target, sizeof target - 1);
        if (len > 0 && std::strncmp(target, "socket:", 7) == 0) ++n;
    }
    return n;
}

TEST_F(Unattended, SigtermEndsTheProgramWhileTheLanguageMessageIsOpen) {
    QProcess station;
    station.setProcessEnvironment(env);
    station.start(kBin + QStringLiteral("/zevcontrol"), {QStringLiteral("--home"), home.path(), QStringLiteral("LNGID=7")});
    ASSERT_TRUE(station.waitForStarted(5000));
    // The signal handling is in place once its socket pair is open; the box follows it at once.
    for (int i = 0; i < 400 && openSockets(station.processId()) < 2; ++i) QThread::msleep(50);
    ASSERT_GE(openSockets(station.processId()), 2);
    QThread::msleep(500);
    station.terminate();
    ASSERT_TRUE(station.waitForFinished(30000)) << "the program ignored SIGTERM";
    EXPECT_EQ(station.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(station.exitCode(), 1);
}

}  // namespace
