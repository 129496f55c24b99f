// The parameter commands on the in-process simulator: the real bus library and
// protocol, the tool loaded and the controllers identified by the link session
// (whose alarm log takes the operator records), and a record of every telegram
// the simulated controllers received apart from the cyclic block reads.
#pragma once

#include "sim_bench.h"

#include "alarms/alarm_log.h"
#include "link/zone_values.h"
#include "parameters/command_batch.h"
#include "parameters/operator_record.h"
#include "link/link_session.h"
#include "link/zone_commands.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>
#include <gtest/gtest.h>
#include <functional>
#include <mutex>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}'; }
QT_END_NAMESPACE

namespace zev::test {

class RecordingFeedback final : public CommandFeedback {
public:
    void setStatus(const QString& text) override {
        if (!text.isEmpty()) statuses << text;
    }
    void setProgress(int percent) override { progress << percent; }
    void setBusy(bool busy) override { busyCalls << busy; }
    QStringList statuses;
    QList<int> progress;
    QList<bool> busyCalls;
};

// The real bus library, with the replies of chosen text commands changed on
// their way back (a reply one character short, a refusal, no answer), as a
// faulty controller or line would.
class ReplyTamperBus final : public BusLink {
public:
    QByteArray AskRaw(const QByteArray& command, int* status) override {
        QByteArray reply = BusLink::AskRaw(command, status);
        if (tamper) tamper(command, reply, status);
        return reply;
    }
    // reply: "Gaa=" + value + two check characters + ETX, or "Gaa" + ACK/NAK.
    std::function<void(const QByteArray& command, QByteArray& reply, int* status)> tamper;
};

class ParameterSimTest : public ::testing::Test {
protected:
    explicit ParameterSimTest(std::vector<zevsim::ControllerConfig> plant = controllers({4, 4}))
        : bus(std::move(plant)) {}

    void SetUp() override {
        t.users->loadLevelNames();
        ASSERT_TRUE(identifyAndHeat(t, bus, 200));
        ASSERT_TRUE(scanAndRead(ctx(), bus));
        ASSERT_NE(ctx().alarmLog, nullptr);  // the link session's log of the tool
        // As the parameter view does: every accepted write is recorded once.
        QObject::connect(&t.link->commands(), &ZoneCommands::accepted, &t.link->commands(),
                         [this](const ZoneCommandRecord& r) { record.zoneChanged(r.zone, r.code, r.previous, r.value); });
        bus.responder().setObserver([this](std::string_view request, std::string_view) {
            const std::string text(request);
            if (text.find("?BLK") != std::string::npos) return;
            std::lock_guard<std::mutex> lock(mutex_);
            telegrams_ << QString::fromStdString(text);
        });
    }
    void TearDown() override { bus.responder().setObserver(nullptr); }

    AppContext& ctx() { return *t.ctx; }
    // One write through the zone commands (the level is the command's business).
    WriteResult write(int zone, int code, int value) { return t.link->commands().write(zone, code, value, 0); }
    // Telegrams since the last call (block reads left out), as "G01K02W=0230".
    QStringList takeTelegrams() {
        std::lock_guard<std::mutex> lock(mutex_);
        QStringList out;
        for (const QString& s : telegrams_) {
            // The frame content without its two check characters.
            out << s.left(s.size() - 2);
        }
        telegrams_.clear();
        return out;
    }
    std::vector<bool> zonesSelected(std::initializer_list<int> zones) {
        std::vector<bool> sel(static_cast<std::size_t>(ctx().plant.ZoneCount) + 1, false);
        for (int z : zones) sel[static_cast<std::size_t>(z)] = true;
        return sel;
    }
    // The setpoint the simulated controller holds for a zone of the table.
    int plantSetpoint(int z) {
        const ZoneRecord& zone = ctx().plant.zone(z);
        return bus.plant().setpoint(zone.BusAddress, zone.Channel);
    }
    struct Record {
        int typ;
        QString quelle, adresse, meldung;
    };
    std::vector<Record> records() {
        std::vector<Record> out;
        QSqlQuery q(ctx().alarmLog->db().database());
        q.exec(QStringLiteral("SELECT Typ, Quelle, Adresse, Meldung FROM LOG ORDER BY rowid"));
        while (q.next()) out.push_back({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()});
        return out;
    }

    zevsim::InProcessBus bus;
    ReplyTamperBus tamperBus;
    TestContext t{1, &tamperBus};
    OperatorRecord record{*t.ctx};
    RecordingFeedback feedback;

private:
    std::mutex mutex_;
    QStringList telegrams_;
};

}  // namespace zev::test
