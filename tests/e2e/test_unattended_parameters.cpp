// The parameter view in an unattended run of the real programs: zevsim on a
// pseudo-terminal, the station with a script of operator actions. The zones of
// controller 1 are switched to control, group 1's setpoint is changed, the
// controllers' own history (the tool's day file) shows them reaching it, and the
// alarm log holds one operator record per change.
#include "real_programs.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using zev::test::kBin;
constexpr qint64 kPresenceBytes = 86400;
constexpr qint64 kRecordBytes = 3240;
constexpr qint64 kZoneBytes = 12;

TEST(UnattendedParameters, ZonesSwitchedAndAGroupSetpointReachTheirValues) {
    zev::test::TempHome home;
    zev::test::prepareRealHome(home);
    // Zones 1..4 form group 1, zones 5..8 group 2.
    QByteArray ini;
    for (int z = 1; z <= 8; ++z)
        ini += QStringLiteral("[ZONE_%1]\r\nGROUP=%2\r\n").arg(z, 3, 10, QLatin1Char('0')).arg(z <= 4 ? 1 : 2).toLatin1();
    QDir().mkpath(home.file(QStringLiteral("TOOLS/STANDARD")));
    home.write(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"), ini);

    QProcessEnvironment env = zev::test::realProgramsEnv(home);
    QProcess sim;
    sim.setProcessEnvironment(env);
    sim.start(kBin + QStringLiteral("/zevsim"), {QStringLiteral("--port-link"), home.file(QStringLiteral("ports/COM1")),
                                                 QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--controllers"),
                                                 QStringLiteral("8,8"), QStringLiteral("--speed"), QStringLiteral("40")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    for (int i = 0; i < 100 && !QFileInfo::exists(home.file(QStringLiteral("ports/COM1"))); ++i) QThread::msleep(50);

    const QStringList script{
        QStringLiteral("2"),  // the new wiring is right
        QStringLiteral("!view 4"),       QStringLiteral("!controller 1"), QStringLiteral("!mode 2"),
        QStringLiteral("!group 1"),      QStringLiteral("!setpoint"),     QStringLiteral("235"),
        QStringLiteral("!wait 12"),
    };
    home.write(QStringLiteral("script.txt"), script.join(QLatin1Char('\n')).toUtf8());
    QProcess station;
    station.setProcessEnvironment(env);
    station.start(kBin + QStringLiteral("/zevcontrol"), {QStringLiteral("--home"), home.path(), QStringLiteral("--script"),
                                                         home.file(QStringLiteral("script.txt")), QStringLiteral("--run-for"),
                                                         QStringLiteral("16")});
    ASSERT_TRUE(station.waitForFinished(90000));
    const QString out = QString::fromUtf8(station.readAllStandardOutput());
    sim.terminate();
    sim.waitForFinished(5000);
    ASSERT_EQ(station.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("INPUT Sollwert für Gruppe 1 (4 Zonen) [0 ... 700] -> 235"))) << out.toStdString();

    // The last second the library recorded: group 1 at its new setpoint, the
    // other zones of controller 1 in control at theirs.
    QFile day(home.file(QStringLiteral("TOOLS/STANDARD/LOGFILES/") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
                        QStringLiteral(".CDB")));
    ASSERT_TRUE(day.open(QIODevice::ReadOnly)) << day.fileName().toStdString();
    const QByteArray presence = day.read(kPresenceBytes);
    const qsizetype last = presence.lastIndexOf('\x01');
    ASSERT_GE(last, 0);
    ASSERT_TRUE(day.seek(kPresenceBytes + last * kRecordBytes));
    const QByteArray record = day.read(kRecordBytes);
    auto field = [&](int zone, int offset) {
        return qFromLittleEndian<qint16>(record.constData() + (zone - 1) * kZoneBytes + offset);
    };
    for (int z = 1; z <= 4; ++z) {
        EXPECT_EQ(field(z, 0), 235) << z;
        EXPECT_NEAR(field(z, 2), 235, 3) << z;
    }
    for (int z = 5; z <= 8; ++z) EXPECT_NE(field(z, 0), 235) << z;

    // One record per change: eight modes (controller 1's zones were off), four setpoints.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("e2e-parameters"));
        db.setDatabaseName(home.file(QStringLiteral("TOOLS/STANDARD/LOGFILES/STOER.MDB")));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT Adresse, Meldung FROM LOG WHERE Typ = 1 AND Meldung LIKE '%(ANZEIGEN)' "
                                          "ORDER BY rowid")));
        QStringList rows;
        while (q.next()) rows << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString();
        QStringList modes = rows.filter(QStringLiteral("Betriebsart"));
        QStringList setpoints = rows.filter(QStringLiteral("Sollwert"));
        EXPECT_EQ(modes.size(), 8) << rows.join('\n').toStdString();
        EXPECT_EQ(setpoints.size(), 4) << rows.join('\n').toStdString();
        for (const QString& r : setpoints) EXPECT_TRUE(r.endsWith(QStringLiteral(" auf 235 °C (ANZEIGEN)"))) << r.toStdString();
        // The reading pass did not record these setpoint changes a second time.
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM LOG WHERE Meldung LIKE 'Sollwertänderung%235%'")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("e2e-parameters"));
}

}  // namespace
