// The common pattern of every direct command on zones, on the zone commands'
// batches (link/zone_commands.h): the marked zones are written in zone order
// with the status line and progress bar showing where the command is;
// failures are listed under the command's header, and "Erneut versuchen"
// repeats only the zones that failed. Zones that cannot take the value at all
// (an unknown value or a result out of range of a relative entry, a zone the
// checks refuse) are listed as not set and never sent.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace zev {

struct AppContext;

// Where a command shows its progress (the view's status line and progress bar).
class CommandFeedback {
public:
    virtual ~CommandFeedback() = default;
    virtual void setStatus(const QString& text) = 0;
    virtual void setProgress(int percent) = 0;   // 0 clears the bar
    virtual void setBusy(bool busy) = 0;          // input panel off and hourglass while busy
};

struct BatchTexts {
    int header;        // error list header
    int notSet;        // appended to a zone name in the list
    int retry;         // "Erneut versuchen"
    int cancel;        // "Abbruch"
};

struct ZoneWrite {
    int zone;
    int value;
};

struct BatchOutcome {
    std::vector<int> failed;  // zones that kept failing (the operator cancelled)
    int accepted = 0;
};

class CommandBatch {
public:
    CommandBatch(AppContext& ctx, CommandFeedback& feedback) : ctx_(ctx), feedback_(feedback) {}

    // Writes `code` to each zone; status(zone) is the status line shown while
    // it is written. `unsendable` lines (zone name + reason) join the error
    // list. The user level was demanded by the command before it asked for the
    // value: a level that falls back meanwhile does not stop what it started.
    BatchOutcome run(int code, const std::vector<ZoneWrite>& writes, const BatchTexts& texts,
                     const std::function<QString(int zone)>& status, const QStringList& unsendable = {});

private:
    AppContext& ctx_;
    CommandFeedback& feedback_;
};

}  // namespace zev
