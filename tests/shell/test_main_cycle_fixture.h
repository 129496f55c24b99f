// The main cycle against a bus library stand-in whose value cache the test
// fills (what the library's poller would have read), with a real alarm log in
// the tool's log directory and the main window's status bar.
#pragma once

#include "test_context.h"

#include "alarms/alarm_log.h"
#include "link/bus_link.h"
#include "shell/main_cycle.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "base/clock.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

namespace zev::test {

class CacheBus final : public BusLink {
public:
    std::int32_t GetVal(int address, int channel, int kind) override {
        ++reads;
        const auto it = values.find({address, channel, kind});
        if (it != values.end()) return it->second;
        return kind == 6 ? 0 : kNoValue;  // the outputs state is 0 or 1, never "no value"
    }
    void set(int address, int channel, int kind, std::int32_t v) { values[{address, channel, kind}] = v; }
    std::map<std::tuple<int, int, int>, std::int32_t> values;
    int reads = 0;
};

class MainCycleTest : public ::testing::Test {
protected:
    // Two controllers with `perController` zones each, online, unit °C.
    explicit MainCycleTest(int perController = 3) {
        PlantData& p = ctx().plant;
        t.link->SetOnlineBetrieb(true);
        p.ControllerCount = 2;
        p.ZoneCount = 2 * perController;
        for (int z = 1; z <= p.ZoneCount; ++z) {
            p.zone(z).BusAddress = static_cast<std::uint8_t>(z <= perController ? 1 : 2);
            p.zone(z).Channel = static_cast<std::uint8_t>((z - 1) % perController + 1);
            p.zone(z).Name = QStringLiteral("Düse %1").arg(z);
            // Closed-loop control at 200 degrees, no fault.
            setZone(z, 0x41, 200);
        }
        ctx().tool.LogFileDir = t.home.file(QStringLiteral("TOOLS/T/LOGFILES/"));
        log = std::make_unique<AlarmLog>(ctx(), ctx().tool.LogFileDir);
        ctx().alarmLog = log.get();
        cycle = new MainCycle(ctx(), main);
    }
    ~MainCycleTest() override { ctx().alarmLog = nullptr; }

    AppContext& ctx() { return *t.ctx; }
    void setZone(int z, std::int32_t status, int setpoint) {
        const ZoneRecord& zone = ctx().plant.zone(z);
        bus.set(zone.BusAddress, zone.Channel, 3, status);
        bus.set(zone.BusAddress, zone.Channel, 1, setpoint);
    }
    // One reading pass and one evaluation pass, half a second apart each.
    void cycleOnce() {
        t.clock.advance(0.25);
        main.mainTimer_Timer();
        t.clock.advance(0.25);
        main.mainTimer_Timer();
    }
    struct Row {
        int typ;
        QString adresse, meldung;
        bool open;
    };
    std::vector<Row> rows() {
        std::vector<Row> out;
        QSqlQuery q(log->db().database());
        q.exec(QStringLiteral("SELECT Typ, Adresse, Meldung, Geht IS NULL FROM LOG ORDER BY rowid"));
        while (q.next()) out.push_back({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toBool()});
        return out;
    }

    CacheBus bus;
    TestContext t{1, &bus};
    SplashWindow splash;
    MainWindow main{*t.ctx, splash};
    std::unique_ptr<AlarmLog> log;
    MainCycle* cycle = nullptr;  // owned by the main window

private:
    struct Wire {
        Wire(MainWindow& m, MainCycle*& c) {
            m.onMainTimer = [&c] { if (c) c->mainTimer_Timer(); };
            m.onDailyHousekeeping = [&c] { if (c) c->DailyHousekeeping(); };
        }
    } wire_{main, cycle};
};

}  // namespace zev::test
