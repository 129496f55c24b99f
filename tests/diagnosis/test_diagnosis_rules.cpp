// The wiring test's rules on a line whose temperatures the test writes: the
// rise compared with >=, 5 K and in °F 9, zones before the heated one not
// watched, a neighbour with a broken sensor never a wiring fault, and a
// refused "output 0" keeping the zone out of manual mode.
#include "test_context.h"

#include "diagnosis/diagnosis.h"
#include "link/link_session.h"
#include "link/zone_commands.h"
#include "plant/driver.h"

#include <gtest/gtest.h>
#include <array>
#include <algorithm>

using namespace zev;
using zev::test::TestContext;

namespace {

constexpr int kZones = 4;

// One controller of four zones. Temperatures follow the rule the test gives
// (called at every yield with the zone being driven); writes are recorded.
class ScriptBus final : public BusLink {
public:
    std::int32_t GetVal(int, int c, int kind) override {
        switch (kind) {
        case 1: return 200;
        case 2: return broken[c] && hideBroken ? kNoValue : temp[c];
        case 3: return 0x1 | (mode[c] << 5) | (broken[c] ? 0x8 : 0);
        case 4: return output[c];
        case 5: return 25;
        default: return 0;
        }
    }
    std::int32_t GetScanCount() override { return 1; }
    ZEV485_Result SetValEx(int, int c, int p, int v) override {
        writes.push_back({c, p, v});
        if (p == 3000 && refuseZero[c] && v == 0) return ZEV485_REFUSED;
        if (p == 2001) mode[c] = v;
        if (p == 3000) output[c] = v;
        if (p == 21) sup[c] = v;
        return ZEV485_OK;
    }
    ZEV485_Result SetGlobVal(int, const QByteArray& name, std::int32_t v) override {
        globals << QString::fromLatin1(name) + QLatin1Char('=') + QString::number(v);
        return ZEV485_OK;
    }
    QByteArray AskRaw(const QByteArray& cmd, int* status) override {
        *status = 0;
        if (cmd.contains("P21=")) return "G01=000" + QByteArray::number(sup[cmd.mid(4, 2).toInt()]) + "cc\x03";
        if (cmd.endsWith("?APM=")) return apmReply;
        if (cmd.endsWith("?HIW=")) return "G01=0450cc\x03";
        if (cmd.contains("?HIW=")) {
            globals << QString::fromLatin1(cmd.mid(3));
            if (hiwRefusals > 0) {
                --hiwRefusals;
                return "G01\x15";
            }
        }
        return "G01\x06";
    }
    QByteArray apmReply = "G01=0001cc\x03";
    int hiwRefusals = 0;
    QStringList globals;  // controller values written, in order
    int driven() const {
        for (int z = 1; z <= kZones; ++z)
            if (output[z] > 0) return z;
        return 0;
    }
    struct Write { int zone, code, value; };
    std::vector<Write> writes;
    std::array<int, kZones + 1> temp{0, 30, 30, 30, 30}, mode{0, 2, 2, 2, 2}, output{}, sup{0, 1, 1, 1, 1};
    std::array<bool, kZones + 1> broken{}, refuseZero{};
    bool hideBroken = false;
};

struct Rig {
    explicit Rig(bool fahrenheit = false) {
        tc.plant.ZoneCount = kZones;
        tc.plant.ControllerCount = 1;
        tc.plant.Controllers.resize(2);
        tc.plant.Controllers[1].MasterAddress = 1;
        if (fahrenheit) tc.plant.TemperatureUnit = QStringLiteral("°F");
        for (int z = 1; z <= kZones; ++z) {
            ZoneRecord& r = tc.plant.zone(z);
            r.BusAddress = 1;
            r.Channel = static_cast<std::uint8_t>(z);
            r.Name = QStringLiteral("Z%1").arg(z);
            r.Group = 1;
        }
        ZoneParameter& p = tc.driver.ZoneParameters[21];
        p.Min = 0;
        p.Max = 1;
        p.Writable = true;
        GroupRecord& g = tc.tool.Groups[1];
        g.DiagTime = 10;
        g.DiagPower = 50;
        g.StartTemp = 100;
        tc.link->SetOnlineBetrieb(true);
        tc.pump.step = 0.5;
        tc.pump.hook = [this] { if (physics) physics(bus.driven()); };
    }
    int run(std::initializer_list<int> zones) {
        std::vector<bool> sel(kZones + 1, false);
        for (int z : zones) sel[static_cast<std::size_t>(z)] = true;
        return diag.DoDiagnose(sel);
    }
    QStringList faults() const {
        QStringList out;
        for (const ProtocolLine& l : diag.protocol().lines())
            if (l.kind == LineKind::Fault) out << l.text.section(QLatin1Char('\t'), 1);
        return out;
    }
    ScriptBus bus;
    TestContext tc{1, &bus};
    Diagnosis diag{*tc.ctx};
    std::function<void(int driven)> physics;
};

// The driven zone rises by `rise` at once; the threshold of the unit decides.
struct RiseCase {
    bool fahrenheit;
    int rise;
    bool answers;
};

class Rise : public ::testing::TestWithParam<RiseCase> {};

TEST_P(Rise, ThresholdIsReachedAtEquality) {
    const RiseCase c = GetParam();
    Rig rig(c.fahrenheit);
    rig.physics = [&](int d) {
        for (int z = 1; z <= kZones; ++z) rig.bus.temp[z] = 30 + (z == d ? c.rise : 0);
    };
    EXPECT_EQ(rig.run({2}), kDiagPassed);
    if (c.answers) EXPECT_EQ(rig.faults(), QStringList{});
    else EXPECT_EQ(rig.faults(), QStringList{QStringLiteral(">>> Fehler! Keine ausreichende Temperaturerhöhung nach 10 s.")});
}

INSTANTIATE_TEST_SUITE_P(Units, Rise,
                         ::testing::Values(RiseCase{false, 5, true}, RiseCase{false, 4, false},
                                           RiseCase{true, 9, true}, RiseCase{true, 8, false}));

TEST(DiagnosisRules, ZonesBeforeTheHeatedOneAreNotWatchedZonesAfterItAre) {
    {
        Rig rig;  // heating Z3 warms Z1 at once and Z3 itself a degree per yield: Z1 is not watched
        int yields = 0;
        rig.physics = [&](int d) {
            rig.bus.temp[1] = d == 3 ? 45 : 30;
            rig.bus.temp[3] = d == 3 ? 30 + std::min(++yields, 6) : 30;
        };
        EXPECT_EQ(rig.run({3}), kDiagPassed);
        EXPECT_EQ(rig.faults(), QStringList{});
    }
    {
        Rig rig;  // heating Z3 warms Z4: a crossing
        rig.physics = [&](int d) { rig.bus.temp[4] = d == 3 ? 45 : 30; };
        EXPECT_EQ(rig.run({3}), kDiagAborted);
        EXPECT_EQ(rig.faults(),
                  QStringList{QStringLiteral(">>> Verdrahtungsfehler! Es reagierte Z4 mit Erhöhung von 30°C auf 45°C")});
        EXPECT_EQ(rig.bus.output[3], 0);
    }
}

TEST(DiagnosisRules, NeighbourWithBrokenSensorIsNoWiringFault) {
    Rig rig;
    rig.physics = [&](int d) {
        rig.bus.broken[4] = d == 2;  // breaks as Z2 heats, its reading climbs
        rig.bus.temp[4] = d == 2 ? 60 : 30;
        rig.bus.temp[2] = d == 2 ? 35 : 30;
    };
    EXPECT_EQ(rig.run({2}), kDiagPassed);
    EXPECT_EQ(rig.faults(), QStringList{});
}

TEST(DiagnosisRules, ZoneWhoseOutputZeroIsRefusedStaysOutOfManualModeAndIsNamed) {
    Rig rig;
    rig.bus.output[2] = 30;
    rig.bus.refuseZero[2] = true;
    rig.tc.answer({QStringLiteral("2")});  // "Ignorieren"
    rig.physics = [&](int d) { rig.bus.temp[1] = d == 1 ? 36 : 30; };
    EXPECT_EQ(rig.run({1, 2}), kDiagPassed);
    for (const auto& w : rig.bus.writes) EXPECT_FALSE(w.zone == 2 && w.code == 2001 && w.value == 1);
    EXPECT_EQ(rig.faults(), QStringList{QStringLiteral("Z2 wird nicht getestet: sein Stellgrad konnte nicht auf 0 gesetzt werden.")});
    EXPECT_EQ(rig.bus.mode[2], 2);
}

TEST(DiagnosisRules, EndTimesFollowTheMonotonicClockNotTheWallClock) {
    Rig rig;
    // The wall clock jumps back a day at every yield: the run still ends.
    rig.physics = [&](int) { rig.tc.clock.set(rig.tc.clock.now().addDays(-1)); };
    EXPECT_EQ(rig.run({1}), kDiagPassed);
    EXPECT_EQ(rig.faults().size(), 1);  // Z1 never rose
}

}  // namespace

