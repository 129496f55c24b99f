// The port window, the bus statistics and the maintenance command line.
#include "recording_bus.h"
#include "sim_bench.h"

#include "link/forms/bus_statistics_panel.h"
#include "link/identification.h"
#include "link/forms/ports_page.h"
#include "plant/zone_table.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace zev;
using zev::test::RecordingBus;
using zev::test::TestContext;

TEST(BusStatistics, ErrorShareFormats) {
    EXPECT_EQ(errorShareText(100, 0, 1), QStringLiteral("-"));
    EXPECT_EQ(errorShareText(0, 7, 1), QStringLiteral("100 %"));
    EXPECT_EQ(errorShareText(99, 1, 1), QStringLiteral("1,00 %"));
    EXPECT_EQ(errorShareText(2, 1, 2), QStringLiteral("33.33 %"));
}

TEST(MaintenanceCommand, ControlCharactersAreWrittenOut) {
    EXPECT_EQ(replyText(QByteArray("G01=0016A7\x03", 11), 0), QStringLiteral("G01=0016A7{ETX}"));
    EXPECT_EQ(replyText(QByteArray("G01\x06" "3F\x03", 7), 0), QStringLiteral("G01{ACK}"));
    EXPECT_EQ(replyText(QByteArray("G02\x15" "40\x03", 7), 0), QStringLiteral("G02{NAK}"));
    EXPECT_EQ(replyText(QByteArray("G01=0016A7\x03", 11), 2), QStringLiteral("?"));
}

TEST(PortsPage, EntriesNameTheirPort) {
    EXPECT_EQ(PortsPage::portOfEntry(QStringLiteral("COM 3")), 3);
    EXPECT_EQ(PortsPage::portOfEntry(QStringLiteral("COM 12 (belegt)")), 12);
    EXPECT_EQ(PortsPage::portOfEntry(QStringLiteral("Offline")), 0);
}

class PortWindow : public ::testing::Test {
protected:
    void SetUp() override {
        tc.home.write(QStringLiteral("zev.ini"), "[SERIAL]\r\nCOMPORT=1\r\nDIRMODE=-1\r\n");
        bus.availablePorts = {2, 3};
        page = std::make_unique<PortsPage>(*tc.ctx);
    }
    RecordingBus bus;
    TestContext tc{1, &bus};
    std::unique_ptr<PortsPage> page;
};

TEST_F(PortWindow, TheConfiguredPortHeldByTheLibraryIsListedAsUsed) {
    QComboBox* list = page->portList(0);
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Offline"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("COM 2"));
    EXPECT_EQ(list->currentText(), QStringLiteral("COM 1 (belegt)"));
    EXPECT_EQ(page->modeList(0)->currentIndex(), 2);  // -1: the kernel driver
    // A port arriving refreshes the list and keeps the choice.
    bus.availablePorts = {2, 3, 5};
    page->SearchPorts();
    EXPECT_EQ(list->count(), 5);
    EXPECT_EQ(list->currentText(), QStringLiteral("COM 1 (belegt)"));
}

TEST_F(PortWindow, ApplyWithoutAPortSaysSo) {
    page->portList(0)->setCurrentIndex(0);
    tc.answer({QStringLiteral("2")});
    page->cmdSetPortSettings_Click();
    EXPECT_TRUE(tc.lastNotice().startsWith(QStringLiteral("NOTICE Kein COM-Port ausgewählt.")));
    EXPECT_EQ(bus.count(QStringLiteral("SetMasterPort")), 0);
}

