// The trend's costs on 270 lines over a 12-hour window (1,400 points, the
// chart's width at 1024x768), from a day file recorded every second:
//   Load12h: ReadValBuffers of the whole window (warm page cache);
//   LiveTick: one new point on 270 lines (shift, read it, rescale both axes);
//   Draw/0: the chart with 270 lines whose values jump by up to 80 degrees at
//         every point (the worst staircase), offscreen into an image;
//   Draw/1: 270 lines that move by a degree at every point (a plant that
//         regulates: noise on every reading);
//   Export: 255 lines (the sheet's 256 columns) of the window as a worksheet.
// Run: bench_trend --benchmark_min_time=0.2 ; the medians are the figures.
#include "trend/forms/trend_chart.h"
#include "trend/trend_export.h"
#include "trend/trend_lines.h"
#include "trend/trend_scale.h"
#include "zev485_dayfile.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

namespace dayfile = zev485::dayfile;
constexpr int kPoints = 1400;
const QDate kDay(2026, 3, 2);

// Today's file with every second from 12:00 to midnight recorded.
const QString& logDir() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.path() + QStringLiteral("/");
        QFile f(p + zev::TrendWindow::dayFileName(kDay));
        f.open(QIODevice::WriteOnly);
        QByteArray presence(dayfile::kPresenceBytes, '\0');
        for (int s = 43201; s <= 86400; ++s) presence[s - 1] = 1;
        f.write(presence);
        f.seek(dayfile::recordOffset(43201));
        QByteArray chunk;
        for (int s = 43201; s <= 86400; ++s) {
            QByteArray rec(static_cast<qsizetype>(dayfile::kRecordBytes), '\0');
            for (int z = 1; z <= dayfile::kZones; ++z) {
                dayfile::ZoneEntry e{230, static_cast<std::int16_t>(200 + (s + z) % 40), 0,
                                     static_cast<std::int16_t>((s / 7 + z) % 100), 35};
                dayfile::encodeEntry(e, reinterpret_cast<unsigned char*>(rec.data()) + (z - 1) * dayfile::kEntryBytes);
            }
            chunk += rec;
            if (chunk.size() > (8 << 20)) {
                f.write(chunk);
                chunk.clear();
            }
        }
        f.write(chunk);
        return p;
    }();
    return path;
}

zev::TrendWindow window(int lines, int kind = zev::KindActual) {
    zev::TrendWindow w(logDir());
    std::vector<zev::TrendLine> l;
    for (int i = 0; i < lines; ++i) l.push_back({kind, i % 270 + 1, {}});
    w.setLines(std::move(l));
    w.setGeometry(kPoints, 43200);
    return w;
}
const QDateTime kEnd(kDay, QTime(23, 59, 59));

void Load12h(benchmark::State& state) {
    auto w = window(270);
    w.ReadValBuffers(kEnd, kPoints);  // warms the page cache
    for (auto _ : state) {
        w.ReadValBuffers(kEnd, kPoints);
        benchmark::DoNotOptimize(w.lines()[269].data[kPoints]);
    }
}
BENCHMARK(Load12h)->Unit(benchmark::kMillisecond);

void LiveTick(benchmark::State& state) {
    auto w = window(270);
    w.ReadValBuffers(kEnd, kPoints);
    zev::TrendScale left, right;
    for (auto _ : state) {
        w.shiftLeft(1);
        w.ReadValBuffers(kEnd, 0);
        zev::TestRescale(left, w.lines(), 552);
        zev::TestRescale_Y(right, w.lines(), 552);
        benchmark::DoNotOptimize(left.maximum);
    }
}
BENCHMARK(LiveTick)->Unit(benchmark::kMicrosecond);

void Draw(benchmark::State& state) {
    auto w = window(270);
    const bool jumps = state.range(0) == 0;
    for (std::size_t i = 0; i < w.lines().size(); ++i)
        for (int p = 0; p <= kPoints; ++p)
            w.lines()[i].data[static_cast<std::size_t>(p)] =
                static_cast<std::int16_t>(jumps ? 150 + (p * 7 + i * 3) % 80 : 150 + static_cast<int>(i % 60) + p % 2);
    zev::TrendChart chart(w);
    chart.resize(kPoints + 2 + zev::TrendChart::kLeftMargin + zev::TrendChart::kRightMargin, 600);
    chart.windowEnd = kEnd;
    chart.rescale();
    QImage image(chart.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        chart.render(p);
    }
}
BENCHMARK(Draw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void Export(benchmark::State& state) {
    auto w = window(255);
    w.ReadValBuffers(kEnd, kPoints);
    const QString file = logDir() + QStringLiteral("export.xls");
    const zev::TrendSheet sheet{QStringLiteral("Zeit"), [](int z) { return QStringLiteral("Düse %1").arg(z); }};
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(zev::writeTrendSheet(file, w, kEnd, sheet, &error));
    }
    state.counters["bytes"] = static_cast<double>(QFile(file).size());
}
BENCHMARK(Export)->Unit(benchmark::kMillisecond);

}  // namespace
