// The overview on the in-process simulator: identification, values taken in
// through myGetValue, faults injected into the plant.
#include "overview_fixture.h"
#include "sim_bench.h"

#include "link/zone_commands.h"
#include "link/zone_values.h"
#include "views/detail_panel.h"
#include "views/deviation_bar.h"
#include "widgets/display_rules.h"
#include "views/face_plate.h"
#include "views/overview_view.h"
#include "views/total_panel.h"
#include "views/zone_tile.h"
#include "plant/zone_table.h"

#include <QScrollBar>
#include <QTabBar>

namespace zev::test {
namespace {

using zevsim::FaultKind;

class OverviewOnSimulator : public OverviewFixture {
protected:
    void identify(zevsim::InProcessBus& bus) { ASSERT_TRUE(identifyAndHeat(tc, bus)); }
    void scan(zevsim::InProcessBus& bus) { ASSERT_TRUE(scanAndRead(ctx, bus)); }
};

TEST_F(OverviewOnSimulator, ZonesInAlarmManualAndTuningAsTheControllersReportThem) {
    zevsim::InProcessBus bus(controllers({16, 8}));
    identify(bus);
    bus.plant().inject({FaultKind::BrokenSensor, 1, 3});
    bus.plant().inject({FaultKind::ShortedSensor, 2, 2});
    ASSERT_TRUE(ctx.link->commands().write(4, ValueCode::Mode, 1, 0).accepted());
    ASSERT_TRUE(ctx.link->commands().write(4, ValueCode::OutputRate, 40, 0).accepted());
    ASSERT_TRUE(ctx.link->commands().write(5, ValueCode::Tuning, 1, 0).accepted());
    bus.advance(2.0);
    scan(bus);

    OverviewView view(ctx);
    view.resize(1024, 640);
    view.show();
    ASSERT_EQ(view.tabOverview()->currentIndex(), OverviewView::kTabTotal);  // 24 zones
    view.tabOverview()->setCurrentIndex(OverviewView::kTabDetail);
    DetailPanel& detail = *view.detailPanel();
    FacePlate* broken = detail.plate(2);  // zone 3
    FacePlate* healthy = detail.plate(0);

    ctx.BlinkPhase = 3;
    view.RefreshValues();
    EXPECT_EQ(broken->dispX2()->text(), "-E-");
    EXPECT_EQ(currentLook(broken->dispX2()).fore, look::red());
    EXPECT_TRUE(currentLook(broken->dispX2()).bold);
    EXPECT_EQ(broken->dispW2()->text(), "220 °C");
    EXPECT_TRUE(broken->picDiff()->span().empty);  // no actual value, no bar
    EXPECT_EQ(healthy->dispX2()->text(), "220 °C");
    EXPECT_FALSE(healthy->picDiff()->span().empty);
    EXPECT_FALSE(healthy->picDiff()->span().alarm);
    EXPECT_EQ(detail.plate(3)->dispW2()->text(), "-P-");
    EXPECT_EQ(currentLook(detail.plate(3)->dispY2()), (LabelLook{"40 %", look::cyan(), look::black(), false}));
    EXPECT_EQ(detail.plate(4)->dispW2()->text(), "Tuning");

    ctx.BlinkPhase = 1;
    view.RefreshValues();
    EXPECT_EQ(broken->dispX2()->text(), "");  // the sensor gives no value to show

    // Zone 18 (address 2, channel 2) on the next page, and in the Total view.
    detail.scrBereich()->setValue(1);
    ctx.BlinkPhase = 3;
    view.RefreshValues();
    EXPECT_EQ(detail.plate(2)->dispX2()->text(), "-S-");
    view.tabOverview()->setCurrentIndex(OverviewView::kTabTotal);
    EXPECT_EQ(view.totalPanel()->tile(17)->dispX1()->text(), "-S-");
    EXPECT_EQ(view.totalPanel()->tile(2)->dispX1()->text(), "-E-");

    // Repaired: the status goes, the value comes back.
    bus.plant().clear({FaultKind::BrokenSensor, 1, 3});
    bus.advance(2.0);
    scan(bus);
    view.RefreshValues();
    EXPECT_TRUE(view.totalPanel()->tile(2)->dispX1()->text().endsWith(" °C"));
    EXPECT_FALSE(currentLook(view.totalPanel()->tile(2)->dispX1()).bold);
}

}  // namespace
}  // namespace zev::test
