#include "shell/main_cycle.h"
#include "support/notices.h"

#include "alarms/alarm_log.h"
#include "alarms/alarm_view.h"
#include "link/bus_link.h"
#include "link/zone_table.h"
#include "link/zone_values.h"
#include "shell/app_context.h"
#include "shell/main_window.h"
#include "shell/platform.h"
#include "shell/tarvo_diag_window.h"
#include "support/clock.h"
#include "support/decimal_text.h"
#include "support/operator.h"
#include "support/procedure.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <limits>
#include <optional>

namespace zev {

namespace {
const QString kModule = QStringLiteral("main_form");
constexpr double kTimerInterval = 0.25;             // mainTimer, seconds
constexpr double kPassInterval = 2 * kTimerInterval;  // each pass runs every other tick
// A gap between two reading passes longer than this is no time the plant was
// watched (the cycle was stopped, the clock was set): it counts one pass.
constexpr double kLongestGap = 10.0;
constexpr std::int32_t kDiagnosisBit = 0x20000;
constexpr int kOutputsKind = 6;

const QString kFaceStyle = QStringLiteral("background-color: palette(button);");
const QString kYellowStyle = QStringLiteral("background-color: #FFFF80;");  // 0x80FFFF
const QString kRedStyle = QStringLiteral("background-color: #FF8080;");     // 0x8080FF

// A cached value as the zone table's 16-bit field; one that does not fit is no value.
std::int16_t int16Value(std::int32_t v) {
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) return kNoValue;
    return static_cast<std::int16_t>(v);
}

int zeroPoint(const AppContext& ctx) { return ctx.plant.TemperatureUnit == QStringLiteral("°F") ? 32 : 0; }

void setText(QLabel* label, const QString& text) {
    if (label && label->text() != text) label->setText(text);
}

void setStyle(QLabel* label, QString& shown, const QString& style) {
    if (!label || shown == style) return;
    shown = style;
    label->setStyleSheet(style);
}

AlarmView* alarmView(MainWindow& main) { return dynamic_cast<AlarmView*>(main.view(kViewAlarms)); }
}  // namespace

void GetMaxAlarm(MaxAlarm& max, const ZoneRecord& zone) {
    if (zone.StatusCode <= max.code) return;
    max.code = zone.StatusCode;
    max.text = zone.StatusText;
}

MainCycle::MainCycle(AppContext& ctx, MainWindow& main) : QObject(&main), ctx_(ctx), main_(main) {
    if (QLabel* clock = main_.lblStatusbar(0)) clock->installEventFilter(this);
}

MainCycle::~MainCycle() { delete tarvo_.data(); }

TarvoDiagWindow* MainCycle::tarvoDiag() const { return tarvo_.data(); }

void MainCycle::mainTimer_Timer() {
    if (!ctx_.plant.Online) return;
    const bool evaluation = phase_;
    phase_ = !phase_;
    guarded(ctx_.errors, kModule, QStringLiteral("mainTimer_Timer"), [&] {
        if (evaluation) evaluationPass();
        else readingPass();
    });
}

double MainCycle::secondsSinceLastReading() {
    const QDateTime now = ctx_.clock.now();
    double seconds = kPassInterval;
    if (lastReading_.isValid()) {
        const double gap = lastReading_.msecsTo(now) / 1000.0;
        if (gap >= 0.0 && gap <= kLongestGap) seconds = gap;
    }
    lastReading_ = now;
    return seconds;
}

void MainCycle::readingPass() {
    PlantData& plant = ctx_.plant;
    AlarmLog* log = ctx_.alarmLog;
    std::optional<AlarmLog::Batch> batch;
    if (log) batch.emplace(*log);
    bool listChanged = false;
    auto errLog = [&](int typ, const ZoneRecord& zone, int number, const QString& text) {
        if (log) log->ErrLog(typ, zone.Name, number, text);
        listChanged = true;
    };
    // The fault time grows by the time that really passed since the last
    // reading, not by the timer's interval: a pass runs every other tick.
    const double elapsed = secondsSinceLastReading();
    const int zero = zeroPoint(ctx_);
    const QString unit = plant.TemperatureUnit;
    const int count = std::clamp(plant.ZoneCount, 0, kMaxZones);
    for (int z = 1; z <= count; ++z) {
        ZoneRecord& zone = plant.zone(z);
        std::int32_t oldStatus = zone.StatusWord;
        if (!read_[static_cast<std::size_t>(z)]) {
            read_[static_cast<std::size_t>(z)] = true;
            if (oldStatus == kNoValue) oldStatus = 0;
        }
        const std::int32_t status = myGetValue(ctx_, z, ValueCode::StatusWord);
        if (status < 0) {
            if (status != oldStatus) errLog(RecordType::Alarm, zone, z, zone.StatusText);
            continue;
        }
        const std::int16_t oldSetpoint = zone.Setpoint;
        zone.Setpoint = int16Value(myGetValue(ctx_, z, ValueCode::Setpoint));
        if (zone.Setpoint != oldSetpoint && oldSetpoint != kNoValue && zone.Setpoint != kNoValue) {
            errLog(RecordType::Message, zone, z,
                   ctx_.texts(1511) + QString::number(oldSetpoint) + QLatin1Char(' ') + unit + ctx_.texts(1512) +
                       QString::number(zone.Setpoint) + QLatin1Char(' ') + unit);
        }
        const bool active = zone.Mode >= 1 && ((zone.Setpoint - zero) | (zone.ModeFlag ? 1 : 0)) != 0;
        if (active) {
            if (status != oldStatus) errLog(RecordType::Alarm, zone, z, zone.StatusText);
            if (status != 0) zone.AlarmSeconds += elapsed;
        } else if (status != oldStatus) {
            errLog(RecordType::Alarm, zone, z, QString());  // closes the zone's open alarms
        }
        zone.ActualValue = int16Value(myGetValue(ctx_, z, ValueCode::ActualValue));
        zone.OutputRate = int16Value(myGetValue(ctx_, z, ValueCode::OutputRate));
        const std::int32_t current = myGetValue(ctx_, z, ValueCode::Current);
        if (current == kNoValue) {
            zone.Current = kNoValue;
        } else {
            zone.Current = static_cast<float>(current / 10.0);
            zone.CurrentText = decimalText(current / 10.0, 1, ctx_.texts.language());
        }
    }
    plant.OutputsOn = ctx_.bus.GetVal(1, 1, kOutputsKind) != 0;
    if (batch) listChanged = batch->commit() || listChanged;
    AlarmView* alarms = alarmView(main_);
    if (listChanged && alarms && main_.shownView() == kViewAlarms) alarms->RefreshData(false);
    const int second = static_cast<int>(ctx_.clock.secondsSinceMidnight());
    if (second != lastSecond_) {
        lastSecond_ = second;
        if (alarms) alarms->RefreshTopTen();
    }
}