TEST_F(PortWindow, AFailedMasterPortGoesOfflineWithTheModesText) {
    tc.ctx->link->SetOnlineBetrieb(true);
    bus.portOpens = false;
    page->portList(0)->setCurrentIndex(1);  // COM 2
    page->modeList(0)->setCurrentIndex(1);  // Bluetooth
    tc.answer({QStringLiteral("2")});
    page->cmdSetPortSettings_Click();
    EXPECT_FALSE(tc.ctx->link->Online());
    EXPECT_EQ(bus.count(QStringLiteral("SetOnline")), 27);
    EXPECT_TRUE(tc.lastNotice().startsWith(
        QStringLiteral("NOTICE Initialisierung des Bluetooh's fehlgeschlagen.\\nZEV CONTROL jetzt OFFLINE")));
    EXPECT_TRUE(tc.home.read(QStringLiteral("zev.ini")).contains("COMPORT=1"));  // not stored
    EXPECT_EQ(page->modeLabel()->text(), QStringLiteral(" Offline-Modus "));
}

TEST_F(PortWindow, OnlineCommandWithAPortThatCannotOpenChangesNothing) {
    bus.portOpens = false;
    page->portList(0)->setCurrentIndex(1);
    tc.answer({QStringLiteral("2")});
    page->cmdOnlineMode_Click();
    EXPECT_EQ(tc.transcript().size(), 1);
    EXPECT_TRUE(tc.lastNotice().startsWith(QStringLiteral("NOTICE Die RS485-Schnittstelle konnte nicht initialisiert werden.")));
    EXPECT_FALSE(tc.ctx->link->Online());
    EXPECT_EQ(bus.count(QStringLiteral("FileLogging")), 0);  // no restart of the link
}

TEST_F(PortWindow, SlavePortIsOpenedAndStored) {
    page->tabs()->setCurrentIndex(1);
    page->portList(1)->setCurrentIndex(2);  // COM 3
    page->firstAddressList()->setCurrentIndex(4);
    tc.answer({QStringLiteral("2")});
    page->cmdSetPortSettings_Click();
    EXPECT_EQ(bus.count(QStringLiteral("SetSlavePort 3 0 9600 200 2 5")), 1);
    EXPECT_TRUE(tc.lastNotice().startsWith(QStringLiteral("NOTICE Slaveport erfolgreich neu konfiguriert!")));
    EXPECT_TRUE(tc.home.read(QStringLiteral("zev.ini")).contains("[SERIAL_2]\r\nCOMPORT=3"));
    EXPECT_TRUE(tc.home.read(QStringLiteral("zev.ini")).contains("MASTERADR=5"));
}

TEST(BusStatisticsPanel, CountsTelegramsAndSendsRawCommandsAtLevelFour) {
    TestContext tc;
    zevsim::InProcessBus bus(zev::test::controllers({16, 8}));
    tc.ctx->link->SetOnlineBetrieb(true);
    tc.ctx->plant.ControllerCount = 2;
    bus.startScan();
    BusStatisticsPanel panel(*tc.ctx);
    panel.timBusStatistic_Timer();
    ASSERT_EQ(panel.table()->rowCount(), 2);
    EXPECT_GT(panel.table()->item(0, 1)->text().toInt(), 0);
    EXPECT_EQ(panel.table()->item(0, 3)->text(), QStringLiteral("-"));
    bus.plant().inject({zevsim::FaultKind::ControllerSilent, 2});
    ASSERT_TRUE(bus.waitForScan());
    ASSERT_TRUE(bus.waitForScan());
    panel.timBusStatistic_Timer();
    EXPECT_GT(panel.table()->item(1, 2)->text().toInt(), 0);

    tc.ctx->users.loadLevelNames();
    tc.ctx->users.loadPasswords();
    EXPECT_FALSE(panel.terminal()->isVisibleTo(&panel));
    tc.answer({QStringLiteral("2"), QStringLiteral("harbour")});
    panel.commandLine()->setText(QStringLiteral("G01?KAN="));
    panel.doSendUserCmd();
    EXPECT_TRUE(panel.terminal()->isVisibleTo(&panel));
    EXPECT_TRUE(panel.reply()->text().startsWith(QStringLiteral("G01=0016")));
    EXPECT_TRUE(panel.reply()->text().endsWith(QStringLiteral("{ETX}")));
}