namespace {

TEST(DiagnosisRules, SensorBreakingDuringTriacCheckStaysInTheProtocolAndOutOfTheWatch) {
    Rig rig;
    rig.bus.hideBroken = true;
    rig.physics = [&](int d) {
        rig.bus.broken[2] = true;  // breaks at once: no reading, status 0x8
        rig.bus.temp[1] = d == 1 ? 36 : 30;
        rig.bus.temp[2] = 90;      // what a broken input would show if it were read
    };
    EXPECT_EQ(rig.run({1, 2}), kDiagPassed);
    EXPECT_EQ(rig.faults(), QStringList{QStringLiteral("Z2 hat Fühlerbruch und wird von der Diagnose ausgeschlossen.")});
    EXPECT_EQ(rig.diag.protocol().state().faults, 1);
}

}  // namespace

namespace {

TEST(DiagnosisRules, PowerModeThatCannotBeReadIsLeftAloneOneThatCanIsZeroedAndSetBack) {
    for (const QByteArray& reply : {QByteArray("garbled"), QByteArray("G01=0001cc\x03")}) {
        Rig rig;
        rig.bus.apmReply = reply;
        rig.physics = [&](int d) { rig.bus.temp[1] = d == 1 ? 36 : 30; };
        EXPECT_EQ(rig.run({1}), kDiagPassed);
        if (reply == "garbled") EXPECT_EQ(rig.bus.globals, QStringList{});
        else EXPECT_EQ(rig.bus.globals, (QStringList{QStringLiteral("?APM=0"), QStringLiteral("?APM=1")}));
    }
}

TEST(DiagnosisRules, RefusedTripIsRetriedAndTheLimitGoesBackOnlyAfterTheOperatorConfirms) {
    Rig rig;
    rig.bus.hiwRefusals = 1;
    rig.physics = [&](int) { rig.bus.temp[3] = 40; };  // heats without being driven
    rig.tc.answer({QStringLiteral("1"), QStringLiteral("1")});  // "Wiederholen", then "Hauptschütz ist aus"
    EXPECT_EQ(rig.run({1, 2, 3, 4}), kDiagEmergencyStop);
    EXPECT_EQ(rig.bus.globals, (QStringList{QStringLiteral("?APM=0"), QStringLiteral("?HIW=0040"), QStringLiteral("?HIW=0040"),
                                            QStringLiteral("?HIW=0450"), QStringLiteral("?APM=1")}));
    const QStringList t = rig.tc.transcript();
    const auto at = [&](const QString& text) {
        for (int i = 0; i < t.size(); ++i)
            if (t[i].contains(text)) return i;
        return -1;
    };
    EXPECT_GE(at(QStringLiteral("ZEV-Hauptschütz konnte nicht abgeschaltet werden.")), 0);
    EXPECT_GT(at(QStringLiteral("Bitte prüfen Sie, dass das Hauptschütz aus ist.")),
              at(QStringLiteral("ZEV-Hauptschütz konnte nicht abgeschaltet werden.")));
}

}  // namespace

