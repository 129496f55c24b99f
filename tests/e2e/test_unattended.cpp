// The programs as a user runs them: zevsim serving a pseudo-terminal and the
// station started unattended with the scripted operator against it.
#include "real_programs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <QThread>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace {

using zev::test::kBin;

class Unattended : public ::testing::Test {
protected:
    void SetUp() override {
        zev::test::prepareRealHome(home);
        env = zev::test::realProgramsEnv(home);
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
    EXPECT_TRUE(home.read(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI")).contains("[ZONE_024]\r\nNAME=ZONE 024\r\nGROUP=0\r\n485ADR=2\r\n485ZON=8\r\n"));

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

TEST_F(Unattended, DamagedFilesAreNamedOnceAndDoNotStopTheStart) {
    QByteArray garbage;
    for (int i = 0; i < 2048; ++i) garbage.append(static_cast<char>((i * 131 + 7) & 0xFF));
    home.write(QStringLiteral("zev.ini"), "[SERIAL]\r\nONLINE=0\r\n" + garbage);
    home.write(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"), garbage + "\r\n[ZONE_001\r\nNAME\r\n");
    home.write(QStringLiteral("system/passwords.ini"), "[INFO]\r\nPL2=Z" + garbage.left(40).toHex() + "X\r\n");
    home.write(QStringLiteral("system/ZEV3.INI"), garbage);
    ASSERT_EQ(runStation(QStringList(8, QStringLiteral("2")), 1), 0) << out.toStdString();
    const QStringList lines = out.split(QLatin1Char('\n'));
    for (const QString& file : {QStringLiteral("/zev.ini"), QStringLiteral("/SETTINGS.INI"), QStringLiteral("/ZEV3.INI")}) {
        const auto told = std::count_if(lines.begin(), lines.end(), [&](const QString& l) {
            return l.startsWith(QStringLiteral("NOTICE Die folgende Datei ist beschädigt und wurde so weit wie möglich gelesen: ")) &&
                   l.contains(file + QStringLiteral("\\nBeschädigte Zeilen: ")) &&
                   l.contains(QStringLiteral("Für die Einträge, die nicht gelesen werden konnten, gelten die Vorgabewerte."));
        });
        EXPECT_EQ(told, 1) << file.toStdString() << out.toStdString();
    }
    EXPECT_TRUE(out.contains(QStringLiteral("NOTICE Der Passwortspeicher war beschädigt."))) << out.toStdString();
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

namespace {

// Every record of the alarm database the station left in the program directory.
QStringList alarmRecords(const QString& home) {
    QStringList out;
    QDirIterator it(home, {QStringLiteral("STOER.MDB")}, QDir::Files, QDirIterator::Subdirectories);
    if (!it.hasNext()) return out;
    const QString path = it.next();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("e2e-alarms"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT Typ, Adresse, Meldung, Geht IS NULL FROM LOG ORDER BY rowid"));
            while (q.next())
                out << QStringLiteral("%1 %2 %3%4").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                                      q.value(3).toBool() ? QStringLiteral(" (open)") : QString());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("e2e-alarms"));
    return out;
}

// A line of eight controllers of 16 zones at 19200 baud: the station starts
// reading before the library has asked every controller once, which is no
// communication failure; the broken sensor of the last zone is logged, and at
// the second start its old record is closed and a new one opened.
TEST_F(Unattended, ALongLineStartedTwiceLogsNoFalseCommunicationError) {
    home.write(QStringLiteral("zev.ini"), "[SERIAL]\r\nONLINE=1\r\nCOMPORT=1\r\nDIRMODE=0\r\nBAUDRATE=19200\r\n");
    home.write(QStringLiteral("last-zone.scenario"),
               "at 0s setpoint 8.16 200\nat 0s mode 8.16 control\nat 0s fault broken-sensor 8.16\n");
    startSim({QStringLiteral("--controllers"), QStringLiteral("16,16,16,16,16,16,16,16"), QStringLiteral("--baud"),
              QStringLiteral("19200"), QStringLiteral("--scenario"), home.file(QStringLiteral("last-zone.scenario"))});
    ASSERT_EQ(runStation({QStringLiteral("2")}, 5), 0) << out.toStdString();
    ASSERT_TRUE(out.contains(QStringLiteral("Es wurde ein Regler mit 128 Zonen gefunden."))) << out.toStdString();
    QStringList records = alarmRecords(home.path());
    EXPECT_TRUE(records.filter(QStringLiteral("Kommunikationsfehler")).isEmpty()) << records.join('\n').toStdString();
    EXPECT_EQ(records.filter(QStringLiteral("2 128 Fühlerbruch (open)")).size(), 1) << records.join('\n').toStdString();

    ASSERT_EQ(runStation({}, 5), 0) << out.toStdString();
    records = alarmRecords(home.path());
    EXPECT_TRUE(records.filter(QStringLiteral("Kommunikationsfehler")).isEmpty()) << records.join('\n').toStdString();
    const QStringList sensor = records.filter(QStringLiteral("2 128 Fühlerbruch"));
    ASSERT_EQ(sensor.size(), 2) << records.join('\n').toStdString();
    EXPECT_EQ(sensor[0], QStringLiteral("2 128 Fühlerbruch")) << "closed at the second start";
    EXPECT_EQ(sensor[1], QStringLiteral("2 128 Fühlerbruch (open)"));
}

}  // namespace
