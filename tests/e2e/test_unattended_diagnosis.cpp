// The wiring test as a user runs it: zevsim with two faults on a pseudo-terminal
// (plant time x10, its every telegram logged), the station started with
// --diagnose. The stored protocol names both faults, and the last value the
// station wrote to each zone's mode, output, current supervision and to the
// controller's automatic power mode is the one the plant had before.
#include "real_programs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

#include <map>

namespace {

using zev::test::kBin;

TEST(UnattendedDiagnosis, ProtocolNamesBothFaultsAndThePlantIsAsBefore) {
    zev::test::TempHome home;
    zev::test::prepareRealHome(home);
    home.write(QStringLiteral("zev.ini"), "[SERIAL]\r\nONLINE=1\r\nCOMPORT=1\r\nDIRMODE=0\r\nBAUDRATE=19200\r\n");
    QByteArray ini("[ALLGROUPS]\r\nSTARTTEMP=100\r\n[GROUP_001]\r\nNAME=Nozzles\r\nDIAGTIME=10\r\nDIAGPOWER=100\r\n");
    for (int z = 1; z <= 8; ++z)
        ini += QStringLiteral("[ZONE_%1]\r\nNAME=Duese %2\r\nGROUP=1\r\n485ADR=1\r\n485ZON=%2\r\n").arg(z, 3, 10, QLatin1Char('0')).arg(z).toLatin1();
    QDir().mkpath(home.file(QStringLiteral("TOOLS/STANDARD")));
    home.write(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"), ini);
    // Before: zone 1 and 4 in control, zone 2 manual at 4 %, the others off;
    // current supervision off on zones 4 and 6; automatic power mode on.
    home.write(QStringLiteral("faults.scenario"),
               "at 0s setpoint * 35\nat 0s mode 1.1 control\nat 0s mode 1.2 manual\nat 0s output 1.2 4\n"
               "at 0s mode 1.4 control\nat 0s param 1.4 21 0\nat 0s param 1.6 21 0\n"
               "at 0s fault broken-sensor 1.7\nat 0s fault crossed-sensors 1.3 1.5\n");
    const std::map<int, int> modeBefore{{1, 2}, {2, 1}, {3, 0}, {4, 2}, {5, 0}, {6, 0}, {7, 0}, {8, 0}};
    const std::map<int, int> supervisionBefore{{1, 1}, {2, 1}, {3, 1}, {4, 0}, {5, 1}, {6, 0}, {7, 1}, {8, 1}};

    QProcessEnvironment env = zev::test::realProgramsEnv(home);
    QProcess sim;
    sim.setProcessEnvironment(env);
    sim.setStandardOutputFile(home.file(QStringLiteral("sim.log")));
    sim.setStandardErrorFile(home.file(QStringLiteral("sim.log")), QIODevice::Append);
    sim.start(kBin + QStringLiteral("/zevsim"),
              {QStringLiteral("--port-link"), home.file(QStringLiteral("ports/COM1")), QStringLiteral("--baud"), QStringLiteral("0"),
               QStringLiteral("--controllers"), QStringLiteral("8"), QStringLiteral("--speed"), QStringLiteral("10"),
               QStringLiteral("--noise"), QStringLiteral("0"), QStringLiteral("--verbose"), QStringLiteral("--scenario"),
               home.file(QStringLiteral("faults.scenario"))});
    ASSERT_TRUE(sim.waitForStarted(5000));
    for (int i = 0; i < 100 && !QFileInfo::exists(home.file(QStringLiteral("ports/COM1"))); ++i) QThread::msleep(50);

    home.write(QStringLiteral("script.txt"), "2\n3916\n");  // level 3: login with the service code
    QProcess station;
    station.setProcessEnvironment(env);
    station.start(kBin + QStringLiteral("/zevcontrol"),
                  {QStringLiteral("--home"), home.path(), QStringLiteral("--script"), home.file(QStringLiteral("script.txt")),
                   QStringLiteral("--diagnose"), QStringLiteral("Abnahme")});
    ASSERT_TRUE(station.waitForFinished(110000));
    EXPECT_EQ(station.exitCode(), 0) << station.readAllStandardOutput().toStdString();
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    QFile logFile(home.file(QStringLiteral("sim.log")));
    ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
    const QString simLog = QString::fromLatin1(logFile.readAll());

    QFile f(home.file(QStringLiteral("TOOLS/STANDARD/LOGFILES/Abnahme.log")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_GE(bytes.size(), 4);
    const quint32 l1 = quint8(bytes[0]) | quint8(bytes[1]) << 8 | quint8(bytes[2]) << 16 | quint32(quint8(bytes[3])) << 24;
    ASSERT_EQ(bytes.size(), 4 + qint64(l1));
    const QString text = QString::fromLatin1(bytes.mid(4));  // the names are plain ASCII here
    EXPECT_TRUE(text.contains(QStringLiteral("\tDuese 7 hat F\u00FChlerbruch und wird von der Diagnose ausgeschlossen.2\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\t>>> Verdrahtungsfehler! Es reagierte Duese 5 mit Erh\u00F6hung von ")))
        << text.toStdString();

    // The station's writes as the simulator logged them: "G01K<ch><code>=<4 digits><check>".
    std::map<std::pair<int, QString>, int> last;
    int apm = -1;
    const QRegularExpression write(QStringLiteral("G01K(\\d\\d)(M|Y|P21|S)=(\\d{4})[0-9A-F]{2}  ->  <STX>G01<ACK>"));
    const QRegularExpression apmWrite(QStringLiteral("G01\\?APM=(\\d{4})[0-9A-F]{2}  ->  <STX>G01<ACK>"));
    for (const QString& line : simLog.split(QLatin1Char('\n'))) {
        if (const auto m = write.match(line); m.hasMatch()) last[{m.captured(1).toInt(), m.captured(2)}] = m.captured(3).toInt();
        if (const auto m = apmWrite.match(line); m.hasMatch()) apm = m.captured(1).toInt();
    }
    ASSERT_FALSE(last.empty()) << simLog.toStdString();
    EXPECT_EQ(apm, 1) << "zeroed for the test and set back";
    for (int z = 1; z <= 8; ++z) {
        SCOPED_TRACE(z);
        if (last.count({z, QStringLiteral("M")})) {
            EXPECT_EQ((last[{z, QStringLiteral("M")}]), modeBefore.at(z));
        }
        if (last.count({z, QStringLiteral("P21")})) {
            EXPECT_EQ((last[{z, QStringLiteral("P21")}]), supervisionBefore.at(z));
        }
        EXPECT_EQ(last.count({z, QStringLiteral("S")}), 0u);
    }
    EXPECT_EQ((last[{2, QStringLiteral("Y")}]), 4);  // the manual output set back
    EXPECT_EQ((last[{3, QStringLiteral("Y")}]), 0);  // the zone heated when the crossing showed: off first
}

}  // namespace