void MainCycle::evaluationPass() {
    const PlantData& plant = ctx_.plant;
    max_ = MaxAlarm{};
    const int zero = zeroPoint(ctx_);
    int inDiagnosis = 0;
    int previousAddress = 0;
    const int count = std::clamp(plant.ZoneCount, 0, kMaxZones);
    for (int z = 1; z <= count; ++z) {
        const ZoneRecord& zone = plant.zone(z);
        switch (zone.Mode) {
        case 0:
            if (zone.StatusWord == kNoValue) GetMaxAlarm(max_, zone);
            break;
        case 1:
        case 2:
            if (zone.Setpoint - zero > 0) GetMaxAlarm(max_, zone);
            break;
        default: GetMaxAlarm(max_, zone); break;
        }
        // The first zone of each controller carries its diagnosis bit. A failed
        // read (negative) has every high bit set and says nothing about it.
        if (zone.BusAddress != previousAddress && zone.StatusWord >= 0 && (zone.StatusWord & kDiagnosisBit))
            ++inDiagnosis;
        previousAddress = zone.BusAddress;
    }
    showDiagnosisWindow(inDiagnosis);
    showMaxAlarm();
    if (main_.shownView() == kViewOverview) {
        if (View* v = main_.view(kViewOverview)) v->RefreshValues();
    } else if (main_.shownView() == kViewPictures) {
        if (View* v = main_.view(kViewPictures)) v->RefreshValues();
    }
    showOutputs();
}

void MainCycle::showDiagnosisWindow(int inDiagnosis) {
    if (inDiagnosis == 0) {
        delete tarvo_.data();
        return;
    }
    if (!tarvo_) tarvo_ = new TarvoDiagWindow(&main_);
    tarvo_->setText(tarvoDiagText(ctx_.texts, inDiagnosis, ctx_.plant.ControllerCount));
    if (!tarvo_->isVisible()) tarvo_->show();
}

void MainCycle::showMaxAlarm() {
    QLabel* bar = main_.lblStatusbar(2);
    if (ctx_.plant.DiagnosisRunning) {
        setText(bar, ctx_.texts(1526));
        setStyle(bar, shownStyle2_, kYellowStyle);
        return;
    }
    setText(bar, max_.text);
    setStyle(bar, shownStyle2_, max_.code == 0 ? kFaceStyle : max_.code <= 128 ? kYellowStyle : kRedStyle);
}

void MainCycle::showOutputs() {
    // The parameter view's on/off command and picture follow once that view exists.
    QLabel* bar = main_.lblStatusbar(3);
    setText(bar, ctx_.texts(ctx_.plant.OutputsOn ? 1508 : 1509));
    // The clock timer paints "OFFLINE" green while offline.
    if (bar && bar->styleSheet() != kFaceStyle) bar->setStyleSheet(kFaceStyle);
}

QStringList pruneHistoryFiles(AppContext& ctx) {
    QStringList deleted;
    const QString dir = ctx.tool.LogFileDir;
    if (dir.isEmpty()) return deleted;
    QStringList files = QDir(dir).entryList({QStringLiteral("*.CDB")}, QDir::Files);  // any case, as the old drives had it
    std::sort(files.begin(), files.end());
    qsizetype remaining = files.size();
    qsizetype next = 0;
    auto remove = [&](const QString& name) {
        if (!QFile::remove(QDir(dir).filePath(name))) return;
        deleted << name;
        --remaining;
    };
    for (; next < files.size() && remaining > kHistoryFilesKept; ++next) remove(files[next]);
    auto tooFull = [&] {
        const qint64 free = ctx.platform.diskFree(dir);
        return free >= 0 && free < kMinFreeBytes;  // unknown free space deletes nothing
    };
    for (; next < files.size() && remaining >= 2 && tooFull(); ++next) remove(files[next]);
    return deleted;
}

void MainCycle::DailyHousekeeping() {
    Procedure p(ctx_.errors, kModule, QStringLiteral("TmrDate_Timer"));
    p.step([&] {
        if (ctx_.alarmLog) ctx_.alarmLog->DBCompact(1);
    });
    p.step([&] { pruneHistoryFiles(ctx_); });
}

void MainCycle::lblStatusbar_Click(int index) {
    if (index != 0) return;
    guarded(ctx_.errors, kModule, QStringLiteral("lblStatusbar_Click"), [&] {
        if (!ctx_.users.CheckLevel(4)) return;
        if (!ctx_.platform.openDateTimeSettings())
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(1519));
    });
}

bool MainCycle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && watched == main_.lblStatusbar(0)) {
        lblStatusbar_Click(0);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zev
