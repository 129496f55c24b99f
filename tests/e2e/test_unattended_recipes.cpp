// Recipes in unattended runs of the real programs: zevsim with three
// controllers on a pseudo-terminal (printing every telegram), the station
// started three times. The first run reads every parameter and stores the
// recipe; one target of it is changed; the second run loads it as the tool's
// standard recipe, warns of the difference and sends that one value only; the
// third run loads it and finds no difference.
#include "real_programs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using zev::test::kBin;

struct StationRun {
    int exitCode = -1;
    QString transcript;
};

StationRun runStation(zev::test::TempHome& home, const QProcessEnvironment& env, const QStringList& script) {
    home.write(QStringLiteral("script.txt"), script.join(QLatin1Char('\n')).toUtf8());
    QProcess station;
    station.setProcessEnvironment(env);
    station.start(kBin + QStringLiteral("/zevcontrol"),
                  {QStringLiteral("--home"), home.path(), QStringLiteral("--script"), home.file(QStringLiteral("script.txt")),
                   QStringLiteral("--run-for"), QStringLiteral("8")});
    StationRun run;
    if (!station.waitForFinished(90000)) return run;
    run.exitCode = station.exitCode();
    run.transcript = QString::fromUtf8(station.readAllStandardOutput());
    return run;
}

// Requests the simulator printed that set a zone parameter ("G01K03P01=0077").
int parameterWrites(const QString& simOutput) {
    static const QRegularExpression write(QStringLiteral("G\\d\\dK\\d\\dP\\d\\d=-?\\d{4}"));
    int n = 0;
    for (auto it = write.globalMatch(simOutput); it.hasNext(); it.next()) ++n;
    return n;
}

TEST(UnattendedRecipes, ReadStoreChangeSendOnlyTheChangeAndLoadWithoutDifference) {
    zev::test::TempHome home;
    zev::test::prepareRealHome(home);
    const QProcessEnvironment env = zev::test::realProgramsEnv(home);
    QProcess sim;
    sim.setProcessEnvironment(env);
    sim.setProcessChannelMode(QProcess::MergedChannels);
    sim.start(kBin + QStringLiteral("/zevsim"),
              {QStringLiteral("--port-link"), home.file(QStringLiteral("ports/COM1")), QStringLiteral("--baud"), QStringLiteral("0"),
               QStringLiteral("--controllers"), QStringLiteral("4,4,4"), QStringLiteral("--verbose")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    for (int i = 0; i < 100 && !QFileInfo::exists(home.file(QStringLiteral("ports/COM1"))); ++i) QThread::msleep(50);
    QString simOutput;
    auto simSince = [&] {
        sim.waitForReadyRead(200);
        const QString out = QString::fromUtf8(sim.readAll());
        simOutput += out;
        return out;
    };

    // 1: every parameter read on opening the view, the recipe stored.
    const StationRun first = runStation(home, env, {QStringLiteral("2"), QStringLiteral("!view 4"), QStringLiteral("!recipe save Basis")});
    ASSERT_EQ(first.exitCode, 0) << first.transcript.toStdString();
    const QString simFirst = simSince();
    for (const char* block : {"G01KALP26=", "G02KALP26=", "G03KALP26=", "G01?HIW="})
        EXPECT_TRUE(simFirst.contains(QLatin1String(block))) << block;
    const QString recipe = home.file(QStringLiteral("TOOLS/STANDARD/parameter/BASIS.RZP"));
    QFile file(recipe);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << first.transcript.toStdString();
    QByteArray text = file.readAll();
    file.close();
    EXPECT_TRUE(home.read(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI")).contains("REZEPT=BASIS"));

    // A new target: parameter 1 (setpoint ramp) of zone 6, controller 2's second channel.
    const qsizetype at = text.indexOf("[Z006]\r\nPARAM=");
    ASSERT_GE(at, 0);
    const qsizetype value = at + 14;
    const qsizetype end = text.indexOf(';', value);
    const int old = text.mid(value, end - value).toInt();
    const int wanted = old == 77 ? 78 : 77;
    text.replace(value, end - value, QByteArray::number(wanted));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();

    // 2: the standard recipe differs from the controllers: warned, then sent.
    const StationRun second = runStation(home, env, {QStringLiteral("!view 4"), QStringLiteral("2"), QStringLiteral("!send"),
                                    QStringLiteral("2"), QStringLiteral("58"),  // login to level 3
                                    QStringLiteral("1")});
    ASSERT_EQ(second.exitCode, 0) << second.transcript.toStdString();
    EXPECT_TRUE(second.transcript.contains(QStringLiteral("Achtung! Das aktuelle Rezept weicht von den aktuellen ZEV-Parametern ab.")))
        << second.transcript.toStdString();
    const QString simSecond = simSince();
    QStringList writeLines;
    for (const QString& line : simSecond.split(QLatin1Char('\n')))
        if (parameterWrites(line) > 0) writeLines << line;
    EXPECT_EQ(writeLines.size(), 1) << writeLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(writeLines.join(QString()).contains(QStringLiteral("G02K02P01=%1").arg(wanted, 4, 10, QLatin1Char('0'))))
        << writeLines.join(QLatin1Char('\n')).toStdString() << second.transcript.toStdString();

    // 3: a new start, the recipe loaded again: no difference, nothing sent.
    const StationRun third = runStation(home, env, {QStringLiteral("!view 4"), QStringLiteral("!recipe load basis")});
    ASSERT_EQ(third.exitCode, 0) << third.transcript.toStdString();
    EXPECT_FALSE(third.transcript.contains(QStringLiteral("Achtung!"))) << third.transcript.toStdString();
    EXPECT_EQ(parameterWrites(simSince()), 0);
    sim.terminate();
    sim.waitForFinished(5000);
}

}  // namespace
