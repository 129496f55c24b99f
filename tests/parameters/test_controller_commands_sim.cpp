// Commands to whole controllers on the simulator: only master controllers get
// them, each is recorded once per controller, and without a driver the global
// parameters say so and send nothing.
#include "parameter_fixture.h"

#include "parameters/controller_commands.h"

namespace zev::test {
namespace {

std::vector<zevsim::ControllerConfig> cabinets() {
    auto c = controllers({4, 4, 4});
    c[1].slave = true;  // controller 2 belongs to the cabinet of controller 1
    return c;
}

class ControllerCommandsSim : public ParameterSimTest {
protected:
    ControllerCommandsSim() : ParameterSimTest(cabinets()) {}
    QStringList controllerTelegrams() { return takeTelegrams().filter(QRegularExpression(QStringLiteral("^G0\\d[?X]"))); }
    ControllerCommands commands{ctx(), record};
};

TEST_F(ControllerCommandsSim, OutputsRestartAndFactorySettingsGoToTheMastersOnly) {
    ASSERT_EQ(masterControllers(ctx()), (std::vector<int>{1, 3}));
    takeTelegrams();
    ctx().plant.OutputsOn = true;
    commands.toggleOutputs();
    EXPECT_FALSE(ctx().plant.OutputsOn);
    EXPECT_EQ(controllerTelegrams(), (QStringList{"G01?ENA=0000", "G03?ENA=0000"}));
    EXPECT_FALSE(bus.plant().outputsOn(2));

    t.answer({QStringLiteral("2")});  // "Nein": nothing is sent
    commands.restart();
    EXPECT_TRUE(controllerTelegrams().isEmpty());
    t.answer({QStringLiteral("1")});
    commands.restart();
    EXPECT_EQ(controllerTelegrams(), (QStringList{"G01?ENA=0001", "G01XRES=", "G03?ENA=0001", "G03XRES="}));
    EXPECT_TRUE(bus.plant().outputsOn(2));

    ASSERT_EQ(write(1, 2, 40).accepted(), true);  // Xp away from its default
    takeTelegrams();
    t.answer({QStringLiteral("1")});
    EXPECT_TRUE(commands.factorySettings());
    EXPECT_EQ(controllerTelegrams(), (QStringList{"G01XSTD=", "G03XSTD="}));
    EXPECT_EQ(bus.plant().zoneParameter(1, 1, 2).value_or(-1), 12);

    QStringList rows;
    for (const auto& r : records())
        if (r.quelle.startsWith(QStringLiteral("Regler"))) rows << r.quelle + QLatin1Char('/') + r.adresse + QLatin1Char(' ') + r.meldung;
    EXPECT_EQ(rows, (QStringList{"Regler 1/1 Ausgänge aus (ANZEIGEN)", "Regler 3/3 Ausgänge aus (ANZEIGEN)",
                                 "Regler 1/1 Neustart (ANZEIGEN)", "Regler 3/3 Neustart (ANZEIGEN)",
                                 "Regler 1/1 Werkseinstellungen geladen (ANZEIGEN)",
                                 "Regler 3/3 Werkseinstellungen geladen (ANZEIGEN)"}));
}

TEST_F(ControllerCommandsSim, GlobalParametersWithoutADriverSaySoAndSendNothing) {
    ctx().driver.DriverLoaded = false;
    takeTelegrams();
    t.answer({QStringLiteral("2")});
    EXPECT_TRUE(commands.editGlobal(0).empty());
    EXPECT_TRUE(t.lastNotice().contains(QStringLiteral("Kein Treiber geladen")));
    EXPECT_TRUE(takeTelegrams().isEmpty());
}

TEST_F(ControllerCommandsSim, AGlobalParameterIsWrittenAsFourDigitsToEachMaster) {
    int hiw = -1;
    for (int g = 0; g < static_cast<int>(ctx().driver.GlobalParameters.size()); ++g)
        if (ctx().driver.GlobalParameters[static_cast<std::size_t>(g)].Code == QStringLiteral("?HIW")) hiw = g;
    ASSERT_GE(hiw, 0);
    takeTelegrams();
    t.answer({QStringLiteral("45")});
    const auto cells = commands.editGlobal(hiw);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_TRUE(cells[0].acknowledged && cells[1].acknowledged);
    EXPECT_EQ(controllerTelegrams(), (QStringList{"G01?HIW=0045", "G03?HIW=0045"}));
    EXPECT_EQ(ctx().driver.GlobalParameters[static_cast<std::size_t>(hiw)].Value, 45);
    EXPECT_EQ(fourDigits(-7), QStringLiteral("-0007"));
}

}  // namespace
}  // namespace zev::test
