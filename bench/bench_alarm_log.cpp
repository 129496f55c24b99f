// The alarm database of a plant where a zone alarm comes and goes every second,
// ten days long (about 900,000 records), generated once per run in a temporary
// directory:
//   ErrLog:      one alarm coming or going on its own (one durable commit), and
//                a reading pass in which 270 zones change (one transaction)
//   list query:  opening the list (the query model's first rows) for every
//                combination of the type boxes, "acknowledged too", "only
//                actual" and four zone selections
//   open:        loading the alarm view's log (the check of the file)
//   acknowledge: stamping the default list (half the file not yet acknowledged)
//   DBCompact:   the deletion (nothing is old enough) and the compaction into a new file
// Run: bench_alarm_log --benchmark_min_time=0.2 ; the medians are the figures.
#include "test_context.h"

#include "alarms/alarm_db.h"
#include "alarms/alarm_filter.h"
#include "alarms/forms/alarm_list_model.h"
#include "alarms/alarm_log.h"
#include "base/clock.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using zev::AlarmLog;
using zev::test::TestContext;

constexpr int kZones = 270;
constexpr int kDays = 10;
constexpr int kSeconds = kDays * 86400;

// The generated database, the context whose clock stands at its end, and the
// moment the station was started (a day before the end).
struct Plant {
    TestContext t;
    QTemporaryDir dir;
    QString master;  // the generated file, copied for the benchmarks that write
    double start = 0;
    qint64 records = 0;
};

Plant& plant() {
    static Plant* p = [] {
        auto* p = new Plant;
        p->master = QDir(p->dir.path()).filePath(QStringLiteral("master/"));
        const double end = zev::Clock::toDateSerial(p->t.clock.now());
        const double first = end - kDays;
        p->start = end - 1;
        zev::AlarmDb db(p->master);
        QString error;
        db.Make_StoerDB(&error);
        QSqlDatabase sql = db.database();
        sql.transaction();
        QSqlQuery q(sql);
        q.prepare(QStringLiteral("INSERT INTO LOG VALUES (?, ?, ?, ?, ?, ?, ?)"));
        const char* texts[] = {"Fühlerbruch", "Temperatur H", "Temperatur L", "Stromalarm"};
        for (int s = 0; s < kSeconds; ++s) {
            const int zone = s % kZones + 1;
            const double kommt = first + s / 86400.0;
            const bool open = s >= kSeconds - 10;  // the newest ten are still there
            q.addBindValue(2);
            q.addBindValue(kommt);
            q.addBindValue(open ? QVariant() : QVariant(kommt + 0.5 / 86400.0));
            // The first half of the time is acknowledged.
            q.addBindValue(s < kSeconds / 2 ? QVariant(kommt + 60 / 86400.0) : QVariant());
            q.addBindValue(QStringLiteral("Zone %1").arg(zone, 3, 10, QLatin1Char('0')));
            q.addBindValue(QString::number(zone));
            q.addBindValue(QString::fromUtf8(texts[s % 4]));
            q.exec();
            ++p->records;
            if (s % 24 == 0) {  // a setpoint change now and then
                q.addBindValue(1);
                q.addBindValue(kommt);
                q.addBindValue(kommt);
                q.addBindValue(QVariant());
                q.addBindValue(QStringLiteral("Zone %1").arg(zone, 3, 10, QLatin1Char('0')));
                q.addBindValue(QString::number(zone));
                q.addBindValue(QString::fromUtf8("Sollwertänderung von 200 °C auf 210 °C"));
                q.exec();
                ++p->records;
            }
        }
        sql.commit();
        q.finish();
        p->t.ctx->plant.ZoneCount = kZones;
        return p;
    }();
    return *p;
}

// A fresh copy of the generated file in its own log directory.
QString copyOf(const QString& name) {
    Plant& p = plant();
    const QString dir = QDir(p.dir.path()).filePath(name) + QLatin1Char('/');
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    QFile::copy(p.master + QStringLiteral("STOER.MDB"), dir + QStringLiteral("STOER.MDB"));
    return dir;
}

