// The operator record: every change this view makes to a zone or a controller
// is written once to the alarm log as a message (type 1) with the zone's name
// and number (a controller: "Regler n" and its address), the change in the
// operator's language (old and new value where known) and the user level that
// gave the command. The zone table is updated by the accepted write before the
// reading pass sees the value, so the reading pass never records it again.
#pragma once

#include <QString>

namespace zev {

struct AppContext;

class OperatorRecord {
public:
    explicit OperatorRecord(AppContext& ctx) : ctx_(ctx) {}

    // One command of the operator: the level is taken when it starts, so a level
    // that falls back during a long command does not change who gave it. A cause
    // (text number, e.g. "Boost ein") is put in front of each change it makes.
    class Command {
    public:
        explicit Command(OperatorRecord& record, int causeText = 0);
        ~Command();
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;

    private:
        OperatorRecord& record_;
        int savedLevel_;
        int savedCause_;
    };

    // An accepted zone write ("what": value code or parameter number).
    void zoneChanged(int zone, int what, int oldValue, int newValue);
    // A controller command or global parameter change (text as shown).
    void controllerChanged(int address, const QString& change);
    // Texts of the changes, also used by the controller commands.
    QString valueChange(const QString& what, int oldValue, int newValue, const QString& unit) const;

private:
    QString zoneChange(int zone, int what, int oldValue, int newValue) const;
    void write(const QString& source, int address, const QString& change);

    AppContext& ctx_;
    int level_ = -1;   // -1: the current level
    int cause_ = 0;
};

}  // namespace zev
