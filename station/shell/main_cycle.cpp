#include "shell/main_cycle.h"

#include "alarms/alarm_log.h"
#include "alarms/forms/alarm_view.h"
#include "base/app_context.h"
#include "base/clock.h"
#include "link/link_session.h"
#include "plant/zone_state.h"
#include "plant/zone_table.h"
#include "shell/main_window.h"
#include "shell/status_bar.h"
#include "shell/tarvo_diag_window.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "trend/history_files.h"

#include <algorithm>

namespace zev {

namespace {
const QString kModule = QStringLiteral("main_form");
constexpr std::int32_t kDiagnosisBit = 0x20000;

AlarmView* alarmView(MainWindow& main) { return dynamic_cast<AlarmView*>(main.view(kViewAlarms)); }
}  // namespace

void GetMaxAlarm(MaxAlarm& max, const ZoneRecord& zone) {
    if (zone.StatusCode <= max.code) return;
    max.code = zone.StatusCode;
    max.text = zone.StatusText;
}

MainCycle::MainCycle(AppContext& ctx, MainWindow& main) : QObject(&main), ctx_(ctx), main_(main) {
    connect(ctx_.link, &LinkSession::valuesRead, this, &MainCycle::afterReading);
}

MainCycle::~MainCycle() { delete tarvo_.data(); }

TarvoDiagWindow* MainCycle::tarvoDiag() const { return tarvo_.data(); }

void MainCycle::mainTimer_Timer() {
    if (!ctx_.link->Online()) return;
    const bool evaluation = phase_;
    phase_ = !phase_;
    guarded(ctx_.errors, kModule, QStringLiteral("mainTimer_Timer"), [&] {
        if (evaluation) evaluationPass();
        else readingPass();
    });
}

void MainCycle::readingPass() { ctx_.link->readValues(); }

void MainCycle::afterReading(bool recordsWritten) {
    AlarmView* alarms = alarmView(main_);
    if (recordsWritten && alarms && main_.shownView() == kViewAlarms) alarms->RefreshData(false);
    const int second = static_cast<int>(ctx_.clock.secondsSinceMidnight());
    if (second != lastSecond_) {
        lastSecond_ = second;
        if (alarms) alarms->RefreshTopTen();
    }
}

void MainCycle::evaluationPass() {
    const PlantData& plant = ctx_.plant;
    max_ = MaxAlarm{};
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
            if (isAboveSwitchedOff(zone, plant.TemperatureUnit)) GetMaxAlarm(max_, zone);
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
    main_.statusBarWidget()->showMaxAlarm(max_.code, max_.text, ctx_.link->DiagnosisRunning());
    main_.refreshLiveView();
    main_.statusBarWidget()->showOutputs(plant.OutputsOn);
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

void MainCycle::DailyHousekeeping() {
    Procedure p(ctx_.errors, kModule, QStringLiteral("TmrDate_Timer"));
    p.step([&] {
        if (ctx_.alarmLog) ctx_.alarmLog->DBCompact(1);
    });
    p.step([&] { pruneHistoryFiles(ctx_); });
}

}  // namespace zev