namespace {

TEST(DiagnosisRules, StopWhileAZoneHeatsSetsItsOutputToZeroBeforeAnythingIsRestored) {
    Rig rig;
    rig.physics = [&](int d) {
        if (d == 2) rig.diag.stop();
    };
    EXPECT_EQ(rig.run({1, 2, 3}), kDiagStopped);
    EXPECT_EQ(rig.bus.output[2], 0);
    EXPECT_EQ(rig.bus.mode[2], 2);
    // After Z2 was driven at 50 %, its first write is the output 0.
    std::size_t heated = 0;
    for (std::size_t i = 0; i < rig.bus.writes.size(); ++i)
        if (rig.bus.writes[i].zone == 2 && rig.bus.writes[i].code == 3000 && rig.bus.writes[i].value == 50) heated = i;
    ASSERT_GT(heated, 0u);
    std::size_t zero = 0, firstRestore = 0;
    for (std::size_t i = heated + 1; i < rig.bus.writes.size(); ++i) {
        const auto& w = rig.bus.writes[i];
        if (!zero && w.zone == 2 && w.code == 3000 && w.value == 0) zero = i;
        if (!firstRestore && w.code == 2001) firstRestore = i;
    }
    ASSERT_GT(zero, 0u);
    ASSERT_GT(firstRestore, 0u);
    EXPECT_LT(zero, firstRestore);
}

}  // namespace
