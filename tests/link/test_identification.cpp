// Identification on the in-process simulator: the search, the zone table, the
// wiring check against the tool, the unit and driver-number check.
#include "sim_bench.h"

#include "link/identification.h"
#include "base/settings.h"
#include "tools/active_tool.h"
#include "plant/zone_table.h"

#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;
using zevsim::ControllerConfig;
using zevsim::InProcessBus;

namespace {

class Identification : public ::testing::Test {
protected:
    void loadTool(const QByteArray& settings = {}) {
        if (!settings.isEmpty()) tc.home.write(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"), settings);
        zev::test::installDrivers(tc);
        Settings::Batch batch(*tc.settings);
        LoadActiveTool(*tc.ctx);
        tc.ctx->link->SetOnlineBetrieb(true);
    }
    QByteArray toolIni() { return tc.home.read(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI")); }
    PlantData& plant() { return tc.ctx->plant; }

    TestContext tc;
};

TEST_F(Identification, TheSearchEndsAtTheFirstAddressWithoutAnswer) {
    InProcessBus bus(zev::test::controllers({16, 8, 8, 8}));
    bus.plant().inject({zevsim::FaultKind::ControllerSilent, 3});
    loadTool();
    tc.answer({QStringLiteral("2")});  // the new wiring: "Ja, weiter"
    IdentifyZEV(*tc.ctx);
    EXPECT_EQ(plant().ControllerCount, 2);
    EXPECT_EQ(plant().ZoneCount, 24);
    EXPECT_EQ(plant().zone(17).BusAddress, 2);
    EXPECT_EQ(plant().zone(17).Channel, 1);
    EXPECT_EQ(plant().zone(25).BusAddress, 0);
    EXPECT_EQ(plant().Controllers[2].Channels, 8);
    EXPECT_EQ(plant().Controllers[2].AZ, 12);
}

TEST_F(Identification, AControllerBeyond270ZonesIsNotTaken) {
    InProcessBus bus(zev::test::controllers({32, 32, 32, 32, 32, 32, 32, 32, 24}));  // 280 zones
    loadTool();
    tc.answer({QStringLiteral("2")});
    IdentifyZEV(*tc.ctx);
    EXPECT_EQ(plant().ZoneCount, 256);
    EXPECT_EQ(plant().ControllerCount, 8);
}

TEST_F(Identification, FirstStartAsksForTheWiringAndStoresItOnlyWhenConfirmed) {
    InProcessBus bus(zev::test::controllers({16, 8}));
    loadTool();
    tc.answer({QStringLiteral("2")});
    IdentifyZEV(*tc.ctx);
    EXPECT_EQ(tc.transcript(), QStringList({QStringLiteral(
        "NOTICE Es wurde ein Regler mit 24 Zonen gefunden. Ist das korrekt? | Nein, neu suchen | Ja, weiter | "
        "Nein, Programm Ende -> 2")}));
    const QByteArray ini = toolIni();
    EXPECT_TRUE(ini.contains("[ZONE_016]\r\nNAME=ZONE 016\r\nGROUP=0\r\n485ADR=1\r\n485ZON=16\r\n"));
    EXPECT_TRUE(ini.contains("[ZONE_024]\r\nNAME=ZONE 024\r\nGROUP=0\r\n485ADR=2\r\n485ZON=8\r\n"));
    EXPECT_TRUE(ini.contains("[ZONE_025]\r\nNAME=ZONE 025\r\nGROUP=0\r\n485ADR=0\r\n485ZON=0\r\n"));

    // A second identification finds what is stored and asks nothing.
    IdentifyZEV(*tc.ctx);
    EXPECT_EQ(tc.transcript().size(), 1);
}

TEST_F(Identification, RefusedWiringIsNotStoredAndEndsTheProgram) {
    InProcessBus bus(zev::test::controllers({16, 8}));
    loadTool();
    const QByteArray before = toolIni();
    tc.answer({QStringLiteral("3")});
    IdentifyZEV(*tc.ctx);
    EXPECT_TRUE(tc.lifecycle.exitRequested());
    EXPECT_EQ(toolIni(), before);
}

TEST_F(Identification, AToolWithMoreZonesThanTheLineNamesTheZonesFound) {
    QByteArray ini;
    for (int z = 1; z <= 24; ++z)
        ini += QStringLiteral("[ZONE_%1]\r\n485ADR=%2\r\n485ZON=%3\r\n")
                   .arg(z, 3, 10, QLatin1Char('0'))
                   .arg(z <= 16 ? 1 : 2)
                   .arg(z <= 16 ? z : z - 16)
                   .toLatin1();
    InProcessBus bus(zev::test::controllers({16}));
    loadTool(ini);
    tc.answer({QStringLiteral("2")});
    IdentifyZEV(*tc.ctx);
    EXPECT_TRUE(tc.lastNotice().startsWith(QStringLiteral("NOTICE Es wurde ein Regler mit 16 Zonen gefunden.")));
    EXPECT_TRUE(toolIni().contains("[ZONE_017]\r\n485ADR=0\r\n485ZON=0"));
}

TEST_F(Identification, NoControllerOffersOfflineAndLeavesTheScanOff) {
    InProcessBus bus(zev::test::controllers({16}));
    bus.plant().inject({zevsim::FaultKind::GarbledReplies, 1});
    loadTool();
    tc.answer({QStringLiteral("2")});
    IdentifyZEV(*tc.ctx);
    EXPECT_TRUE(tc.lastNotice().startsWith(
        QStringLiteral("NOTICE Es wurde kein ZEV-Regelgerät auf Adresse 1 gefunden. Ist das korrekt?")));
    EXPECT_FALSE(tc.link->Online());
    EXPECT_EQ(plant().ZoneCount, 270);
}

TEST_F(Identification, SlavesBelongToThePrecedingMaster) {
    auto configs = zev::test::controllers({8, 8, 8});
    configs[1].slave = true;
    InProcessBus bus(configs);
    loadTool();
    tc.answer({QStringLiteral("2")});
    IdentifyZEV(*tc.ctx);
    EXPECT_EQ(plant().Controllers[1].MasterAddress, 1);
    EXPECT_EQ(plant().Controllers[2].MasterAddress, 1);
    EXPECT_EQ(plant().Controllers[3].MasterAddress, 3);
    EXPECT_EQ(plant().Controllers[1].DeviceType.size(), 9);
}

TEST_F(Identification, UnitsAndDriverNumbersAreChecked) {
    auto configs = zev::test::controllers({8, 8});
    configs[0].fahrenheit = true;
    configs[1].fahrenheit = true;
    configs[1].az = 7;
    InProcessBus bus(configs);
    loadTool();
    tc.answer({QStringLiteral("2"), QStringLiteral("2")});
    IdentifyZEV(*tc.ctx);
    ZEV_ReliabilityCheck(*tc.ctx);
    EXPECT_EQ(plant().TemperatureUnit, QStringLiteral("°F"));
    EXPECT_TRUE(tc.lastNotice().startsWith(QStringLiteral("NOTICE Geräte mit unterschiedlichen AZ-Nummern gefunden!")));
}

TEST_F(Identification, DifferentUnitsEndTheProgramWhenTheOperatorSaysSo) {
    auto configs = zev::test::controllers({8, 8});
    configs[1].fahrenheit = true;
    InProcessBus bus(configs);
    loadTool();
    tc.answer({QStringLiteral("2"), QStringLiteral("2")});
    IdentifyZEV(*tc.ctx);
    ZEV_ReliabilityCheck(*tc.ctx);
    EXPECT_TRUE(tc.lastNotice().startsWith(QStringLiteral("NOTICE Temperatureinheiten unterschiedlich!")));
    EXPECT_TRUE(tc.lifecycle.exitRequested());
}

TEST(IdentificationDriver, EnglishFallsBackToTheLanguageNeutralFile) {
    TestContext tc(2);
    auto configs = zev::test::controllers({8});
    configs[0].az = 7;
    InProcessBus bus(configs);
    zev::test::installDrivers(tc);
    LoadActiveTool(*tc.ctx);
    tc.ctx->link->SetOnlineBetrieb(true);
    tc.answer({QStringLiteral("2")});
    IdentifyZEV(*tc.ctx);
    EXPECT_TRUE(tc.ctx->driver.file.endsWith(QStringLiteral("AZ7.DRV")));
    EXPECT_TRUE(tc.ctx->driver.NoBoost);
}

TEST(IdentificationDriver, AMissingDriverLeavesTheProgramWithoutOne) {
    TestContext tc;
    auto configs = zev::test::controllers({8});
    configs[0].az = 99;
    InProcessBus bus(configs);
    zev::test::installDrivers(tc);
    LoadActiveTool(*tc.ctx);
    tc.ctx->link->SetOnlineBetrieb(true);
    tc.answer({QStringLiteral("2"), QStringLiteral("2")});  // "Weiter, ohne Treiber", then the wiring
    IdentifyZEV(*tc.ctx);
    EXPECT_TRUE(tc.transcript().first().startsWith(
        QStringLiteral("NOTICE Es wurde keine passende Treiberdatei für AZ99 gefunden.")));
    EXPECT_FALSE(tc.ctx->driver.DriverLoaded);
}

}  // namespace
