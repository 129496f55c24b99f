// The tool change on the simulated line of 270 zones: the identification runs
// only when the new tool's stored wiring does not match the controllers on
// the line.
#include "sim_bench.h"

#include "base/settings.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "tools/active_tool.h"

#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;
using zevsim::InProcessBus;

namespace {

const QString kStar = QStringLiteral("*");

// 18 controllers of 15 zones.
std::vector<zevsim::ControllerConfig> fullLine() {
    return zev::test::controllers({15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15});
}

class ToolChange : public ::testing::Test {
protected:
    void SetUp() override {
        zev::test::installDrivers(tc);
        load(QStringLiteral("STANDARD"));
        tc.answer({QStringLiteral("2")});  // the first start stores the wiring: "Ja, weiter"
        tc.link->start(true);
        ASSERT_EQ(tc.ctx->plant.ZoneCount, 270);
    }
    void load(const QString& tool) {
        Settings::Batch batch(*tc.settings);
        tc.settings->SetIni(QStringLiteral("TOOL"), QStringLiteral("TOOLNAME"), tool, kStar);
        LoadActiveTool(*tc.ctx);
    }
    // Zone z's stored wiring in a tool's settings (as the file holds it).
    QByteArray wiring(const QString& tool, int zone) {
        const QByteArray ini = tc.home.read(QStringLiteral("TOOLS/%1/SETTINGS.INI").arg(tool));
        const QByteArray section = "[ZONE_" + QByteArray::number(zone).rightJustified(3, '0') + "]";
        const qsizetype at = ini.indexOf(section);
        const qsizetype adr = ini.indexOf("485ADR=", at), zon = ini.indexOf("485ZON=", at);
        return ini.mid(adr + 7, ini.indexOf('\r', adr) - adr - 7) + "/" + ini.mid(zon + 7, ini.indexOf('\r', zon) - zon - 7);
    }

    InProcessBus bus{fullLine()};
    TestContext tc;
};

TEST_F(ToolChange, IdentifiesOnlyWhenTheStoredWiringDoesNotMatchTheLine) {
    const QByteArray standard = tc.home.read(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"));
    ASSERT_EQ(wiring(QStringLiteral("STANDARD"), 270), QByteArray("18/15"));
    // Another machine's tool: 270 zones on 9 controllers of 30.
    QByteArray foreign;
    for (int z = 1; z <= 270; ++z)
        foreign += "[ZONE_" + QByteArray::number(z).rightJustified(3, '0') + "]\r\n485ADR=" +
                   QByteArray::number((z - 1) / 30 + 1) + "\r\n485ZON=" + QByteArray::number((z - 1) % 30 + 1) + "\r\n";
    struct Case {
        const char* tool;
        QByteArray settings;  // empty: a new tool
        int silentController;
        bool identifies;
    };
    const std::vector<Case> cases = {
        {"SAME", standard, 0, false},
        {"FOREIGN", foreign, 0, true},
        {"NEW", {}, 0, true},
        // The wiring matches the file, but controller 18 no longer answers.
        {"SAME2", standard, 18, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        const QString name = QLatin1String(c.tool);
        if (!c.settings.isEmpty()) tc.home.write(QStringLiteral("TOOLS/%1/SETTINGS.INI").arg(name), c.settings);
        if (c.silentController) bus.plant().inject({zevsim::FaultKind::ControllerSilent, c.silentController});
        const int before = static_cast<int>(tc.transcript().size());
        if (c.identifies) tc.answer({QStringLiteral("2")});  // "Ja, weiter"; an unexpected question stays unanswered
        tc.link->stop();
        load(name);
        EXPECT_EQ(tc.link->startAfterToolChange(true), c.identifies);
        const QStringList shown = tc.transcript().mid(before);
        EXPECT_EQ(shown.join(QLatin1Char('\n')).contains(QStringLiteral(" Zonen gefunden")), c.identifies) << shown.join(QLatin1Char('\n')).toStdString();
        const int zones = c.silentController ? 255 : 270;
        EXPECT_EQ(tc.ctx->plant.ZoneCount, zones);
        EXPECT_EQ(tc.ctx->plant.zone(zones).BusAddress, zones / 15);
        EXPECT_EQ(tc.ctx->plant.zone(zones).Channel, 15);
        // An identified tool holds the line's wiring afterwards.
        EXPECT_EQ(wiring(name, 31), QByteArray("3/1"));
    }
}

}  // namespace