void BM_ErrLog_AlarmComesOrGoes(benchmark::State& state) {
    Plant& p = plant();
    AlarmLog log(*p.t.ctx, copyOf(QStringLiteral("single")));
    int i = 0;
    for (auto _ : state) {
        const int zone = i / 2 % kZones + 1;
        log.ErrLog(2, QStringLiteral("Zone"), zone, i % 2 ? QString() : QStringLiteral("Fühlerbruch"));
        ++i;
    }
    state.counters["records"] = static_cast<double>(p.records);
}
BENCHMARK(BM_ErrLog_AlarmComesOrGoes)->Unit(benchmark::kMillisecond);

void BM_ErrLog_PassOf270Changes(benchmark::State& state) {
    Plant& p = plant();
    AlarmLog log(*p.t.ctx, copyOf(QStringLiteral("pass")));
    int i = 0;
    for (auto _ : state) {
        AlarmLog::Batch pass(log);
        for (int z = 1; z <= kZones; ++z)
            log.ErrLog(2, QStringLiteral("Zone"), z, i % 2 ? QStringLiteral("Temperatur H") : QStringLiteral("Fühlerbruch"));
        pass.commit();
        ++i;
    }
}
BENCHMARK(BM_ErrLog_PassOf270Changes)->Unit(benchmark::kMillisecond);

// Combination index: bits 0..2 type boxes, bit 3 acknowledged too, bit 4 only
// actual, bits 5..6 the selection (all, none, one zone, half of them).
void BM_ListQuery(benchmark::State& state) {
    Plant& p = plant();
    static AlarmLog* log = new AlarmLog(*p.t.ctx, p.master);  // read only: the generated file itself
    const int c = static_cast<int>(state.range(0));
    zev::AlarmFilter f;
    for (int b = 0; b < 3; ++b) f.what[b] = c & (1 << b);
    f.acknowledged = c & 8;
    f.newOnly = c & 16;
    const int selectionKind = c >> 5;
    std::vector<bool> selected(kZones + 1, selectionKind == 0);
    if (selectionKind == 2) selected[137] = true;
    if (selectionKind == 3)
        for (int z = 1; z <= kZones / 2; ++z) selected[static_cast<std::size_t>(z)] = true;
    int n = 0;
    for (int z = 1; z <= kZones; ++z) n += selected[static_cast<std::size_t>(z)];
    const QString zc = n < kZones ? zev::get_zone_querystring(selected, kZones) : QString();
    const QString query = QStringLiteral("SELECT * FROM LOG ") +
                          zev::sqlfilter(f, n, kZones, zc, zev::convert(p.start)) +
                          QStringLiteral(" ORDER BY Kommt DESC, rowid DESC");
    zev::AlarmListModel model(*p.t.texts);
    int rows = 0;
    for (auto _ : state) {
        QSqlQuery q(log->db().database());
        q.exec(query);
        model.setQuery(std::move(q));
        rows = model.rowCount();
        benchmark::DoNotOptimize(model.data(model.index(0, zev::LogColumn::Kommt)));
    }
    state.counters["rows"] = rows;
    state.SetLabel(query.size() > 120 ? (query.left(60) + QStringLiteral(" ... ") + query.right(55)).toStdString()
                                      : query.toStdString());
}
BENCHMARK(BM_ListQuery)->DenseRange(0, 127)->Unit(benchmark::kMillisecond);

void BM_OpenLog(benchmark::State& state) {
    Plant& p = plant();
    const QString dir = copyOf(QStringLiteral("open"));
    for (auto _ : state) {
        AlarmLog log(*p.t.ctx, dir);
        benchmark::DoNotOptimize(log.isOpen());
    }
}
BENCHMARK(BM_OpenLog)->Unit(benchmark::kMillisecond)->Iterations(5);

// cmdAcknowledge on the default list (every record not yet acknowledged: half the file).
void BM_AcknowledgeList(benchmark::State& state) {
    Plant& p = plant();
    for (auto _ : state) {
        state.PauseTiming();
        auto log = std::make_unique<AlarmLog>(*p.t.ctx, copyOf(QStringLiteral("acknowledge")));
        state.ResumeTiming();
        log->acknowledge(QStringLiteral("WHERE Quittiert IS NULL AND TRUE"));
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AcknowledgeList)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DBCompact(benchmark::State& state) {
    Plant& p = plant();
    for (auto _ : state) {
        state.PauseTiming();
        auto log = std::make_unique<AlarmLog>(*p.t.ctx, copyOf(QStringLiteral("compact")));
        state.ResumeTiming();
        benchmark::DoNotOptimize(log->DBCompact(0));
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DBCompact)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
