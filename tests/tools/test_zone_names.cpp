// Zone names from the group editor: the numbering rule, renaming the marked
// zones (only changed names are stored) and the names/numbers view.
#include "test_context.h"

#include "base/settings.h"
#include "tools/active_tool.h"
#include "tools/zone_names.h"
#include "plant/zone_table.h"

#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;

namespace {

TEST(NumberedNames, FirstRunOfDigitsCountsOnPaddedToTheLastNumber) {
    struct Case { const char* text; int count; QStringList names; };
    const Case cases[] = {
        {"Heißkanal 8", 3, {"Heißkanal 08", "Heißkanal 09", "Heißkanal 10"}},
        {"Düse", 2, {"Düse", "Düse"}},
        {"D7-Seite 3", 2, {"D7-Seite 3", "D8-Seite 3"}},          // only the first run counts
        {"Z007", 3, {"Z7", "Z8", "Z9"}},                         // width of the last number, not of the text
        {"Z098x", 3, {"Z098x", "Z099x", "Z100x"}},
        {"9", 1, {"9"}},
        {"N123456789", 2, {"N123456789", "N123456799"}},         // eight digits are the number, the ninth follows
    };
    for (const Case& c : cases) {
        const QStringList got = numberedNames(QString::fromUtf8(c.text), c.count);
        QStringList want;
        for (const QString& n : c.names) want << n;
        EXPECT_EQ(got, want) << c.text;
    }
}

class ZoneNames : public ::testing::Test {
protected:
    void SetUp() override {
        tc.home.write(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"), "[ZONE_004]\r\nNAME=Hei\xDF" "kanal 09\r\n");
        {
            Settings::Batch batch(*tc.settings);
            LoadActiveTool(*tc.ctx);
        }
        tc.ctx->plant.ZoneCount = 12;
        tc.users->loadLevelNames();
        tc.users->loadPasswords();
        tc.answer({QStringLiteral("harbour")});
        ASSERT_TRUE(tc.users->TryChangeUserLevel(4));
    }
    QByteArray ini() { return tc.home.read(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI")); }
    TestContext tc;
};

TEST_F(ZoneNames, MarkedZonesAreRenamedInZoneOrderAndOnlyChangedNamesStored) {
    for (int z : {11, 3, 4}) tc.ctx->plant.zone(z).Selected = true;
    tc.answer({QStringLiteral("Heißkanal 8")});
    ZoneEditing editing(*tc.ctx);
    EXPECT_TRUE(editing.renameMarkedZones());
    EXPECT_EQ(tc.ctx->plant.zone(3).Name, QStringLiteral("Heißkanal 08"));
    EXPECT_EQ(tc.ctx->plant.zone(4).Name, QStringLiteral("Heißkanal 09"));
    EXPECT_EQ(tc.ctx->plant.zone(11).Name, QStringLiteral("Heißkanal 10"));
    EXPECT_EQ(tc.ctx->plant.zone(5).Name, QStringLiteral("ZONE 005"));
    const QByteArray file = ini();
    EXPECT_TRUE(file.contains("[ZONE_003]\r\nNAME=Hei\xDFkanal 08\r\n"));
    EXPECT_TRUE(file.contains("[ZONE_011]\r\nNAME=Hei\xDFkanal 10\r\n"));
    // Zone 4 had its new name already: its section is where the test put it, unchanged.
    EXPECT_TRUE(file.startsWith("[ZONE_004]\r\nNAME=Hei\xDFkanal 09\r\n"));
}

TEST_F(ZoneNames, NothingMarkedAsksForZonesFirst) {
    tc.answer({QStringLiteral("1")});
    EXPECT_FALSE(ZoneEditing(*tc.ctx).renameMarkedZones());
    EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("Bitte erst die gewünschten Zonen auswählen.")));
}

TEST_F(ZoneNames, NumbersViewIsInMemoryOnlyAndNamesComeBackFromTheFile) {
    const QByteArray before = ini();
    ZoneEditing editing(*tc.ctx);
    editing.showNames(false);
    EXPECT_EQ(tc.ctx->plant.zone(4).Name, QStringLiteral("Zone 004"));
    EXPECT_EQ(tc.ctx->plant.zone(270).Name, QStringLiteral("Zone 270"));
    EXPECT_EQ(ini(), before);
    editing.showNames(true);
    EXPECT_EQ(tc.ctx->plant.zone(4).Name, QStringLiteral("Heißkanal 09"));
    EXPECT_EQ(tc.ctx->plant.zone(12).Name, QStringLiteral("ZONE 012"));
}

TEST_F(ZoneNames, AGroupAssignmentIsStoredAtOnce) {
    ZoneEditing editing(*tc.ctx);
    EXPECT_TRUE(editing.assignGroup(7, 5));
    EXPECT_FALSE(editing.assignGroup(7, 5));  // no change, nothing to announce
    EXPECT_FALSE(editing.assignGroup(7, 9));
    EXPECT_TRUE(ini().contains("[ZONE_007]\r\nNAME=ZONE 007\r\nGROUP=5\r\n"));
    EXPECT_EQ(tc.ctx->plant.zone(7).Group, 5);
}

}  // namespace
