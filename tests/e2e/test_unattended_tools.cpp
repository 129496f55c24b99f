// The tool change in an unattended run of the real programs: zevsim on a
// pseudo-terminal, the station with a script of operator actions. A new tool is
// created and activated (its wiring is unknown: the identification runs and
// stores it), then the first tool again (its wiring matches the line: no
// identification).
#include "real_programs.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using zev::test::kBin;

TEST(UnattendedTools, ANewToolIsIdentifiedTheKnownOneIsNot) {
    zev::test::TempHome home;
    zev::test::prepareRealHome(home);
    QProcessEnvironment env = zev::test::realProgramsEnv(home);
    QProcess sim;
    sim.setProcessEnvironment(env);
    sim.start(kBin + QStringLiteral("/zevsim"), {QStringLiteral("--port-link"), home.file(QStringLiteral("ports/COM1")),
                                                 QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--controllers"),
                                                 QStringLiteral("8,8")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    for (int i = 0; i < 100 && !QFileInfo::exists(home.file(QStringLiteral("ports/COM1"))); ++i) QThread::msleep(50);

    const QStringList script{
        QStringLiteral("2"),  // first start: the new wiring is right
        QStringLiteral("!drive"), QStringLiteral("!click cmdNewTool"),
        QStringLiteral("2"), QStringLiteral("58"),  // "Login" and the level-3 password
        QStringLiteral("zweites werkzeug"),
        QStringLiteral("!tool ZWEITES WERKZEUG"), QStringLiteral("!click cmdChange"),
        QStringLiteral("2"),  // its wiring is unknown: the identification asks
        QStringLiteral("!wait 4"),
        QStringLiteral("!tool STANDARD"), QStringLiteral("!click cmdChange"),
        QStringLiteral("!wait 4"),
        // Once more: the change back has made it the active tool.
        QStringLiteral("!tool STANDARD"), QStringLiteral("!click cmdChange"), QStringLiteral("2"),
    };
    home.write(QStringLiteral("script.txt"), script.join(QLatin1Char('\n')).toUtf8());
    QProcess station;
    station.setProcessEnvironment(env);
    station.start(kBin + QStringLiteral("/zevcontrol"), {QStringLiteral("--home"), home.path(), QStringLiteral("--script"),
                                                         home.file(QStringLiteral("script.txt")), QStringLiteral("--run-for"),
                                                         QStringLiteral("14")});
    ASSERT_TRUE(station.waitForFinished(90000));
    const QString out = QString::fromUtf8(station.readAllStandardOutput());
    sim.terminate();
    sim.waitForFinished(5000);
    ASSERT_EQ(station.exitCode(), 0) << out.toStdString();
    // Two identifications asked about the wiring: the first start and the new tool; the way back asked nothing.
    EXPECT_EQ(out.count(QStringLiteral("Es wurde ein Regler mit 16 Zonen gefunden. Ist das korrekt?")), 2) << out.toStdString();
    EXPECT_EQ(out.indexOf(QStringLiteral("UNANSWERED")), -1) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("NOTICE Dieses Werkzeug ist bereits aktiviert!"))) << out.toStdString();
    const QByteArray ini = home.read(QStringLiteral("zev.ini"));
    EXPECT_TRUE(ini.contains("TOOLNAME=STANDARD\r\n")) << out.toStdString();
    // The new tool was made by its first activation and holds the line's wiring.
    const QByteArray tool = home.read(QStringLiteral("TOOLS/ZWEITES WERKZEUG/SETTINGS.INI"));
    EXPECT_TRUE(tool.contains("[ZONE_009]\r\nNAME=ZONE 009\r\nGROUP=0\r\n485ADR=2\r\n485ZON=1\r\n")) << tool.left(400).constData();
    EXPECT_TRUE(QDir(home.file(QStringLiteral("TOOLS/ZWEITES WERKZEUG/LOGFILES"))).exists());
}

}  // namespace
