// The programs unattended: zevsim heats the demo plant on a pseudo-terminal,
// the station (prepared like ./run does) shows the live trend with a span of
// one minute and exports it to a directory that stands for a USB stick; the
// worksheet opens in python3-xlrd and shows the rise.
#include "real_programs.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using zev::test::kBin;

TEST(TrendRun, TheDemoPlantHeatsTheLiveTrendRisesTheExportOpens) {
    zev::test::TempHome home;
    QProcess prepare;
    prepare.start(QStringLiteral("/bin/bash"), {QStringLiteral(ZEV_SOURCE_DIR "/scripts/prepare-home"), home.path()});
    ASSERT_TRUE(prepare.waitForFinished(30000));
    ASSERT_EQ(prepare.exitCode(), 0);
    const QString stick = home.file(QStringLiteral("STICK"));
    QDir().mkpath(stick);
    QProcessEnvironment env = zev::test::realProgramsEnv(home);
    env.insert(QStringLiteral("ZEV_EXPORT_DRIVE"), stick);

    QProcess sim;
    sim.setProcessEnvironment(env);
    sim.start(kBin + QStringLiteral("/zevsim"),
              {QStringLiteral("--port-link"), home.file(QStringLiteral("ports/COM1")), QStringLiteral("--controllers"),
               QStringLiteral("16,16,16"), QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--scenario"),
               QStringLiteral(ZEV_SOURCE_DIR "/data/demo.scenario")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    for (int i = 0; i < 100 && !QFileInfo::exists(home.file(QStringLiteral("ports/COM1"))); ++i) QThread::msleep(50);
    ASSERT_TRUE(QFileInfo::exists(home.file(QStringLiteral("ports/COM1"))));

    // Every notice is answered with its first button (the saved note among them).
    home.write(QStringLiteral("script.txt"), QByteArray("1\n1\n1\n1\n1\n1\n"));
    const QString shot = home.file(QStringLiteral("trend-run.png"));
    QProcess station;
    station.setProcessEnvironment(env);
    station.start(kBin + QStringLiteral("/zevcontrol"),
                  {QStringLiteral("--home"), home.path(), QStringLiteral("--script"), home.file(QStringLiteral("script.txt")),
                   QStringLiteral("--tab"), QStringLiteral("2"), QStringLiteral("--click"), QStringLiteral("optScaleTime0@1"),
                   QStringLiteral("--click"), QStringLiteral("cmdCreateXLS@62"), QStringLiteral("--run-for"),
                   QStringLiteral("64"), QStringLiteral("--screenshot"), shot});
    const bool finished = station.waitForFinished(120000);
    if (!finished) station.kill();
    sim.terminate();
    sim.waitForFinished(5000);
    ASSERT_TRUE(finished);
    const QString out = QString::fromUtf8(station.readAllStandardOutput());
    ASSERT_EQ(station.exitCode(), 0) << out.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral("CLICK"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Excelfile saved as: "))) << out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(shot));
    if (const QString dir = qEnvironmentVariable("ZEV_SCREENSHOT_DIR"); !dir.isEmpty()) {
        QFile::remove(QDir(dir).filePath(QStringLiteral("trend-run.png")));
        QFile::copy(shot, QDir(dir).filePath(QStringLiteral("trend-run.png")));
    }

    const QStringList files = QDir(stick).entryList({QStringLiteral("*.xls")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    // The first actual value of zone 1 and its last one: the nozzle heats up.
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import sys, xlrd
s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
col = [c for c in range(s.ncols) if s.cell_value(0, c).endswith(' X')][0]
vals = [s.cell_value(r, col) for r in range(1, s.nrows) if s.cell_type(r, col) == xlrd.XL_CELL_NUMBER]
print('|'.join([s.cell_value(0, 0), s.cell_value(0, col), str(s.nrows), str(int(vals[0])), str(int(vals[-1]))]))
)"), QDir(stick).filePath(files[0])});
    ASSERT_TRUE(py.waitForFinished(30000));
    const QStringList f = QString::fromUtf8(py.readAllStandardOutput()).trimmed().split(QLatin1Char('|'));
    ASSERT_EQ(f.size(), 5) << py.readAllStandardError().toStdString();
    EXPECT_EQ(f[0], QStringLiteral("Zeit"));
    EXPECT_GT(f[2].toInt(), 20);  // rows of the minute
    EXPECT_GT(f[4].toInt(), f[3].toInt() + 5) << f.join('|').toStdString();  // the rise
}

}  // namespace
