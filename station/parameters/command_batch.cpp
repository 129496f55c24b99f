#include "parameters/command_batch.h"

#include "base/app_context.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "link/link_session.h"
#include "link/zone_commands.h"
#include "plant/zone_table.h"
#include "support/notices.h"
#include "support/operator.h"
#include "support/texts.h"

#include <map>

namespace zev {

namespace {
// 270 setpoints at 19200 baud take about 3.4 s of line time; with a block
// telegram of the scan between any two writes they would take nearly four
// times as long. The values read before stay in the library's cache.
class PollingHold {
public:
    PollingHold(LinkSession& link, bool on) : link_(link), on_(on) {
        if (on_) link_.holdPolling(true);
    }
    ~PollingHold() {
        if (on_) link_.holdPolling(false);
    }
    PollingHold(const PollingHold&) = delete;
    PollingHold& operator=(const PollingHold&) = delete;

private:
    LinkSession& link_;
    bool on_;
};
}  // namespace

BatchOutcome CommandBatch::run(int code, const std::vector<ZoneWrite>& writes, const BatchTexts& texts,
                               const std::function<QString(int zone)>& status, const QStringList& unsendable) {
    BatchOutcome outcome;
    std::map<int, int> values;
    std::vector<int> marked;
    for (const ZoneWrite& w : writes) {
        values[w.zone] = w.value;
        marked.push_back(w.zone);
    }
    QStringList notSendable = unsendable;
    ZoneCommands& commands = ctx_.link->commands();
    feedback_.setBusy(true);
    while (true) {
        BatchResult result;
        {
            const PollingHold hold(*ctx_.link, marked.size() > 1);
            int index = 0;
            const int count = static_cast<int>(marked.size());
            result = commands.writeBatch(
                marked, code, [&](int zone) { return values[zone]; }, 0,
                [&](int zone) {
                    const QString text = status(zone);
                    feedback_.setStatus(text);
                    feedback_.setProgress(index++ * 100 / count);
                    return text;
                });
        }
        feedback_.setStatus(QString());
        feedback_.setProgress(0);
        outcome.accepted += static_cast<int>(result.accepted.size());
        QString list;
        for (int zone : result.failed) list += QStringLiteral("\r\n") + ctx_.plant.zone(zone).Name + ctx_.texts(texts.notSet);
        for (const auto& refused : result.refused)
            notSendable << ctx_.plant.zone(refused.first).Name + ctx_.texts(texts.notSet);
        for (const QString& line : notSendable) list += QStringLiteral("\r\n") + line;
        notSendable.clear();  // told once; a retry does not list them again
        if (list.isEmpty()) break;
        const QString text = ctx_.texts(texts.header) + list;
        if (result.failed.empty()) {
            tellOperator(ctx_.op, ctx_.texts, text);
            break;
        }
        if (ctx_.op.notice(text, ctx_.texts(texts.retry), ctx_.texts(texts.cancel), QString(), kNoticeQuestion) != 1) {
            outcome.failed = result.failed;
            break;
        }
        marked = result.failed;
    }
    feedback_.setBusy(false);
    return outcome;
}

}  // namespace zev
