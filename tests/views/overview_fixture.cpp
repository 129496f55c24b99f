#include "overview_fixture.h"

#include "tools/groups.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

namespace zev::test {

void OverviewFixture::fillGroups() {
    for (int g = 0; g <= kGroupCount; ++g) {
        GroupRecord& r = ctx.tool.Groups[static_cast<std::size_t>(g)];
        r.Name = g == 0 ? QStringLiteral("GRP_0") : QStringLiteral("Gruppe %1").arg(g);
        r.Color = defaultGroupColour(g);
        r.TextColor = GetContrast(r.Color);
        r.Use = g != 0;
    }
}

void OverviewFixture::fillZones(int n) {
    fillGroups();
    ctx.plant.ZoneCount = n;
    ctx.link->SetOnlineBetrieb(true);
    for (int z = 1; z <= kMaxZones; ++z) {
        ZoneRecord& r = zone(z);
        r = ZoneRecord{};
        if (z > n) continue;
        r.BusAddress = static_cast<std::uint8_t>((z - 1) / 15 + 1);
        r.Channel = static_cast<std::uint8_t>((z - 1) % 15 + 1);
        r.Name = QStringLiteral("ZONE %1").arg(z, 3, 10, QLatin1Char('0'));
        r.Group = static_cast<std::uint8_t>((z - 1) % 9);
        r.Mode = 2;
        r.Setpoint = 200;
        r.ActualValue = 198;
        r.OutputRate = 35;
        r.Current = 2.5F;
        r.CurrentText = QStringLiteral("2.5");
        r.StatusWord = 0;
    }
}

}  // namespace zev::test
