// CreateXLS of the trend view: the shown window as a worksheet on the first
// removable drive.
#include "trend/forms/trend_view.h"

#include "base/app_context.h"
#include "base/clock.h"
#include "base/progress_line.h"
#include "plant/zone_table.h"
#include "support/operator.h"
#include "support/texts.h"
#include "trend/trend_export.h"
#include "widgets/zone_selection_panel.h"

#include <QCheckBox>
#include <QDir>

namespace zev {

void TrendView::CreateXLS() {
    auto tell = [this](const QString& text) { ctx_.op.notice(text, ctx_.texts(193), {}, {}, 0); };
    std::vector<bool> selected;
    if (selection_->CheckSelZone(selected) == 0) return tell(ctx_.texts(1222));
    bool anyKind = false;
    for (QCheckBox* k : kinds_) anyKind = anyKind || k->isChecked();
    if (!anyKind) return tell(ctx_.texts(1223));
    if (static_cast<int>(window_.lines().size()) > kExportMaxLines)
        return tell(ctx_.texts(1224) + QLatin1Char('\n') + ctx_.texts(1225));

    QString drive;
    for (;;) {
        const QStringList drives = removableDrives ? removableDrives() : QStringList{};
        for (const QString& d : drives)
            if (QDir(d).exists()) {
                drive = d;
                break;
            }
        if (!drive.isEmpty()) break;
        if (ctx_.op.notice(ctx_.texts(1226), ctx_.texts(1227), ctx_.texts(1228), {}, 0) != 1) return;
    }
    // The values as shown: a live window stands still while it is written.
    const bool wasRunning = live_ && shown_;
    Enable_TimerTrend(false);
    const QString before = ctx_.progress.action();
    ctx_.progress.setAction(ctx_.texts(1229));
    const QString file = exportFileName(drive, ctx_.clock.now());
    QString error;
    const bool ok = writeTrendSheet(file, window_, end_, {ctx_.texts(1230), [this](int z) { return zoneName(z); }},
                                    &error);
    ctx_.progress.setAction(before);
    if (ok) tell(ctx_.texts(1231) + QLatin1Char('\n') + QDir::toNativeSeparators(file));
    else tell(ctx_.texts(1310) + QLatin1Char('\n') + QDir::toNativeSeparators(file) + QLatin1Char('\n') + error);
    if (wasRunning) Enable_TimerTrend(true);
}

}  // namespace zev
