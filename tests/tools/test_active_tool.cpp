// Loading the active tool: paths, directories, groups and zones from its
// SETTINGS.INI, with the defaults written on the first load.
#include "test_context.h"

#include "base/settings.h"
#include "tools/active_tool.h"
#include "tools/groups.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;

namespace {

class ActiveTool : public ::testing::Test {
protected:
    void load() {
        Settings::Batch batch(*tc.settings);
        LoadActiveTool(*tc.ctx);
    }
    QByteArray toolIni(const QString& tool = QStringLiteral("STANDARD")) {
        return tc.home.read(QStringLiteral("TOOLS/%1/SETTINGS.INI").arg(tool));
    }
    TestContext tc;
};

TEST_F(ActiveTool, FirstStartCreatesTheStandardToolWithAllKeys) {
    load();
    const ToolData& t = tc.ctx->tool;
    EXPECT_EQ(t.ToolName, QStringLiteral("STANDARD"));
    EXPECT_EQ(t.ToolDir, tc.home.path() + QStringLiteral("/TOOLS/STANDARD/"));
    for (const char* sub : {"LOGFILES", "parameter", "PICS"})
        EXPECT_TRUE(QDir(t.ToolDir + QString::fromLatin1(sub)).exists()) << sub;
    const QByteArray ini = toolIni();
    EXPECT_TRUE(ini.contains("[ZONE_001]\r\nNAME=ZONE 001\r\nGROUP=0\r\n485ADR=0\r\n485ZON=0\r\n"));
    EXPECT_TRUE(ini.contains("[ZONE_270]"));
    EXPECT_TRUE(ini.contains("[GROUP_008]"));
    EXPECT_TRUE(ini.contains("[ALLGROUPS]"));
    EXPECT_EQ(tc.ctx->plant.zone(270).Name, QStringLiteral("ZONE 270"));
    EXPECT_EQ(tc.ctx->plant.zone(1).StatusWord, kNoValue);
}

TEST_F(ActiveTool, GroupsOfANewToolFollowTheStoredLanguage) {
    load();
    const auto& g = tc.ctx->tool.Groups;
    EXPECT_EQ(g[1].Name, QStringLiteral("Gruppe 1"));
    EXPECT_EQ(g[8].Name, QStringLiteral("Gruppe 8"));
    // 0xBBGGRR, as the platform stores colours.
    constexpr std::uint32_t colours[] = {0xFF8080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x80C0FF, 0xC0E0FF, 0xC0FFC0, 0xFFC0C0};
    for (int i = 1; i <= 8; ++i) {
        EXPECT_TRUE(g[static_cast<std::size_t>(i)].Use);
        EXPECT_FALSE(g[static_cast<std::size_t>(i)].Lock_W);
        EXPECT_EQ(g[static_cast<std::size_t>(i)].Color, colours[i - 1]) << i;
    }
    EXPECT_EQ(g[0].Name, QStringLiteral("GRP_0"));
    EXPECT_EQ(g[0].Color, 0xE0E0E0u);
    EXPECT_EQ(g[1].DiagTime, 10);   // "0" is raised to 10
    EXPECT_EQ(g[1].DiagPower, 60);
    EXPECT_EQ(g[1].BoostPower, 15);
    EXPECT_EQ(g[1].StartTemp, 100);
    EXPECT_EQ(g[1].BoostTime, 120);
}

TEST_F(ActiveTool, StoredValuesAreReadAndDamagedOnesFallBack) {
    tc.home.write(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"),
                  "[GROUP_002]\r\nNAME=D\xFC" "se\r\nDIAGTIME=5\r\nUSE=False\r\nCOLOR=255\r\n"
                  "[ZONE_003]\r\nNAME=Verteiler \"links\"\r\nGROUP=2\r\n485ADR=1\r\n485ZON=3\r\n"
                  "[ZONE_004]\r\nGROUP=99\r\n485ADR=abc\r\n");
    load();
    const auto& g = tc.ctx->tool.Groups;
    EXPECT_EQ(g[2].Name, QStringLiteral("Düse"));
    EXPECT_EQ(g[2].DiagTime, 10);
    EXPECT_FALSE(g[2].Use);
    EXPECT_EQ(g[2].TextColor, 0xFFFFFFu);  // white on red
    const ZoneRecord& z3 = tc.ctx->plant.zone(3);
    EXPECT_EQ(z3.Name, QStringLiteral("Verteiler \"links\""));
    EXPECT_EQ(z3.Group, 0);  // its group 2 is not in use; the file keeps the assignment
    EXPECT_TRUE(toolIni().contains("[ZONE_003]\r\nNAME=Verteiler \"links\"\r\nGROUP=2\r\n"));
    EXPECT_EQ(z3.BusAddress, 1);
    EXPECT_EQ(z3.Channel, 3);
    EXPECT_EQ(tc.ctx->plant.zone(4).Group, 0);
    EXPECT_EQ(tc.ctx->plant.zone(4).BusAddress, 0);
}

TEST_F(ActiveTool, ANameThatLeavesTheToolsDirectoryIsNotFollowed) {
    tc.home.write(QStringLiteral("zev.ini"), "[TOOL]\r\nTOOLNAME=../../etc\r\n");
    load();
    EXPECT_EQ(tc.ctx->tool.ToolName, QStringLiteral("STANDARD"));
    EXPECT_TRUE(tc.ctx->tool.ToolDir.startsWith(tc.home.path() + QStringLiteral("/TOOLS/")));
    EXPECT_FALSE(isValidToolName(QStringLiteral("..")));
    EXPECT_FALSE(isValidToolName(QStringLiteral("a/b")));
    EXPECT_FALSE(isValidToolName(QStringLiteral("a\\b")));
    EXPECT_TRUE(isValidToolName(QStringLiteral("WERKZEUG 7")));
}

TEST_F(ActiveTool, SecondLoadChangesNothingOnDisk) {
    load();
    const QByteArray first = toolIni();
    load();
    EXPECT_EQ(toolIni(), first);
}

TEST(GroupContrast, DarkBackgroundsGetWhiteText) {
    EXPECT_EQ(GetContrast(0x000000), 0xFFFFFFu);
    EXPECT_EQ(GetContrast(0xFFFFFF), 0x000000u);
    EXPECT_EQ(GetContrast(0x80FFFF), 0x000000u);  // light yellow
    EXPECT_EQ(GetContrast(0x800000), 0xFFFFFFu);  // dark blue
}

}  // namespace
