#include "parameters/command_batch.h"

#include "shell/app_context.h"
#include "support/event_pump.h"
#include "support/notices.h"
#include "support/operator.h"
#include "support/texts.h"

namespace zev {

BatchOutcome CommandBatch::run(int what, const std::vector<ZoneWrite>& writes, const BatchTexts& texts,
                               const std::function<QString(int zone)>& status, const QStringList& unsendable) {
    BatchOutcome outcome;
    std::vector<ZoneWrite> marked = writes;
    QStringList notSendable = unsendable;
    feedback_.setBusy(true);
    while (true) {
        std::vector<ZoneWrite> failed;
        QString list;
        const int count = static_cast<int>(marked.size());
        // 270 setpoints at 19200 baud take about 3.4 s of line time; with a
        // block telegram of the scan between any two writes they would take
        // nearly four times as long. The values read before stay in the cache.
        struct ScanHold {
            ZoneCommandPort& port;
            bool on;
            ~ScanHold() { if (on) port.holdScan(false); }
        } hold{port_, count > 1};
        if (hold.on) port_.holdScan(true);
        for (int i = 0; i < count; ++i) {
            const ZoneWrite& w = marked[static_cast<std::size_t>(i)];
            feedback_.setStatus(status(w.zone));
            feedback_.setProgress(i * 100 / count);
            if (port_.write(w.zone, what, w.value) == WriteResult::Accepted) {
                ++outcome.accepted;
            } else {
                failed.push_back(w);
                list += QStringLiteral("\r\n") + ctx_.plant.zone(w.zone).Name + ctx_.texts(texts.notSet);
            }
            ctx_.pump.yield();
        }
        if (hold.on) port_.holdScan(false);
        hold.on = false;
        feedback_.setStatus(QString());
        feedback_.setProgress(0);
        for (const QString& line : notSendable) list += QStringLiteral("\r\n") + line;
        notSendable.clear();  // told once; a retry does not list them again
        if (list.isEmpty()) break;
        const QString text = ctx_.texts(texts.header) + list;
        if (failed.empty()) {
            tellOperator(ctx_.op, ctx_.texts, text);
            break;
        }
        if (ctx_.op.notice(text, ctx_.texts(texts.retry), ctx_.texts(texts.cancel), QString(), kNoticeQuestion) != 1) {
            for (const ZoneWrite& w : failed) outcome.failed.push_back(w.zone);
            break;
        }
        marked = std::move(failed);
    }
    feedback_.setBusy(false);
    return outcome;
}

}  // namespace zev
