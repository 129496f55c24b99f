// The group table as loaded from a tool's SETTINGS.INI (values a hand edit or
// damage left behind) and the configuration commands on it.
#include "test_context.h"

#include "base/settings.h"
#include "tools/active_tool.h"
#include "tools/group_settings.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;

namespace {

const QString kIni = QStringLiteral("TOOLS/STANDARD/SETTINGS.INI");

class Groups : public ::testing::Test {
protected:
    void load() {
        Settings::Batch batch(*tc.settings);
        LoadActiveTool(*tc.ctx);
    }
    void SetUp() override {
        tc.users->loadLevelNames();
        tc.users->loadPasswords();  // the default passwords: every level above 1 is asked for
    }
    void service() {  // the level-4 login, so the commands ask nothing else
        tc.answer({QStringLiteral("harbour")});
        ASSERT_TRUE(tc.users->TryChangeUserLevel(4));
    }
    QByteArray ini() { return tc.home.read(kIni); }
    const GroupRecord& group(int g) { return tc.ctx->tool.Groups[static_cast<std::size_t>(g)]; }
    // Records the notifications in the order they run.
    QList<int> posted() {
        QList<int> seen;
        QObject owner;
        for (int m = 0x401; m <= 0x40A; ++m) tc.hub.subscribe(m, &owner, [&seen, m] { seen << m; });
        QCoreApplication::processEvents();
        return seen;
    }
    TestContext tc;
};

TEST_F(Groups, StoredValuesOutsideTheirRangesLoadAsDefaultsAndTheFileStays) {
    const QByteArray file =
        "[ALLGROUPS]\r\nSTARTTEMP=500\r\nBOOSTTIME=abc\r\n"
        "[GROUP_001]\r\nDIAGTIME=5\r\nDIAGPOWER=0\r\nBOOSTPOWER=301\r\nCOLOR=-1\r\n"
        "[GROUP_002]\r\nDIAGTIME=301\r\nDIAGPOWER=100\r\nBOOSTPOWER=300\r\nCOLOR=16777215\r\n"
        "[GROUP_003]\r\nDIAGTIME=300\r\nDIAGPOWER=7x\r\nBOOSTPOWER=0\r\nCOLOR=16777216\r\nUSE=False\r\n"
        "[ZONE_001]\r\nGROUP=9\r\n[ZONE_002]\r\nGROUP=-1\r\n[ZONE_003]\r\nGROUP=2x\r\n"
        "[ZONE_004]\r\nGROUP=8\r\n[ZONE_005]\r\nGROUP=3\r\n[ZONE_006]\r\nGROUP= 2 \r\n";
    tc.home.write(kIni, file);
    load();
    EXPECT_EQ(group(1).StartTemp, 100);
    EXPECT_EQ(group(1).BoostTime, 120);
    struct Row { int g; int diagTime, diagPower, boostPower; std::uint32_t colour; };
    const Row rows[] = {
        {1, 10, 60, 15, 0xFF8080},     // below 10 s is raised to 10; 0 % and 301 K are outside
        {2, 10, 100, 300, 0xFFFFFF},   // 301 s is outside; the upper ends are inside
        {3, 300, 60, 0, 0x80FF80},     // "7x" is no number; 0 K is inside; colour beyond 24 bits
    };
    for (const Row& r : rows) {
        EXPECT_EQ(group(r.g).DiagTime, r.diagTime) << r.g;
        EXPECT_EQ(group(r.g).DiagPower, r.diagPower) << r.g;
        EXPECT_EQ(group(r.g).BoostPower, r.boostPower) << r.g;
        EXPECT_EQ(group(r.g).Color, r.colour) << r.g;
    }
    const int zoneGroups[] = {0, 0, 0, 8, 0, 2};  // zone 5's group 3 is not in use
    for (int z = 1; z <= 6; ++z) EXPECT_EQ(tc.ctx->plant.zone(z).Group, zoneGroups[z - 1]) << z;
    // Only missing keys were added: every damaged value is still there as it was.
    const QByteArray after = ini();
    for (const char* kept : {"STARTTEMP=500", "BOOSTTIME=abc", "DIAGTIME=5", "BOOSTPOWER=301", "COLOR=-1",
                             "DIAGPOWER=7x", "GROUP=9\r\n", "GROUP=2x", "GROUP=3\r\n"})
        EXPECT_TRUE(after.contains(kept)) << kept;
}

TEST_F(Groups, NameColourUseAndLockAreStoredAndAnnounced) {
    load();
    service();
    GroupSettings s(*tc.ctx);
    posted();
    tc.answer({QStringLiteral("Düse links"), QStringLiteral("#102030")});
    EXPECT_TRUE(s.changeName(3));
    EXPECT_TRUE(s.changeColour(3));
    EXPECT_TRUE(s.toggleUse(3));
    EXPECT_TRUE(s.toggleLock(3));
    EXPECT_EQ(posted(), (QList<int>{0x403, 0x402, 0x404}));
    EXPECT_EQ(group(3).Name, QStringLiteral("Düse links"));
    EXPECT_EQ(group(3).Color, 0x302010u);  // entered red first, kept as the platform value
    EXPECT_EQ(group(3).TextColor, 0xFFFFFFu);
    EXPECT_FALSE(group(3).Use);
    EXPECT_TRUE(group(3).Lock_W);
    EXPECT_TRUE(ini().contains("[GROUP_003]\r\nNAME=D\xFCse links\r\nCOLOR=3153936\r\nUSE=False\r\nLOCK_W=True\r\n"));
    EXPECT_EQ(s.useText(3), QStringLiteral("nein"));
    EXPECT_EQ(s.lockText(3), QStringLiteral("geschützt"));
    EXPECT_EQ(s.lockText(4), QStringLiteral("-"));
    // A cancelled entry and an empty name change nothing.
    tc.answer({QStringLiteral("CANCEL"), QStringLiteral("   ")});
    EXPECT_FALSE(s.changeName(3));
    EXPECT_FALSE(s.changeName(3));
    EXPECT_EQ(group(3).Name, QStringLiteral("Düse links"));
    EXPECT_TRUE(posted().isEmpty());
}

TEST_F(Groups, ARefusedLevelChangesNothing) {
    load();
    const QByteArray before = ini();
    // Level 0: the check offers "Abbruch" and "Login"; the operator cancels each time.
    tc.answer({QStringLiteral("1"), QStringLiteral("1")});
    GroupSettings s(*tc.ctx);
    EXPECT_FALSE(s.toggleUse(1));
    EXPECT_FALSE(s.editSetting(GroupSetting::DiagTime, 1));
    EXPECT_TRUE(group(1).Use);
    EXPECT_EQ(ini(), before);
    EXPECT_TRUE(tc.transcript().join('\n').contains(QStringLiteral("OPTIMIERUNG-Ebene")));
    EXPECT_TRUE(tc.transcript().join('\n').contains(QStringLiteral("KONFIGURATION-Ebene")));
}

TEST_F(Groups, NumericSettingsTakeOnlyTheirRangeAndCommonOnesReachEveryGroup) {
    load();
    service();
    GroupSettings s(*tc.ctx);
    struct Case { GroupSetting setting; const char* range; const char* tooLow; const char* ok; const char* key; };
    const Case cases[] = {
        {GroupSetting::DiagTime, "[10 ... 300]", "9", "250", "DIAGTIME=250"},
        {GroupSetting::DiagPower, "[1 ... 100]", "0", "55", "DIAGPOWER=55"},
        {GroupSetting::BoostPower, "[0 ... 300]", "-1", "40", "BOOSTPOWER=40"},
        {GroupSetting::BoostTime, "[1 ... 999]", "0", "600", "BOOSTTIME=600"},
        {GroupSetting::StartTemp, "[20 ... 120]", "19", "90", "STARTTEMP=90"},
    };
    for (const Case& c : cases) {
        tc.answer({QString::fromLatin1(c.tooLow), QString::fromLatin1(c.ok)});
        EXPECT_FALSE(s.editSetting(c.setting, 5)) << c.key;
        EXPECT_TRUE(s.editSetting(c.setting, 5)) << c.key;
        EXPECT_TRUE(tc.transcript().last().contains(QString::fromLatin1(c.range))) << c.key;
        EXPECT_TRUE(ini().contains(c.key)) << c.key;
    }
    EXPECT_EQ(group(5).DiagTime, 250);
    EXPECT_EQ(group(4).DiagTime, 10);  // one group's value stays its own
    for (int g = 1; g <= 8; ++g) {
        EXPECT_EQ(group(g).BoostTime, 600) << g;
        EXPECT_EQ(group(g).StartTemp, 90) << g;
    }
    EXPECT_EQ(s.settingText(GroupSetting::BoostPower, 5), QStringLiteral("+ 40 K"));
    EXPECT_EQ(s.settingText(GroupSetting::StartTemp, 5), QStringLiteral("< 90 °C"));
    EXPECT_EQ(s.settingText(GroupSetting::DiagTime, 5), QStringLiteral("250 sek."));
    tc.ctx->plant.TemperatureUnit = QStringLiteral("°F");
    tc.answer({QStringLiteral("251")});
    EXPECT_FALSE(s.editSetting(GroupSetting::StartTemp, 1));
    EXPECT_TRUE(tc.transcript().last().contains(QStringLiteral("[70 ... 250]")));
}

TEST_F(Groups, DefaultSettingsResetEveryGroupAndAnnounceNamesColoursUse) {
    tc.home.write(kIni, "[GROUP_002]\r\nNAME=Verteiler\r\nCOLOR=255\r\nUSE=False\r\nLOCK_W=True\r\nDIAGTIME=20\r\n"
                        "[ALLGROUPS]\r\nBOOSTTIME=30\r\n");
    load();
    service();
    posted();
    EXPECT_TRUE(GroupSettings(*tc.ctx).restoreDefaults());
    EXPECT_EQ(posted(), (QList<int>{0x403, 0x402, 0x404}));
    EXPECT_EQ(group(2).Name, QStringLiteral("Gruppe 2"));
    EXPECT_EQ(group(2).Color, 0xFFFF80u);
    EXPECT_TRUE(group(2).Use);
    EXPECT_FALSE(group(2).Lock_W);
    for (int g = 1; g <= 8; ++g) EXPECT_EQ(group(g).DiagTime, 180) << g;
    // Reloading from the file gives the same table.
    load();
    EXPECT_EQ(group(2).Name, QStringLiteral("Gruppe 2"));
    EXPECT_EQ(group(7).DiagTime, 180);
    EXPECT_EQ(group(1).BoostTime, 120);
    EXPECT_TRUE(group(2).Use);
}

}  // namespace
