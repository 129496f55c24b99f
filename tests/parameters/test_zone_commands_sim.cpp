// The direct commands on the simulator: what reaches the controllers, counted
// telegram by telegram, and what is recorded.
#include "parameter_fixture.h"

#include "parameters/boost.h"
#include "parameters/zone_input_commands.h"

#include <QRegularExpression>

namespace zev::test {
namespace {

// The zone writes among the telegrams, as "aa/cc/kind=value".
QStringList writes(const QStringList& telegrams) {
    static const QRegularExpression re(QStringLiteral("G(\\d\\d)K(\\d\\d)([WMTQYP]\\d*)=(-?\\d+)"));
    QStringList out;
    for (const QString& t : telegrams) {
        const auto m = re.match(t);
        if (m.hasMatch())
            out << m.captured(1) + QLatin1Char('/') + m.captured(2) + QLatin1Char('/') + m.captured(3) + QLatin1Char('=') +
                       QString::number(m.captured(4).toInt());
    }
    return out;
}

class ZoneCommandsSim : public ParameterSimTest {
protected:
    ZoneInputCommands commands{ctx(), feedback, record};
};

TEST_F(ZoneCommandsSim, RelativeEntryAddsToEachZoneAndSendsOnlyWhatFits) {
    // Zones 1..4 of controller 1 at 200, 210, 220, 698; controller 2 goes silent,
    // so its zone 5 has no current setpoint.
    const int start[] = {200, 210, 220, 698};
    ASSERT_EQ(write(4, 10, 999).accepted(), true);  // the controller's own setpoint limit
    for (int z = 1; z <= 4; ++z) ASSERT_EQ(write(z, ValueCode::Setpoint, start[z - 1]).accepted(), true);
    ASSERT_TRUE(bus.plant().inject({zevsim::FaultKind::ControllerSilent, 2}));
    ASSERT_TRUE(bus.waitForScan());
    takeTelegrams();
    t.answer({QStringLiteral("+5"), QStringLiteral("2")});  // the entry, then "OK" under the list

    commands.enterValue(zonesSelected({1, 2, 3, 4, 5}), ValueCode::Setpoint, QStringLiteral("Gruppe 1"));

    EXPECT_EQ(plantSetpoint(1), 205);
    EXPECT_EQ(plantSetpoint(2), 215);
    EXPECT_EQ(plantSetpoint(3), 225);
    EXPECT_EQ(plantSetpoint(4), 698);  // 703 leaves the setpoint range
    EXPECT_EQ(writes(takeTelegrams()), (QStringList{"01/01/W=205", "01/02/W=215", "01/03/W=225"}));
    const QString notice = t.lastNotice();
    EXPECT_TRUE(notice.contains(ctx().plant.zone(4).Name + QStringLiteral(" nicht gesetzt. (außerhalb des Bereichs)")))
        << notice.toStdString();
    EXPECT_TRUE(notice.contains(ctx().plant.zone(5).Name + QStringLiteral(" nicht gesetzt. (Wert unbekannt)")))
        << notice.toStdString();
    EXPECT_TRUE(t.transcript().join('\n').contains(QStringLiteral("Sollwert für Gruppe 1 [0 ... 700]")));
}

TEST_F(ZoneCommandsSim, ManualModeNeverReachesAMonitorZone) {
    // Zone 2 is a monitor zone; zone 3 too, and its status word is unknown.
    for (int z : {2, 3}) ASSERT_EQ(write(z, ctx().driver.MonitorZoneParam, 1).accepted(), true);
    ASSERT_TRUE(ctx().plant.zone(2).ModeFlag);
    ctx().plant.zone(3).StatusWord = kNoValue;
    takeTelegrams();

    commands.setMode(zonesSelected({1, 2, 3, 4}), 1);
    EXPECT_EQ(writes(takeTelegrams()), (QStringList{"01/01/M=1", "01/04/M=1"}));
    EXPECT_EQ(write(2, ValueCode::Mode, 1).refusal, Refusal::MonitorZone);
    EXPECT_TRUE(takeTelegrams().isEmpty());

    // Control mode does reach them: the unknown one and the one whose mode differs.
    ctx().plant.zone(2).Mode = 0;
    commands.setMode(zonesSelected({2, 3}), 2);
    EXPECT_EQ(writes(takeTelegrams()), (QStringList{"01/02/M=2", "01/03/M=2"}));
}

TEST_F(ZoneCommandsSim, ARefusedWriteIsRetriedOnlyForTheZonesThatFailed) {
    // Controller 2 stops answering mid-command; it is back before the retry.
    ASSERT_TRUE(bus.plant().inject({zevsim::FaultKind::ControllerSilent, 2}));
    int written = 0;
    t.pump.hook = [&] {
        if (++written == 8) bus.plant().clear({zevsim::FaultKind::ControllerSilent, 2});
    };
    takeTelegrams();
    t.answer({QStringLiteral("230"), QStringLiteral("1")});  // the value, then "Erneut versuchen"

    commands.enterValue(zonesSelected({1, 2, 3, 4, 5, 6, 7, 8}), ValueCode::Setpoint, QStringLiteral("Alle"));

    const QStringList sent = writes(takeTelegrams());
    const QStringList controller2{"02/01/W=230", "02/02/W=230", "02/03/W=230", "02/04/W=230"};
    // The first pass: controller 1 once each, controller 2 with the library's tries.
    ASSERT_GE(sent.size(), 12);
    EXPECT_EQ(sent.mid(0, 4), (QStringList{"01/01/W=230", "01/02/W=230", "01/03/W=230", "01/04/W=230"}));
    // The retry: exactly the zones of controller 2, once each.
    EXPECT_EQ(sent.mid(sent.size() - 4), controller2);
    EXPECT_EQ(sent.count(QStringLiteral("01/01/W=230")), 1);
    for (int z = 1; z <= 8; ++z) EXPECT_EQ(plantSetpoint(z), 230) << z;
    const QString list = t.transcript().join('\n');
    EXPECT_TRUE(list.contains(QStringLiteral("Bei der Übertragung sind Fehler aufgetreten")));
    EXPECT_TRUE(list.contains(ctx().plant.zone(5).Name + QStringLiteral(" nicht gesetzt.")));
    EXPECT_FALSE(list.contains(ctx().plant.zone(4).Name + QStringLiteral(" nicht gesetzt.")));
}

TEST_F(ZoneCommandsSim, EachChangeIsRecordedOnceWithOldAndNewValueAndTheLevel) {
    t.answer({QStringLiteral("230")});
    commands.enterValue(zonesSelected({2, 6}), ValueCode::Setpoint, QString());
    commands.setMode(zonesSelected({2}), 0);
    commands.setMode(zonesSelected({2}), 0);  // no change: nothing sent, nothing recorded
    // A refused value (a controller that does not answer) is not recorded.
    ASSERT_TRUE(bus.plant().inject({zevsim::FaultKind::ControllerSilent, 2}));
    t.answer({QStringLiteral("240"), QStringLiteral("2")});
    commands.enterValue(zonesSelected({6}), ValueCode::Setpoint, QString());
    // The reading passes afterwards do not record these changes a second time.
    bus.plant().clear({zevsim::FaultKind::ControllerSilent, 2});
    for (int pass = 0; pass < 3; ++pass) {
        ASSERT_TRUE(bus.waitForScan());
        t.link->readValues();
    }

    const auto rows = records();
    ASSERT_EQ(rows.size(), 3u);
    const QString name2 = ctx().plant.zone(2).Name, name6 = ctx().plant.zone(6).Name;
    EXPECT_EQ(rows[0].typ, 1);
    EXPECT_EQ(rows[0].quelle, name2);
    EXPECT_EQ(rows[0].adresse, QStringLiteral("2"));
    EXPECT_EQ(rows[0].meldung, QStringLiteral("Sollwert 200 °C auf 230 °C (ANZEIGEN)"));
    EXPECT_EQ(rows[1].quelle, name6);
    EXPECT_EQ(rows[1].adresse, QStringLiteral("6"));
    EXPECT_EQ(rows[2].meldung, QStringLiteral("Betriebsart Regelbetrieb auf aus (ANZEIGEN)"));
}

TEST_F(ZoneCommandsSim, AZoneParameterDemandsLevelThreeAndTakesRelativeEntriesWithinItsLimits) {
    ASSERT_TRUE(t.users->loadPasswords());
    takeTelegrams();
    // A read-only parameter asks nothing and sends nothing.
    commands.setParameter(zonesSelected({1, 2}), 11);
    EXPECT_TRUE(t.transcript().filter(QStringLiteral("Passwort")).isEmpty());
    // Refused level: nothing sent.
    t.answer({QStringLiteral("1")});  // "Abbruch" at the level question
    commands.setParameter(zonesSelected({1, 2}), 2);
    EXPECT_TRUE(takeTelegrams().isEmpty());
    // Xp (1..999): zone 2 at 998 cannot take +3.
    ASSERT_EQ(write(2, 2, 998).accepted(), true);
    takeTelegrams();
    t.answer({QStringLiteral("2"), QStringLiteral("58"), QStringLiteral("+3"), QStringLiteral("2")});
    commands.setParameter(zonesSelected({1, 2}), 2);
    EXPECT_EQ(writes(takeTelegrams()), (QStringList{"01/01/P02=15"}));
    EXPECT_EQ(bus.plant().zoneParameter(1, 1, 2).value_or(-1), 15);
    EXPECT_EQ(ctx().driver.ZoneParameters[2].Value[1], 15);
    EXPECT_EQ(bus.plant().zoneParameter(1, 2, 2).value_or(-1), 998);
    EXPECT_TRUE(t.lastNotice().contains(QStringLiteral(" nicht gesetzt. (außerhalb des Bereichs)")));
    EXPECT_EQ(t.users->UserLevel(), 3);
}

TEST_F(ZoneCommandsSim, ALevelThatFallsBackDuringACommandLetsItFinishAndTheNextOneAsksAgain) {
    t.passwords->store(2, QStringLiteral("22"));
    ASSERT_TRUE(t.users->loadPasswords());
    // Two minutes pass with every zone: the login falls back during the command.
    t.pump.hook = [&] {
        t.clock.advance(120.0);
        t.users->poll();
    };
    t.answer({QStringLiteral("2"), QStringLiteral("22")});  // "Login", the level-2 password
    commands.setTuning(zonesSelected({1, 2, 3, 4, 5, 6, 7, 8}), true);
    EXPECT_EQ(t.users->UserLevel(), 0);
    EXPECT_EQ(writes(takeTelegrams()).filter(QStringLiteral("/T=1")).size(), 8);
    int tuningRecords = 0;
    for (const auto& r : records())
        if (r.meldung == QStringLiteral("Tuning ein (OPTIMIERUNG)")) ++tuningRecords;
    EXPECT_EQ(tuningRecords, 8);

    t.pump.hook = nullptr;
    t.answer({QStringLiteral("1")});  // "Abbruch": the next command asks again and sends nothing
    commands.setTuning(zonesSelected({1, 2}), false);
    EXPECT_TRUE(t.lastNotice().contains(QStringLiteral("OPTIMIERUNG-Ebene benötigt.")));
    EXPECT_TRUE(takeTelegrams().isEmpty());
}

TEST_F(ZoneCommandsSim, RestrictedZonesAreListedAndSkipped) {
    // Zones 1 and 2 in a group with locked setpoints, zone 3 a monitor zone.
    ctx().plant.zone(1).Group = ctx().plant.zone(2).Group = 4;
    ctx().tool.Groups[4].Lock_W = true;
    ASSERT_EQ(write(3, ctx().driver.MonitorZoneParam, 1).accepted(), true);
    takeTelegrams();
    const auto sel = zonesSelected({1, 2, 3, 4});

    t.answer({QStringLiteral("1")});  // "Wiederholen": the operator chooses again, nothing is sent
    commands.enterValue(sel, ValueCode::Setpoint, QString());
    const QString name1 = ctx().plant.zone(1).Name, name2 = ctx().plant.zone(2).Name;
    EXPECT_EQ(t.lastNotice(),
              QStringLiteral("NOTICE Folgende Zonen unterliegen besonderen Richtlinien, welche die gewünschte Funktion "
                             "verhindern: \\n%1 Sollwerteingabe blockiert\\n%2 Sollwerteingabe blockiert | Wiederholen | "
                             "Ignorieren |  -> 1")
                  .arg(name1, name2));
    EXPECT_TRUE(takeTelegrams().isEmpty());

    t.answer({QStringLiteral("2"), QStringLiteral("240")});  // "Ignorieren", then the value
    commands.enterValue(sel, ValueCode::Setpoint, QString());
    EXPECT_EQ(writes(takeTelegrams()), (QStringList{"01/03/W=240", "01/04/W=240"}));

    // The output rate: the monitor zone is the restricted one.
    t.answer({QStringLiteral("2"), QStringLiteral("30")});
    commands.enterValue(sel, ValueCode::OutputRate, QString());
    EXPECT_TRUE(t.transcript().join('\n').contains(ctx().plant.zone(3).Name + QStringLiteral(" ist eine Beobachterzone")));
    EXPECT_EQ(writes(takeTelegrams()), (QStringList{"01/01/Y=30", "01/02/Y=30", "01/04/Y=30"}));
}

}  // namespace
}  // namespace zev::test
